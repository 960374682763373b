#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zefa::season {

// Writes JSON straight into a string, laid out byte for byte as
// nlohmann::json's dump(2) lays out the same document: a season's export is
// large, and building it as a tree first cost most of its time.
// Texts are raw bytes read as ISO-8859-1, as in `zefastats --json`.
class JsonWriter {
public:
    explicit JsonWriter(std::string& out) : m_out(out) {}

    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }

    // The name of the next member of the object being written.
    void key(std::string_view name);
    void value(std::int64_t number);
    void value(std::int32_t number) { value(std::int64_t{number}); }
    void value(double number);
    void text(std::string_view latin1);

    // A whole member: key(name) and its value.
    template <typename Value>
    void member(std::string_view name, const Value& value) {
        key(name);
        write(value);
    }

private:
    void write(std::int32_t number) { value(number); }
    void write(std::int64_t number) { value(number); }
    void write(double number) { value(number); }
    void write(std::string_view latin1) { text(latin1); }
    void write(const std::string& latin1) { text(latin1); }
    template <typename Range>
    void write(const Range& numbers) {
        beginArray();
        for (const auto number : numbers) value(number);
        endArray();
    }

    void open(char bracket);
    void close(char bracket);
    // What goes before a value or a member: a comma after the one before it,
    // then its own line; nothing after a member's name.
    void separate();
    void quoted(std::string_view latin1);

    std::string& m_out;
    std::vector<std::int32_t> m_counts;  // items so far in each open container
    bool m_afterKey = false;
};

}  // namespace zefa::season
