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
    std::string reason;
    const auto seasonStore =
        season::SeasonStore::open(store, season::SeasonStore::OpenMode::CreateIfMissing, reason);
    if (!seasonStore) return {ui::kAppTitle, ui::fillIn(ui::kSeasonUnusable, store.string(), reason)};
    try {
        ClassifierCache classifiers;
        const auto result = season::importLogFile(*seasonStore, logFile, {gameVersion}, classifiers, reason);
        if (!result)
            return {ui::kAppTitle, ui::fillIn(ui::kLogNotStored, logFile.string(), reason)};
        seasonStore->updateRatings();
        return {ui::kAppTitle,
                ui::fillIn(outcomeText(result->outcome), logFile.string(),
                           std::to_string(result->matchId)),
                false};
    } catch (const season::SqliteError& failure) {
        return {ui::kAppTitle, ui::fillIn(ui::kSeasonFailed, store.string(), failure.what())};
    }
}

}  // namespace zefa
