#include <gtest/gtest.h>

#include <sstream>

#include "theme/HtmlText.h"

namespace zefa {
namespace {

template <typename Emit>
std::string emitted(Emit emit, std::size_t sizeLimit = 1024) {
    std::ostringstream out;
    PageSink sink(out, sizeLimit);
    emit(sink);
    EXPECT_TRUE(sink.finish());
    EXPECT_EQ(sink.overflowed(), sizeLimit < 1024);
    return out.str();
}

std::string text(std::string_view bytes, bool escape) {
    return emitted([&](PageSink& sink) { EmitText(sink, bytes, escape); });
}

TEST(HtmlText, ColourCodesBecomeFontElementsEscapedOrNot) {
    EXPECT_EQ(text("^1Red^7Dog", false),
              "<font class=\"color1\">Red</font><font class=\"color7\">Dog</font>");
    EXPECT_EQ(text("end^5", true), "end<font class=\"color5\"></font>");
    EXPECT_EQ(text("^a^^1x^*y^", true),
              "^a^<font class=\"color1\">x</font><font class=\"colorstar\">y^</font>");
}

TEST(HtmlText, EscapeTableMapsConsoleAndHtmlCharacters) {
    const std::pair<int, std::string_view> rows[] = {
        {1, "["},        {3, "]"},       {2, "-"},        {4, "#"},        {14, "."},
        {21, "|"},       {129, "="},     {134, "v"},      {135, "^"},      {5, "&nbsp;"},
        {160, "&nbsp;"}, {29, "&lt;"},   {'<', "&lt;"},   {127, "&lt;"},   {'>', "&gt;"},
        {141, "&gt;"},   {'&', "&amp;"}, {'"', "&quot;"}, {'\'', "&#39;"}, {200, "\xC8"},
        {146, "\x92"},   {'\n', "\n"},   {'\r', "\r"}};
    for (const auto& [byte, written] : rows) {
        const std::string one(1, static_cast<char>(byte));
        EXPECT_EQ(text(one, true), written) << byte;
        EXPECT_EQ(text(one, false), one) << byte;
    }
}

// A text is plain exactly when it comes out as it went in.
TEST(HtmlText, PlainTextIsTextWrittenAsItIs) {
    for (const std::string_view bytes :
         {"", "Dog 12", "^", "a^", "^x^^", "^1", "a^*b", "<b>", "it's", "\x01", "\xff", "50%"})
        for (const bool escape : {false, true})
            EXPECT_EQ(IsPlainText(bytes, escape), text(bytes, escape) == bytes)
                << bytes << (escape ? " escaped" : "");
}

TEST(HtmlText, NumbersUsePrintfFormatsAndPagesHaveALimit) {
    const auto numbers = [](std::int32_t integer, float decimal) {
        return emitted([=](PageSink& sink) {
            EmitInt(sink, integer);
            EmitDecimal(sink, decimal);
        });
    };
    EXPECT_EQ(numbers(-5, 100.0F), "-5100.00");
    EXPECT_EQ(numbers(123456, 100.0F / 3), "12345633.33");
    EXPECT_EQ(numbers(0, 200.0F / 3), "066.67");
    EXPECT_EQ(emitted([](PageSink& s) { EmitText(s, "^1abc", false); }, 22),
              "<font class=\"color1\">a");
}

}  // namespace
}  // namespace zefa
