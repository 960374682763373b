#pragma once

#include <hs.h>

#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "parser/match/CandidateSet.h"
#include "parser/match/CompiledPattern.h"

namespace zefa {

struct HsDatabaseDeleter {
    void operator()(hs_database_t* database) const { hs_free_database(database); }
};
struct HsScratchDeleter {
    void operator()(hs_scratch_t* scratch) const { hs_free_scratch(scratch); }
};

// Takes the lines of a block one by one, each with its candidates.
class LineSink {
public:
    virtual void takeLine(std::string_view rawLine, const CandidateSet& candidates) = 0;

protected:
    ~LineSink() = default;
};

// Finds in one Vectorscan scan of a line the patterns, of one or more
// pattern lists, whose required text the line holds (caseless): exactly the
// patterns the row-by-row search would go on to run PCRE2 for, since no
// pattern can match without its required text. A pattern with no required
// text is a candidate on every line. The database holds each distinct text
// once, with the slots that need it. Compiled once, then only read.
class LinePrefilter {
public:
    // The patterns' slots name them in the candidates.
    explicit LinePrefilter(std::span<const std::span<const CompiledPattern>> lists);

    // The scratch space one reader scans with, and the candidates of its
    // latest line.
    class Scanner {
    public:
        explicit Scanner(const LinePrefilter& prefilter);
        // Every pattern is a candidate when the scan cannot run.
        const CandidateSet& scan(std::string_view line);
        // One scan of a block of whole lines, each ended by a line feed:
        // calling the engine once per block rather than once per line is
        // what makes short lines cheap. The sink gets every line, without
        // its line feed, in order.
        void scanLines(std::string_view block, LineSink& sink);

    private:
        struct BlockScan;
        [[nodiscard]] bool scanWith(std::string_view text, match_event_handler onMatch,
                                    void* context);

        const LinePrefilter& m_prefilter;
        std::unique_ptr<hs_scratch_t, HsScratchDeleter> m_scratch;
        CandidateSet m_candidates;
    };

private:
    std::unique_ptr<hs_database_t, HsDatabaseDeleter> m_database;
    std::vector<CandidateSet> m_slotsOfText;  // by text id
    CandidateSet m_always;                    // patterns without a required text
};

}  // namespace zefa
