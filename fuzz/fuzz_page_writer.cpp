// Expands arbitrary bytes as a theme over a small fixed match.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "FeedLog.h"
#include "theme/PageWriter.h"

namespace {

constexpr std::string_view kMatch =
    "^1Ann^7 took the blue flag\n"
    "^1Ann^7 was railed by ^4Bob^7\n"
    "^4Bob^7: ^2got her\n"
    "Cy took the red flag\n"
    "Cy captured the red flag\n"
    "Ann^7 ate ally Dee's rocket\n"
    "Dee cratered\n"
    "Bob^7 defends the red flag\n";

struct Match {
    zefa::MatchStats stats;
    zefa::AwardTable awards;

    Match() {
        const zefa::VersionTables* const tables[] = {&zefa::versionTables(zefa::kGameVersionBeta2)};
        const zefa::Classifier classifier(tables, zefa::kDefaultMatchEngine);
        zefa::MatchStats* const targets[] = {&stats};
        zefa::ParserSet parsers(classifier, targets);
        zefa::feedLog(parsers, kMatch);
        parsers.finishLog();
        awards.ComputeAwards(stats.players);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Match match;
    zefa::MatchStats stats = match.stats;  // the loops sort the list in place
    const zefa::PageWriter writer(8, 12, 1'000'000'000);
    std::ostringstream page;
    writer.WritePage(stats, match.awards,
                     std::string_view(reinterpret_cast<const char*>(data), size), page,
                     zefa::weaponNames(zefa::kGameVersionBeta2));
    return 0;
}
