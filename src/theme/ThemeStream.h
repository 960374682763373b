#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace zefa {

// Every tag begins with it: a line without it holds none.
inline constexpr std::string_view kTagStart = "<=";

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
//
// Loops read their body once per item, so each line is looked at once: where
// it ends and whether it may hold a tag are kept for every later read.
class ThemeStream {
public:
    static constexpr std::size_t kInvalidPosition = static_cast<std::size_t>(-1);

    // What handling one line costs besides its bytes.
    static constexpr std::size_t kLineCost = 64;

    ThemeStream(std::string_view text, std::size_t workBudget);

    std::string_view readLine();
    // Whether the line readLine() gave last holds kTagStart.
    [[nodiscard]] bool lineMayHoldTags() const { return m_lineMayHoldTags; }
    [[nodiscard]] std::size_t tell() const { return m_fail ? kInvalidPosition : m_position; }
    void seek(std::size_t position);
    // Seeks to `from` and reads on to `to` at once, as reading the lines in
    // between (the last holding a tag, none the theme's last) would, which
    // cost `cost` of the budget. False, having done nothing, when reading
    // them one by one could end otherwise: at the end of the theme, or of
    // the budget.
    [[nodiscard]] bool skip(std::size_t from, std::size_t to, std::size_t cost);
    [[nodiscard]] std::size_t budgetLeft() const { return m_budgetLeft; }

    [[nodiscard]] bool eof() const { return m_eof; }
    [[nodiscard]] bool fail() const { return m_fail; }

    // Ends the theme for every further read.
    void exhaust();
    // The work budget ran out, or `exhaust` was called.
    [[nodiscard]] bool exhausted() const { return m_exhausted; }

private:
    struct Line {
        std::size_t start = 0;
        std::size_t consumed = 0;  // line end included
        std::string_view text;     // as read: without its line end, cut at a NUL
        bool last = false;         // no line feed after it
        bool mayHoldTags = false;
    };

    [[nodiscard]] Line lineAt(std::size_t position) const;
    // The line at m_position: from the table, or read and added to it when
    // the stream reads on past what it has read before.
    const Line& currentLine();

    std::string_view m_text;
    std::vector<Line> m_lines;  // the lines read so far, in theme order
    std::size_t m_next = 0;     // m_lines' index of the line at m_position, if it holds it
    Line m_unlisted;            // a line at a position that is no line start seen in order
    std::size_t m_position = 0;
    std::size_t m_budgetLeft;
    bool m_lineMayHoldTags = false;
    bool m_eof = false;
    bool m_fail = false;
    bool m_exhausted = false;
};

}  // namespace zefa
