#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace zefa {

// The key under which a raw player name is stored: leading "^3" and "^7"
// codes and a trailing "^7" are dropped, the rest is cut to 27 characters,
// a trailing "^*" is dropped and "^7" appended. Names of fewer than two
// characters after the leading codes are kept as they are.
class NameKey {
public:
    static constexpr std::size_t kMaxSize = 29;

    explicit NameKey(std::string_view raw);
    [[nodiscard]] std::string_view view() const { return {m_chars.data(), m_size}; }

private:
    std::array<char, kMaxSize> m_chars{};
    std::size_t m_size = 0;
};

[[nodiscard]] inline std::string normaliseName(std::string_view raw) {
    return std::string(NameKey(raw).view());
}

// The text without colour codes: a caret and the character after it vanish.
[[nodiscard]] std::string stripColourCodes(std::string_view text);

}  // namespace zefa
