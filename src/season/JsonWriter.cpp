#include "season/JsonWriter.h"

#include <array>
#include <charconv>
#include <nlohmann/json.hpp>

namespace zefa::season {

void JsonWriter::separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (counts_.empty()) return;
    if (counts_.back()++ > 0) out_ += ',';
    out_ += '\n';
    out_.append(2 * counts_.size(), ' ');
}

void JsonWriter::open(char bracket) {
    separate();
    out_ += bracket;
    counts_.push_back(0);
}

void JsonWriter::close(char bracket) {
    const bool empty = counts_.back() == 0;
    counts_.pop_back();
    if (!empty) {
        out_ += '\n';
        out_.append(2 * counts_.size(), ' ');
    }
    out_ += bracket;
}

void JsonWriter::key(std::string_view name) {
    separate();
    quoted(name);
    out_ += ": ";
    afterKey_ = true;
}

void JsonWriter::value(std::int64_t number) {
    separate();
    std::array<char, 24> digits;
    const auto end = std::to_chars(digits.begin(), digits.end(), number).ptr;
    out_.append(digits.begin(), end);
}

void JsonWriter::value(double number) {
    separate();
    out_ += nlohmann::json(number).dump();  // its shortest round trip, as a tree would print it
}

void JsonWriter::text(std::string_view latin1) {
    separate();
    quoted(latin1);
}

// Each byte is the code point of its value, written as UTF-8; quotes,
// backslashes and control characters are escaped as nlohmann::json escapes them.
void JsonWriter::quoted(std::string_view latin1) {
    static constexpr std::string_view kHex = "0123456789abcdef";
    out_ += '"';
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        switch (byte) {
        case '"': out_ += "\\\""; break;
        case '\\': out_ += "\\\\"; break;
        case '\b': out_ += "\\b"; break;
        case '\t': out_ += "\\t"; break;
        case '\n': out_ += "\\n"; break;
        case '\f': out_ += "\\f"; break;
        case '\r': out_ += "\\r"; break;
        default:
            if (byte < 0x20) {
                out_ += "\\u00";
                out_ += kHex[byte >> 4];
                out_ += kHex[byte & 0xF];
            } else if (byte < 0x80) {
                out_ += c;
            } else {
                out_ += static_cast<char>(0xC0 | (byte >> 6));
                out_ += static_cast<char>(0x80 | (byte & 0x3F));
            }
        }
    }
    out_ += '"';
}

}  // namespace zefa::season
