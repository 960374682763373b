#include <gtest/gtest.h>

#include "web/GeneratedPage.h"

namespace zefa::web {
namespace {

GenerationRequest request(std::string log, std::string theme = "<= NUMLINES =>\n") {
    return {.logText = std::move(log), .themeText = std::move(theme)};
}

// What the browser reports in words instead of a page: nothing else comes back.
TEST(BrowserGeneration, InputsThatGiveNoPageAreNamed) {
    const std::string binary = std::string("PK\3\4") + '\0' + "zip";
    std::string nested;
    for (int i = 0; i < 64; ++i) nested = "<= PLAYERLOOP =>\n" + nested + "<= ENDLOOP =>\n";
    const std::string players = "Ann was pummeled by Tom\nBob was pummeled by Tom\n";
    const std::pair<GenerationRequest, std::string> cases[] = {
        {request(""), "The log is empty."},
        {request(binary), "The log is not a text file."},
        {request(players, binary), "The theme is not a text file."},
        {request(players, nested),
         "Cannot write the page: the theme expands into a page beyond the size limit."},
    };
    for (const auto& [input, error] : cases) {
        const GeneratedPage page = generatePage(input);
        EXPECT_EQ(page.error, error);
        EXPECT_TRUE(page.page.empty() && page.json.empty()) << error;
    }
}

// A log cut short by a crash may end in zero bytes; it is still read.
TEST(BrowserGeneration, ZeroBytesAfterTheStartAreLeftToTheReader) {
    std::string log = std::string(5000, 'x') + "\nAnn was chopped to bits by Tom\n";
    log += std::string(100, '\0');
    GenerationRequest input =
        request(log, "<= NUMLINES =>\n<= PLAYERLOOP =>\n<= NAME =>\n<= ENDLOOP =>\n");
    input.fixedTime = 0;
    const GeneratedPage page = generatePage(input);
    EXPECT_EQ(page.error, "");
    EXPECT_EQ(page.gameVersion, 2);
    const std::string nameEnd = "<font class=\"color7\"></font>";  // the game ends names with ^7
    EXPECT_EQ(page.page, "3Ann" + nameEnd + "Tom" + nameEnd);
    EXPECT_NE(page.json.find("\"gameVersion\": 2"), std::string::npos);
}

}  // namespace
}  // namespace zefa::web
