#pragma once

#include <string>
#include <string_view>

// The desktop program's names, and the messages its document core, batch run
// and season import tell the user.
namespace zefa::desktop {

inline constexpr std::string_view kAppTitle = "Zefa Stats 2";
inline constexpr std::string_view kAppVersion = "2.1.5";
inline constexpr std::string_view kProgramName = "zefastats2";

inline constexpr std::string_view kErrorCaption = "Error";
inline constexpr std::string_view kNeedsInteractiveRun =
    "You must first run this program in an interactive mode before you can specify files on "
    "the commandline.  Run the program with no commandline options and save one stats file.";

// "%1" is the file, "%2" the reason.
inline constexpr std::string_view kLogUnreadable = "The console log %1 could not be read: %2.";
inline constexpr std::string_view kThemeUnreadable = "The theme file %1 could not be read: %2.";
inline constexpr std::string_view kPageUnwritable = "The stats page %1 could not be written: %2.";
inline constexpr std::string_view kPageUnreadable = "The generated page %1 could not be read: %2.";

// The message sets, as the wizard's version page names them.
inline constexpr std::string_view kOlderVersionName = "Zefa Beta1H or Older";
inline constexpr std::string_view kNewerVersionName = "Zefa Beta2 or Newer";
inline constexpr std::string_view kDetectedSuffix = " (detected from the log)";
// "%1" is the console log, "%2" a message set.
inline constexpr std::string_view kVersionUsed = "The console log %1 was read as %2.";
inline constexpr std::string_view kOtherVersionBetter =
    "The console log %1 reads better as %2; the stored game version was used.";
inline constexpr std::string_view kEmptyLogKept =
    "The console log %1 is empty; the stats page %2 was left as it was.";

// Seasons: many matches kept in one store, shown as its pages.
// "%1" is the season store, "%2" the reason or the pages that were not made.
inline constexpr std::string_view kSeasonUnusable = "The season store %1 could not be opened: %2.";
inline constexpr std::string_view kSeasonFailed = "The season store %1 failed: %2.";
inline constexpr std::string_view kSeasonPagesMissing =
    "Some pages of the season %1 could not be made:%2";
// "%1" is the folder the user chose, "%2" the pages written, kept and
// removed, or the reason the folder was not used.
inline constexpr std::string_view kSeasonSiteSaved = "The season's site was written to %1: %2.";
inline constexpr std::string_view kSeasonSiteRefused =
    "The season's site was not written to %1: %2. Choose a new or empty folder, or one a "
    "season's site was written to.";
// "%1" is the temporary directory.
inline constexpr std::string_view kSeasonFolderUnmade =
    "No folder for the season's pages could be made in %1: %2.";
// "%1" is the console log, "%2" the match's number in the store or the reason.
inline constexpr std::string_view kLogStored = "The console log %1 was stored as match %2.";
inline constexpr std::string_view kLogAlreadyStored =
    "The console log %1 is already stored as match %2.";
inline constexpr std::string_view kLogSameMatch =
    "The console log %1 was stored as another recording of match %2.";
inline constexpr std::string_view kLogNotStored = "The console log %1 could not be stored: %2.";

// The text with "%1" and "%2" replaced by the two values.
inline std::string fillIn(std::string_view text, std::string_view first,
                          std::string_view second = {}) {
    std::string filled;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
            filled += text[++i] == '1' ? first : second;
        } else {
            filled += text[i];
        }
    }
    return filled;
}

}  // namespace zefa::desktop
