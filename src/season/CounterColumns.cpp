#include "season/CounterColumns.h"

#include <cstddef>
#include <span>
#include <vector>

#include "season/Sqlite.h"

namespace zefa::season {

namespace {

// An array as stored: little-endian 32-bit integers, one after the other.
std::vector<std::byte> packIntegers(std::span<const std::int32_t> values) {
    std::vector<std::byte> bytes;
    bytes.reserve(values.size() * 4);
    for (const std::int32_t value : values) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(std::byte(bits >> shift));
    }
    return bytes;
}

// Reads what packIntegers wrote; entries beyond the bytes stay as they are.
void unpackIntegers(std::span<const std::byte> bytes, std::span<std::int32_t> values) {
    for (std::size_t i = 0; i < values.size() && (i + 1) * 4 <= bytes.size(); ++i) {
        std::uint32_t bits = 0;
        for (int b = 3; b >= 0; --b)
            bits = bits << 8 | std::to_integer<std::uint32_t>(bytes[i * 4 + b]);
        values[i] = static_cast<std::int32_t>(bits);
    }
}

}  // namespace

std::string counterColumnDefinitions() {
    std::string definitions;
    forEachCounter([&definitions]<typename Field>(const Field& field) {
        definitions += "  " + std::string(field.name) +
                       (Field::kSingle ? " INTEGER NOT NULL,\n" : " BLOB NOT NULL,\n");
    });
    return definitions;
}

std::string counterColumnNames(std::string_view prefix) {
    std::string names;
    forEachCounter([&](const auto& field) {
        if (!names.empty()) names += ", ";
        names += std::string(prefix) + std::string(field.name);
    });
    return names;
}

std::string counterParameters(int first) {
    std::string parameters;
    int parameter = first;
    forEachCounter([&](const auto&) {
        if (!parameters.empty()) parameters += ", ";
        parameters += "?" + std::to_string(parameter++);
    });
    return parameters;
}

void bindCounters(Statement& statement, int first, const PlayerCounters& counters) {
    int parameter = first;
    forEachCounter([&]<typename Field>(const Field& field) {
        if constexpr (Field::kSingle) {
            statement.bind(parameter++, counters.*field.member);
        } else {
            statement.bindBlob(parameter++, packIntegers(counters.*field.member));
        }
    });
}

void readCounters(const Statement& statement, int first, PlayerCounters& counters) {
    int column = first;
    forEachCounter([&]<typename Field>(const Field& field) {
        if constexpr (Field::kSingle) {
            counters.*field.member = static_cast<std::int32_t>(statement.integer(column++));
        } else {
            unpackIntegers(statement.blob(column++), counters.*field.member);
        }
    });
}

}  // namespace zefa::season
