#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "model/Latin1Text.h"
#include "season/JsonWriter.h"

namespace zefa::season {
namespace {

// The export's bytes must not change with the writer: every kind of byte a
// log can hold, empty and nested containers and awkward numbers, written both
// ways.
TEST(JsonWriterTest, WritesWhatNlohmannDumpWritesForTheSameDocument) {
    std::string bytes;
    for (int byte = 0; byte < 256; ++byte) bytes += static_cast<char>(byte);
    const std::vector<double> numbers = {25.0, 8.333333333333334, -0.0, 1e-7, 1.5e300, 0.1};

    nlohmann::ordered_json expected = {{"formatVersion", 1}, {"empty", nlohmann::ordered_json::array()}};
    expected[latin1ToUtf8(bytes)] = latin1ToUtf8(bytes);
    expected["none"] = nlohmann::ordered_json::object();
    expected["numbers"] = numbers;
    expected["nested"] = {{{"a", std::int64_t{-9007199254740993}}}, {{"b", {1, 2}}}};

    std::string text;
    JsonWriter json(text);
    json.beginObject();
    json.member("formatVersion", 1);
    json.member("empty", std::vector<std::int32_t>{});
    json.member(bytes, bytes);
    json.key("none");
    json.beginObject();
    json.endObject();
    json.member("numbers", numbers);
    json.key("nested");
    json.beginArray();
    json.beginObject();
    json.member("a", std::int64_t{-9007199254740993});
    json.endObject();
    json.beginObject();
    json.member("b", std::vector<std::int32_t>{1, 2});
    json.endObject();
    json.endArray();
    json.endObject();

    EXPECT_EQ(text, expected.dump(2));
}

}  // namespace
}  // namespace zefa::season
