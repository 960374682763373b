#include "theme/ThemeStream.h"

#include <algorithm>

namespace zefa {

ThemeStream::ThemeStream(std::string_view text, std::size_t workBudget)
    : m_text(text), m_budgetLeft(workBudget) {}

ThemeStream::Line ThemeStream::lineAt(std::size_t position) const {
    const std::string_view rest = m_text.substr(position);
    const std::size_t lineFeed = rest.find('\n');
    Line line{.start = position,
              .consumed = lineFeed == std::string_view::npos ? rest.size() : lineFeed + 1,
              .text = rest.substr(0, lineFeed),
              .last = lineFeed == std::string_view::npos};
    if (!line.last && line.text.ends_with('\r')) line.text.remove_suffix(1);
    line.text = line.text.substr(0, line.text.find('\0'));
    line.mayHoldTags = line.text.find(kTagStart) != std::string_view::npos;
    return line;
}

const ThemeStream::Line& ThemeStream::currentLine() {
    if (m_next < m_lines.size() && m_lines[m_next].start == m_position) return m_lines[m_next];
    const bool following = m_lines.empty()
                               ? m_position == 0
                               : m_position == m_lines.back().start + m_lines.back().consumed;
    if (!following) {
        m_unlisted = lineAt(m_position);
        m_next = m_lines.size();
        return m_unlisted;
    }
    m_next = m_lines.size();
    return m_lines.emplace_back(lineAt(m_position));
}

std::string_view ThemeStream::readLine() {
    m_lineMayHoldTags = false;
    if (m_eof || m_fail || m_position == m_text.size()) {
        m_eof = m_fail = true;
        return {};
    }
    const Line& line = currentLine();
    if (line.consumed + kLineCost > m_budgetLeft) {
        exhaust();
        return {};
    }
    m_budgetLeft -= line.consumed + kLineCost;
    m_position += line.consumed;
    ++m_next;
    m_eof = line.last;
    m_lineMayHoldTags = line.mayHoldTags;
    return line.text;
}

void ThemeStream::seek(std::size_t position) {
    if (m_fail) return;
    if (position > m_text.size()) {
        m_fail = true;
        return;
    }
    m_position = position;
    // std::lower_bound rather than its ranges form, which the browser build's
    // standard library lacks.
    const auto at =
        std::lower_bound(m_lines.begin(), m_lines.end(), position,
                         [](const Line& line, std::size_t start) { return line.start < start; });
    m_next = static_cast<std::size_t>(at - m_lines.begin());
}

bool ThemeStream::skip(std::size_t from, std::size_t to, std::size_t cost) {
    if (m_eof || m_fail || from > m_text.size() || to > m_text.size() || cost > m_budgetLeft)
        return false;
    seek(to);
    m_budgetLeft -= cost;
    m_lineMayHoldTags = true;
    return true;
}

void ThemeStream::exhaust() { m_exhausted = m_eof = m_fail = true; }

}  // namespace zefa
