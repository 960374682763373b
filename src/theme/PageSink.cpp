#include "theme/PageSink.h"

namespace zefa {

namespace {
constexpr std::size_t kBlockSize = 64 * 1024;
}  // namespace

PageSink::PageSink(std::ostream& out, std::size_t sizeLimit) : out_(out), sizeLimit_(sizeLimit) {
    buffer_.reserve(kBlockSize);
}

void PageSink::write(std::string_view bytes) {
    if (overflowed_ || bytes.size() > sizeLimit_ - size_) {
        overflowed_ = true;
        return;
    }
    size_ += bytes.size();
    buffer_.append(bytes);
    if (buffer_.size() >= kBlockSize) drain();
}

bool PageSink::finish() {
    drain();
    if (out_) out_.flush();
    return !out_.fail();
}

void PageSink::drain() {
    if (out_) out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
}

}  // namespace zefa
