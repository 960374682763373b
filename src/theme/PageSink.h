#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

namespace zefa {

// Collects the bytes of a page and hands them to the stream in large blocks.
// Writes to a failed stream are ignored, and so is everything once the page
// outgrows its size limit; both are reported rather than thrown.
class PageSink {
public:
    PageSink(std::ostream& out, std::size_t sizeLimit);

    void write(std::string_view bytes);
    void put(char byte) { write({&byte, 1}); }
    // The same as put() of each byte in turn: as many as fit are kept.
    void putEach(std::string_view bytes);

    // Hands the rest to the stream and flushes it; false when the stream failed.
    bool finish();
    // A write did not fit within the size limit and was dropped.
    [[nodiscard]] bool overflowed() const { return m_overflowed; }

private:
    void drain();

    std::ostream& m_out;
    std::string m_buffer;
    std::size_t m_sizeLimit;
    std::size_t m_size = 0;  // bytes accepted so far
    bool m_overflowed = false;
};

}  // namespace zefa
