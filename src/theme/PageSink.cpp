#include "theme/PageSink.h"

namespace zefa {

namespace {
constexpr std::size_t kBlockSize = 64 * 1024;
}  // namespace

PageSink::PageSink(std::ostream& out, std::size_t sizeLimit) : m_out(out), m_sizeLimit(sizeLimit) {
    m_buffer.reserve(kBlockSize);
}

void PageSink::write(std::string_view bytes) {
    if (m_overflowed || bytes.size() > m_sizeLimit - m_size) {
        m_overflowed = true;
        return;
    }
    m_size += bytes.size();
    m_buffer.append(bytes);
    if (m_buffer.size() >= kBlockSize) drain();
}

void PageSink::putEach(std::string_view bytes) {
    if (!m_overflowed && bytes.size() > m_sizeLimit - m_size) {
        write(bytes.substr(0, m_sizeLimit - m_size));
        m_overflowed = true;
        return;
    }
    write(bytes);
}

bool PageSink::finish() {
    drain();
    if (m_out) m_out.flush();
    return !m_out.fail();
}

void PageSink::drain() {
    if (m_out) m_out.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
    m_buffer.clear();
}

}  // namespace zefa
