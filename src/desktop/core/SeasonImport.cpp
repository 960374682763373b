#include "desktop/core/SeasonImport.h"

#include <string_view>

#include "desktop/core/MessageText.h"
#include "season/LogImport.h"

namespace zefa::desktop {

namespace {

std::string_view outcomeText(season::ImportResult::Outcome outcome) {
    switch (outcome) {
        case season::ImportResult::Outcome::Stored:
            return kLogStored;
        case season::ImportResult::Outcome::SameBytes:
            return kLogAlreadyStored;
        case season::ImportResult::Outcome::SameMatch:
            return kLogSameMatch;
    }
    return kLogStored;
}

}  // namespace

SeasonImportOutcome storeInSeason(const std::filesystem::path& store,
                                  const std::filesystem::path& logFile, std::int32_t gameVersion) {
    try {
        auto seasonStore =
            season::SeasonStore::open(store, season::SeasonStore::OpenMode::CreateIfMissing);
        ClassifierCache classifiers;
        std::string reason;
        const auto result =
            season::importLogFile(seasonStore, logFile, {gameVersion}, classifiers, reason);
        if (!result) return {{kAppTitle, fillIn(kLogNotStored, logFile.string(), reason)}};
        seasonStore.updateRatings();
        return {{kAppTitle,
                 fillIn(outcomeText(result->outcome), logFile.string(),
                        std::to_string(result->matchId)),
                 false},
                result->outcome == season::ImportResult::Outcome::Stored};
    } catch (const season::SeasonError& error) {
        const bool unusable = error.kind() == season::SeasonError::Kind::Unusable;
        return {{kAppTitle, fillIn(unusable ? kSeasonUnusable : kSeasonFailed, store.string(),
                                   error.reason())}};
    }
}

}  // namespace zefa::desktop
