#pragma once

#include <cstddef>
#include <string_view>

namespace zefa {

// A theme held in memory, read line by line the way the page's loops expect
// of a seekable text stream, end-of-file and failure states included:
// - a line ends at a line feed; a carriage return right before it belongs to
//   the line end; a line is cut at its first NUL byte;
// - reading at the end sets end-of-file and failure and yields an empty line;
//   a last line without a line feed sets end-of-file only;
// - once end-of-file is set every read fails, and seeking does not clear it,
//   so loops that rewind after the end of the theme read nothing more;
// - a failed stream ignores seeks and tells an invalid position.
// Every line read is charged against a work budget, its bytes plus a fixed
// share for handling the line; when the budget runs out the stream behaves
// as if the theme ended there, which unwinds all running loops.
class ThemeStream {
public:
    static constexpr std::size_t kInvalidPosition = static_cast<std::size_t>(-1);

    // What handling one line costs besides its bytes.
    static constexpr std::size_t kLineCost = 64;

    ThemeStream(std::string_view text, std::size_t workBudget);

    std::string_view readLine();
    [[nodiscard]] std::size_t tell() const { return m_fail ? kInvalidPosition : m_position; }
    void seek(std::size_t position);

    [[nodiscard]] bool eof() const { return m_eof; }
    [[nodiscard]] bool fail() const { return m_fail; }

    // Ends the theme for every further read.
    void exhaust();
    // The work budget ran out, or `exhaust` was called.
    [[nodiscard]] bool exhausted() const { return m_exhausted; }

private:
    std::string_view m_text;
    std::size_t m_position = 0;
    std::size_t m_budgetLeft;
    bool m_eof = false;
    bool m_fail = false;
    bool m_exhausted = false;
};

}  // namespace zefa
