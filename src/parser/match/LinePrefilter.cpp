#include "parser/match/LinePrefilter.h"

#include <algorithm>
#include <limits>
#include <string>

namespace zefa {

namespace {

// Caseless as the row-by-row search compares: ASCII letters only. Every
// occurrence is reported, since one text may be in many lines of a block; a
// single line is scanned with the same database, which saves compiling a
// second one for every log.
constexpr unsigned kTextFlags = HS_FLAG_CASELESS;

struct ScanContext {
    const std::vector<CandidateSet>& slotsOfText;
    CandidateSet& candidates;
};

int onText(unsigned text, unsigned long long, unsigned long long, unsigned, void* context) {
    auto& scan = *static_cast<ScanContext*>(context);
    scan.candidates |= scan.slotsOfText[text];
    return 0;  // go on: the other texts are wanted too
}

hs_database_t* compile(const std::vector<std::string_view>& texts) {
    if (texts.empty()) return nullptr;
    std::vector<const char*> data;
    std::vector<std::size_t> lengths;
    std::vector<unsigned> ids;
    for (std::string_view text : texts) {
        data.push_back(text.data());
        lengths.push_back(text.size());
        ids.push_back(static_cast<unsigned>(ids.size()));
    }
    const std::vector<unsigned> flags(texts.size(), kTextFlags);
    hs_database_t* database = nullptr;
    hs_compile_error_t* error = nullptr;
    if (hs_compile_lit_multi(data.data(), flags.data(), ids.data(), lengths.data(),
                             static_cast<unsigned>(texts.size()), HS_MODE_BLOCK, nullptr, &database,
                             &error) != HS_SUCCESS) {
        hs_free_compile_error(error);
        return nullptr;
    }
    return database;
}

}  // namespace

LinePrefilter::LinePrefilter(std::span<const std::span<const CompiledPattern>> lists) {
    std::vector<std::string_view> texts;
    for (const std::span<const CompiledPattern> list : lists) {
        for (const CompiledPattern& pattern : list) {
            const std::string_view text = pattern.requiredText();
            // A block scan needs every text to lie inside one line.
            if (text.empty() || text.find('\n') != std::string_view::npos) {
                m_always.add(pattern.slot());
                continue;
            }
            const auto id = static_cast<std::size_t>(std::find(texts.begin(), texts.end(), text) -
                                                     texts.begin());
            if (id == texts.size()) {
                texts.push_back(text);
                m_slotsOfText.emplace_back();
            }
            m_slotsOfText[id].add(pattern.slot());
        }
    }
    m_database.reset(compile(texts));
    // Without the database (no memory, a machine the engine does not run
    // on) every pattern is tried, as row by row.
    if (!m_database && !texts.empty()) m_always.fill();
}

LinePrefilter::Scanner::Scanner(const LinePrefilter& prefilter) : m_prefilter(prefilter) {
    hs_scratch_t* scratch = nullptr;
    if (prefilter.m_database &&
        hs_alloc_scratch(prefilter.m_database.get(), &scratch) == HS_SUCCESS) {
        m_scratch.reset(scratch);
    } else if (scratch) {
        hs_free_scratch(scratch);
    }
}

bool LinePrefilter::Scanner::scanWith(std::string_view text, match_event_handler onMatch,
                                      void* context) {
    return m_scratch && text.size() <= std::numeric_limits<unsigned>::max() &&
           hs_scan(m_prefilter.m_database.get(), text.data(), static_cast<unsigned>(text.size()), 0,
                   m_scratch.get(), onMatch, context) == HS_SUCCESS;
}

const CandidateSet& LinePrefilter::Scanner::scan(std::string_view line) {
    m_candidates = m_prefilter.m_always;
    if (!m_prefilter.m_database) return m_candidates;
    ScanContext context{m_prefilter.m_slotsOfText, m_candidates};
    if (!scanWith(line, onText, &context)) m_candidates.fill();
    return m_candidates;
}

// The matches of a block come in the order of their ends. A text holds no
// line feed, so each lies inside one line: a match that ends past the
// current line's feed belongs to a later line, and the lines before it are
// complete.
struct LinePrefilter::Scanner::BlockScan {
    std::string_view block;
    const LinePrefilter& prefilter;
    LineSink& sink;
    CandidateSet& candidates;
    CandidateSet fresh = prefilter.m_always;  // of a line before its first match
    std::size_t lineStart = 0;
    std::size_t lineEnd = block.find('\n');

    void finishLine() {
        sink.takeLine(block.substr(lineStart, lineEnd - lineStart), candidates);
        lineStart = lineEnd + 1;
        lineEnd = block.find('\n', lineStart);
        candidates = fresh;
    }
    static int onMatch(unsigned text, unsigned long long, unsigned long long to, unsigned,
                       void* context) {
        auto& scan = *static_cast<BlockScan*>(context);
        while (to > scan.lineEnd) scan.finishLine();
        scan.candidates |= scan.prefilter.m_slotsOfText[text];
        return 0;
    }
};

void LinePrefilter::Scanner::scanLines(std::string_view block, LineSink& sink) {
    m_candidates = m_prefilter.m_always;
    BlockScan scan{block, m_prefilter, sink, m_candidates};
    // Where the scan fails, the lines it has not finished try every pattern.
    if (!m_prefilter.m_database || !scanWith(block, BlockScan::onMatch, &scan)) {
        scan.fresh.fill();
        m_candidates.fill();
    }
    while (scan.lineEnd != std::string_view::npos) scan.finishLine();
}

}  // namespace zefa
