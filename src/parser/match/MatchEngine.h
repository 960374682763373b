#pragma once

#include <string_view>

namespace zefa {

// How the rows of a table set are tried on a line. All give the same
// classifications and captures; they differ only in speed and in the
// libraries they need. An engine this build lacks reads as the nearest one
// it has (see builtEngine).
enum class MatchEngine {
    Plain,           // every row in turn: a required-text search, then PCRE2 (the reference)
    Prefilter,       // one Vectorscan scan finds the rows that can match; the exact matcher confirms
    PrefilterPcre2,  // the same scan; PCRE2 confirms
    Exact,           // every row in turn: a required-text search, then the exact matcher
};

// How a row found possible is confirmed and its captures taken. Rows
// outside the exact matcher's shape are always confirmed by PCRE2.
enum class RowMatcher { Exact, Pcre2 };

inline constexpr bool kPrefilterBuilt = ZEFA_PREFILTER != 0;
inline constexpr bool kPcre2Built = ZEFA_PCRE2 != 0;

[[nodiscard]] constexpr bool usesPrefilter(MatchEngine engine) {
    return engine == MatchEngine::Prefilter || engine == MatchEngine::PrefilterPcre2;
}
[[nodiscard]] constexpr RowMatcher rowMatcherOf(MatchEngine engine) {
    return engine == MatchEngine::Plain || engine == MatchEngine::PrefilterPcre2
               ? RowMatcher::Pcre2
               : RowMatcher::Exact;
}

// The engine that runs for `wanted` in this build: without Vectorscan rows
// are tried in turn, without PCRE2 the exact matcher confirms.
[[nodiscard]] constexpr MatchEngine builtEngine(MatchEngine wanted) {
    const bool prefilter = kPrefilterBuilt && usesPrefilter(wanted);
    const bool pcre2 = kPcre2Built && rowMatcherOf(wanted) == RowMatcher::Pcre2;
    if (prefilter) return pcre2 ? MatchEngine::PrefilterPcre2 : MatchEngine::Prefilter;
    return pcre2 ? MatchEngine::Plain : MatchEngine::Exact;
}

inline constexpr MatchEngine kDefaultMatchEngine = builtEngine(MatchEngine::Prefilter);

// One line for a program's help: how this build classifies log lines.
inline constexpr std::string_view kMatchEngineDescription =
    kPrefilterBuilt ? "Log lines are classified with the Vectorscan prefilter in front of an exact "
                      "matcher of the message patterns."
                    : "Log lines are classified with an exact matcher of the message patterns "
                      "(built without Vectorscan).";

}  // namespace zefa
