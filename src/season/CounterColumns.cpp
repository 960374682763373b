#include "season/CounterColumns.h"

#include <cstddef>
#include <span>
#include <vector>

#include "season/PackedIntegers.h"
#include "season/Sqlite.h"

namespace zefa::season {

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
            statement.bindBlob(parameter++, packIntegers<std::int32_t>(counters.*field.member));
        }
    });
}

void readCounters(const Statement& statement, int first, PlayerCounters& counters) {
    int column = first;
    forEachCounter([&]<typename Field>(const Field& field) {
        if constexpr (Field::kSingle) {
            counters.*field.member = static_cast<std::int32_t>(statement.integer(column++));
        } else {
            unpackIntegers<std::int32_t>(statement.blob(column++), counters.*field.member);
        }
    });
}

}  // namespace zefa::season
