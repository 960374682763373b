#pragma once

#include <string_view>

namespace zefa {

// How the rows of a table set are tried on a line. Both give the same
// classifications and captures; they differ only in speed.
enum class MatchEngine {
    Plain,      // every row in turn: a required-text search, then PCRE2
    Prefilter,  // one Vectorscan scan finds the rows that can match; PCRE2 confirms them
};

// Whether this build has the prefilter; without it Prefilter reads as Plain.
inline constexpr bool kPrefilterBuilt = ZEFA_PREFILTER != 0;
inline constexpr MatchEngine kDefaultMatchEngine =
    kPrefilterBuilt ? MatchEngine::Prefilter : MatchEngine::Plain;

// One line for a program's help: how this build classifies log lines.
inline constexpr std::string_view kMatchEngineDescription =
    kPrefilterBuilt ? "Log lines are classified with the Vectorscan prefilter in front of PCRE2."
                    : "Log lines are classified with PCRE2 alone (built without Vectorscan).";

}  // namespace zefa
