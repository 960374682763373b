#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "model/NameRules.h"

namespace zefa {
namespace {

TEST(NameRules, NormaliseDropsLeadingCodesCutsAndTerminates) {
    const std::string forty(40, 'n'), a25(25, 'a');
    const std::pair<std::string, std::string> cases[] = {
        {"^3^7Bob^7", "Bob^7"},
        {"^7Bob", "Bob^7"},
        {"bob", "bob^7"},
        {"^7^3Bob", "^3Bob^7"},
        {"Bob^*", "Bob^7"},
        {"x", "x"},
        {"xy", "xy^7"},
        {"^3^7x", "^3^7x"},
        {"", ""},
        {forty, forty.substr(0, 27) + "^7"},
        {a25 + "^*bc", a25 + "^7"},  // the cut leaves a trailing "^*", which goes too
    };
    for (const auto& [raw, key] : cases) EXPECT_EQ(normaliseName(raw), key) << raw;
    EXPECT_EQ(stripColourCodes("^1Al^^pha^7"), "Alpha");
    EXPECT_EQ(stripColourCodes("abc^"), "abc");
}

}  // namespace
}  // namespace zefa
