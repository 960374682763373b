#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <numeric>
#include <regex>

#include "site/SitePaths.h"
#include "site/SiteText.h"
#include "support/ScratchDir.h"

namespace zefa::cli {
namespace {

namespace fs = std::filesystem;
using test::readFile;

// `zefastats season` on a store of the two example logs.
class SiteCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        season("import {db} " + std::string(ZEFA_EXAMPLES_DIR) + "/beta1h-ctf.log " +
               ZEFA_EXAMPLES_DIR + "/beta2-ctf.log --played-at 2026-03-01T20:00:00Z");
    }
    void season(std::string arguments) {
        arguments.replace(arguments.find("{db}"), 4, (folder / "clan.db").string());
        const std::string command = std::string(ZEFASTATS_BINARY) + " season " + arguments +
                                    " > " + (folder / "out.txt").string();
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    std::string site(const std::string& options = "") {
        season("site {db} -o " + (folder / "site").string() + " " + options);
        return readFile(folder / "out.txt");
    }

    const test::ScratchDir scratch;
    const fs::path& folder = scratch.path();
};

TEST_F(SiteCommandTest, LeaderboardShowsTheExportsNumbers) {
    site("--min-matches 1");
    season("export {db} --json " + (folder / "export.json").string());
    const auto exported = nlohmann::json::parse(readFile(folder / "export.json"));
    EXPECT_EQ(readFile(folder / "site/season.json"), readFile(folder / "export.json"));

    const std::string index = readFile(folder / "site/index.html");
    const std::regex row(
        "<tr><td class=\"num no\">\\d+</td><td><a href=\"([^\"]+)\">.*?</a></td>"
        "<td class=\"num hl\">([^<]*)</td>((?:<td class=\"num\">[^<]*</td>)+)</tr>");
    std::map<std::string, std::string> shown;  // page, numbers
    for (std::sregex_iterator it(index.begin(), index.end(), row), end; it != end; ++it)
        shown[(*it)[1]] = (*it)[2].str() + (*it)[3].str();
    ASSERT_EQ(shown.size(), exported["players"].size());
    for (const auto& player : exported["players"]) {
        const auto cell = [](const auto& value) {
            return "<td class=\"num\">" + nlohmann::json(value).dump() + "</td>";
        };
        const auto defenses = player["defenses"].get<std::vector<int>>();
        const double kd = player["kills"].get<double>() / std::max(1, player["deaths"].get<int>());
        const std::string expected =
            site::decimal(player["rating"]["ordinal"].get<double>(), 2) + cell(player["matches"]) +
            cell(player["kills"]) + cell(player["deaths"]) +
            "<td class=\"num\">" + site::decimal(kd, 2) + "</td>" + cell(player["caps"]) +
            cell(player["c2cs"]) + cell(player["flagSaves"]) +
            cell(std::accumulate(defenses.begin(), defenses.end(), 0)) + cell(player["awardsWon"]);
        EXPECT_EQ(shown[site::playerPagePath(player["key"].get<std::string>())], expected)
            << player["key"];
    }
}

TEST_F(SiteCommandTest, RebuildAfterForgetAndMergeRemovesWhatIsGone) {
    EXPECT_EQ(site(), "31 pages written, 0 kept, 0 removed: " + (folder / "site/index.html").string() + "\n");
    season("merge {db} viper raven");
    season("forget {db} 2");
    const std::string report = site();
    EXPECT_FALSE(fs::exists(folder / "site" / site::matchPagePath(2)));
    EXPECT_FALSE(fs::exists(folder / "site" / site::playerPagePath("viper")));
    EXPECT_TRUE(fs::exists(folder / "site" / site::playerPagePath("raven")));
    const std::size_t left =
        std::distance(fs::directory_iterator(folder / "site/players"), fs::directory_iterator());
    EXPECT_NE(report.find(std::to_string(27 + 1 - left) + " removed"), std::string::npos) << report;
}

}  // namespace
}  // namespace zefa::cli
