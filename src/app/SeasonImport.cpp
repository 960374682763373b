#include "app/SeasonImport.h"

#include <string_view>

#include "resources/UiText.h"
#include "season/LogImport.h"

namespace zefa {

namespace {

std::string_view outcomeText(season::ImportResult::Outcome outcome) {
    switch (outcome) {
        case season::ImportResult::Outcome::Stored:
            return ui::kLogStored;
        case season::ImportResult::Outcome::SameBytes:
            return ui::kLogAlreadyStored;
        case season::ImportResult::Outcome::SameMatch:
            return ui::kLogSameMatch;
    }
    return ui::kLogStored;
}

}  // namespace

UserMessage storeInSeason(const std::filesystem::path& store, const std::filesystem::path& logFile,
                        std::int32_t gameVersion) {
    try {
        auto seasonStore =
            season::SeasonStore::open(store, season::SeasonStore::OpenMode::CreateIfMissing);
        ClassifierCache classifiers;
        std::string reason;
        const auto result = season::importLogFile(seasonStore, logFile, {gameVersion}, classifiers, reason);
        if (!result)
            return {ui::kAppTitle, ui::fillIn(ui::kLogNotStored, logFile.string(), reason)};
        seasonStore.updateRatings();
        return {ui::kAppTitle,
                ui::fillIn(outcomeText(result->outcome), logFile.string(),
                           std::to_string(result->matchId)),
                false};
    } catch (const season::SeasonError& error) {
        const bool unusable = error.kind() == season::SeasonError::Kind::Unusable;
        return {ui::kAppTitle, ui::fillIn(unusable ? ui::kSeasonUnusable : ui::kSeasonFailed,
                                          store.string(), error.reason())};
    }
}

}  // namespace zefa
