#include "parser/LinePrefilter.h"

#include <algorithm>
#include <limits>
#include <string>

namespace zefa {

namespace {

// Caseless as the row-by-row search compares: ASCII letters only.
constexpr unsigned kTextFlags = HS_FLAG_CASELESS | HS_FLAG_SINGLEMATCH;

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

LinePrefilter::LinePrefilter(std::span<const PatternSet* const> sets) {
    std::vector<std::string_view> texts;
    for (const PatternSet* set : sets) {
        for (const CompiledPattern& pattern : set->all()) {
            const std::string_view text = pattern.requiredText();
            if (text.empty()) {
                always_.add(pattern.slot());
                continue;
            }
            const auto id = static_cast<std::size_t>(std::find(texts.begin(), texts.end(), text) -
                                                     texts.begin());
            if (id == texts.size()) {
                texts.push_back(text);
                slotsOfText_.emplace_back();
            }
            slotsOfText_[id].add(pattern.slot());
        }
    }
    database_.reset(compile(texts));
    // Without a database (no memory, a machine the engine does not run on)
    // every pattern is tried, as row by row.
    if (!database_ && !texts.empty()) always_.fill();
}

LinePrefilter::Scanner::Scanner(const LinePrefilter& prefilter) : prefilter_(prefilter) {
    hs_scratch_t* scratch = nullptr;
    if (prefilter.database_ &&
        hs_alloc_scratch(prefilter.database_.get(), &scratch) == HS_SUCCESS) {
        scratch_.reset(scratch);
    }
}

const CandidateSet& LinePrefilter::Scanner::scan(std::string_view line) {
    candidates_ = prefilter_.always_;
    if (!prefilter_.database_) return candidates_;
    ScanContext context{prefilter_.slotsOfText_, candidates_};
    if (!scratch_ || line.size() > std::numeric_limits<unsigned>::max() ||
        hs_scan(prefilter_.database_.get(), line.data(), static_cast<unsigned>(line.size()), 0,
                scratch_.get(), onText, &context) != HS_SUCCESS) {
        candidates_.fill();
    }
    return candidates_;
}

}  // namespace zefa
