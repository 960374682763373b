#include "theme/ThemeStream.h"

namespace zefa {

ThemeStream::ThemeStream(std::string_view text, std::size_t workBudget)
    : text_(text), budgetLeft_(workBudget) {}

std::string_view ThemeStream::readLine() {
    if (eof_ || fail_ || position_ == text_.size()) {
        eof_ = fail_ = true;
        return {};
    }
    const std::string_view rest = text_.substr(position_);
    const std::size_t lineFeed = rest.find('\n');
    const std::size_t consumed = lineFeed == std::string_view::npos ? rest.size() : lineFeed + 1;
    if (consumed + kLineCost > budgetLeft_) {
        exhaust();
        return {};
    }
    budgetLeft_ -= consumed + kLineCost;
    position_ += consumed;

    std::string_view line = rest.substr(0, lineFeed);
    if (lineFeed == std::string_view::npos) {
        eof_ = true;
    } else if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line.substr(0, line.find('\0'));
}

void ThemeStream::seek(std::size_t position) {
    if (fail_) return;
    if (position > text_.size()) {
        fail_ = true;
        return;
    }
    position_ = position;
}

void ThemeStream::exhaust() { exhausted_ = eof_ = fail_ = true; }

}  // namespace zefa
