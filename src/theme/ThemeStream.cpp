#include "theme/ThemeStream.h"

namespace zefa {

ThemeStream::ThemeStream(std::string_view text, std::size_t workBudget)
    : m_text(text), m_budgetLeft(workBudget) {}

std::string_view ThemeStream::readLine() {
    if (m_eof || m_fail || m_position == m_text.size()) {
        m_eof = m_fail = true;
        return {};
    }
    const std::string_view rest = m_text.substr(m_position);
    const std::size_t lineFeed = rest.find('\n');
    const std::size_t consumed = lineFeed == std::string_view::npos ? rest.size() : lineFeed + 1;
    if (consumed + kLineCost > m_budgetLeft) {
        exhaust();
        return {};
    }
    m_budgetLeft -= consumed + kLineCost;
    m_position += consumed;

    std::string_view line = rest.substr(0, lineFeed);
    if (lineFeed == std::string_view::npos) {
        m_eof = true;
    } else if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line.substr(0, line.find('\0'));
}

void ThemeStream::seek(std::size_t position) {
    if (m_fail) return;
    if (position > m_text.size()) {
        m_fail = true;
        return;
    }
    m_position = position;
}

void ThemeStream::exhaust() { m_exhausted = m_eof = m_fail = true; }

}  // namespace zefa
