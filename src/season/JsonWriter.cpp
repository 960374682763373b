#include "season/JsonWriter.h"

#include <array>
#include <charconv>
#include <nlohmann/json.hpp>

namespace zefa::season {

void JsonWriter::separate() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_counts.empty()) return;
    if (m_counts.back()++ > 0) m_out += ',';
    m_out += '\n';
    m_out.append(2 * m_counts.size(), ' ');
}

void JsonWriter::open(char bracket) {
    separate();
    m_out += bracket;
    m_counts.push_back(0);
}

void JsonWriter::close(char bracket) {
    const bool empty = m_counts.back() == 0;
    m_counts.pop_back();
    if (!empty) {
        m_out += '\n';
        m_out.append(2 * m_counts.size(), ' ');
    }
    m_out += bracket;
}

void JsonWriter::key(std::string_view name) {
    separate();
    quoted(name);
    m_out += ": ";
    m_afterKey = true;
}

void JsonWriter::value(std::int64_t number) {
    separate();
    std::array<char, 24> digits;
    const auto end = std::to_chars(digits.begin(), digits.end(), number).ptr;
    m_out.append(digits.begin(), end);
}

void JsonWriter::value(double number) {
    separate();
    m_out += nlohmann::json(number).dump();  // its shortest round trip, as a tree would print it
}

void JsonWriter::text(std::string_view latin1) {
    separate();
    quoted(latin1);
}

namespace {

// A byte written as it is: printable ASCII but the quote and the backslash.
constexpr bool plain(unsigned char byte) {
    return byte >= 0x20 && byte < 0x80 && byte != '"' && byte != '\\';
}

}  // namespace

// Each byte is the code point of its value, written as UTF-8; quotes,
// backslashes and control characters are escaped as nlohmann::json escapes them.
// Runs of plain bytes, most of every text, are appended whole.
void JsonWriter::quoted(std::string_view latin1) {
    static constexpr std::string_view kHex = "0123456789abcdef";
    m_out += '"';
    for (std::size_t at = 0; at < latin1.size();) {
        std::size_t end = at;
        while (end < latin1.size() && plain(static_cast<unsigned char>(latin1[end]))) ++end;
        m_out.append(latin1.substr(at, end - at));
        if (end == latin1.size()) break;
        const auto byte = static_cast<unsigned char>(latin1[end]);
        at = end + 1;
        switch (byte) {
        case '"': m_out += "\\\""; break;
        case '\\': m_out += "\\\\"; break;
        case '\b': m_out += "\\b"; break;
        case '\t': m_out += "\\t"; break;
        case '\n': m_out += "\\n"; break;
        case '\f': m_out += "\\f"; break;
        case '\r': m_out += "\\r"; break;
        default:
            if (byte < 0x20) {
                m_out += "\\u00";
                m_out += kHex[byte >> 4];
                m_out += kHex[byte & 0xF];
            } else {
                m_out += static_cast<char>(0xC0 | (byte >> 6));
                m_out += static_cast<char>(0x80 | (byte & 0x3F));
            }
        }
    }
    m_out += '"';
}

}  // namespace zefa::season
