#include "theme/HtmlText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <initializer_list>

namespace zefa {

namespace {

using EscapeTable = std::array<std::string_view, 256>;

// What a byte becomes with escaping on; an empty entry is written unchanged.
// The console's box-drawing and symbol bytes map to look-alikes.
constexpr EscapeTable makeEscapeTable() {
    EscapeTable table{};
    const auto map = [&table](std::string_view replacement, std::initializer_list<int> bytes) {
        for (const int byte : bytes) table[static_cast<std::size_t>(byte)] = replacement;
    };
    map("[", {1, 7, 16, 18, 24, 128, 144});
    map("]", {3, 9, 17, 20, 26, 130, 145});
    map("-", {2, 19, 25, 30});
    map("#", {4, 6, 8, 11, 139});
    map(".", {14, 15, 28, 133, 142, 143});
    map("|", {21, 23, 131});
    map("=", {129});
    map("v", {134});
    map("^", {135});
    map("&nbsp;", {5, 12, 22, 132, 137, 138, 140, 157, 158, 159, 160});
    map("&lt;", {29, '<', 127, 136});
    map("&gt;", {31, '>', 141});
    map("&amp;", {'&'});
    // Names and chat come from other players and may end up inside an attribute.
    map("&quot;", {'"'});
    map("&#39;", {'\''});
    return table;
}

constexpr EscapeTable kEscapeTable = makeEscapeTable();

bool isColourCode(char byte) { return (byte >= '0' && byte <= '9') || byte == '*'; }

// Whether a colour code begins at `i`.
bool codeAt(std::string_view text, std::size_t i) {
    return text[i] == '^' && i + 1 < text.size() && isColourCode(text[i + 1]);
}

}  // namespace

bool IsPlainText(std::string_view text, bool escape) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (codeAt(text, i) ||
            (escape && !kEscapeTable[static_cast<unsigned char>(text[i])].empty()))
            return false;
    return true;
}

void EmitText(PageSink& page, std::string_view text, bool escape) {
    bool fontOpen = false;  // an element never spans two calls
    std::size_t plain = 0;  // the first byte not written yet, of a run written as it is
    // The next byte that may need more than copying: any, when escaping; else
    // only a colour code's caret, which one search finds (a theme's lines).
    const auto next = [text, escape](std::size_t from) {
        return escape ? from : std::min(text.find('^', from), text.size());
    };
    for (std::size_t i = next(0); i < text.size(); i = next(i + 1)) {
        const bool code = codeAt(text, i);
        const std::string_view replacement = kEscapeTable[static_cast<unsigned char>(text[i])];
        if (!code && (!escape || replacement.empty())) continue;
        // Runs of bytes that stay as they are go out at once: most of a page.
        page.putEach(text.substr(plain, i - plain));
        if (code) {
            const char colour = text[++i];
            if (fontOpen) page.write("</font>");
            page.write("<font class=\"color");
            page.write(colour == '*' ? std::string_view("star") : std::string_view(&colour, 1));
            page.write("\">");
            fontOpen = true;
        } else {
            page.write(replacement);
        }
        plain = i + 1;
    }
    page.putEach(text.substr(plain));
    if (fontOpen) page.write("</font>");
}

void EmitInt(PageSink& page, std::int32_t value) {
    std::array<char, 16> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    EmitText(page, {text.data(), static_cast<std::size_t>(end - text.data())}, false);
}

void EmitDecimal(PageSink& page, float value) {
    // Room for the 39 integer digits of the largest float, sign and decimals.
    std::array<char, 64> text{};
#ifdef __EMSCRIPTEN__
    // Its C++ library has no floating-point to_chars; its printf knows no
    // locale but C's, and rounds exactly as to_chars does.
    const auto length = static_cast<std::size_t>(
        std::snprintf(text.data(), text.size(), "%.2f", static_cast<double>(value)));
#else
    const auto length = static_cast<std::size_t>(
        std::to_chars(text.data(), text.data() + text.size(), static_cast<double>(value),
                      std::chars_format::fixed, 2)
            .ptr -
        text.data());
#endif
    EmitText(page, {text.data(), length}, false);
}

}  // namespace zefa
