#pragma once

#include <string_view>

// The windows' fixed texts: captions, file dialogs and the commands' messages.
namespace zefa::desktop {

// The status bar's notice when the other message set reads the log better.
inline constexpr std::string_view kReadsBetterNotice = "This log reads better as %1.";
inline constexpr std::string_view kReadAsNewer = "Read as Beta2 or newer";
inline constexpr std::string_view kReadAsOlder = "Read as Beta1H or older";

// The wizard refuses to go on without its files.
inline constexpr std::string_view kChooseLogFirst =
    "Please select the console log to generate the stats from.";
inline constexpr std::string_view kChooseThemeFirst =
    "Please select the theme file to write the stats page with.";

// Documents: unsaved ones are titled "zefs1", "zefs2", ...
inline constexpr std::string_view kDocumentName = "zefs";
inline constexpr std::string_view kStatsFileFilter = "Stats Files (*.html);;All Files (*)";
inline constexpr std::string_view kStatsFileSuffix = "html";
inline constexpr std::string_view kSaveAsTitle = "Save As";
inline constexpr std::string_view kAskToSave = "Save changes to %1?";
inline constexpr std::string_view kNothingToSave =
    "%1 holds no complete stats page to save; generate it again first.";

// The Modify menu's two ways of generating a page again.
inline constexpr std::string_view kSelectThemeTitle = "Select a Theme File";
inline constexpr std::string_view kThemeFileFilter = "Theme Files (*.thm);;All Files (*)";
inline constexpr std::string_view kThemeFileSuffix = "thm";
inline constexpr std::string_view kThemeApplied = "New theme has been applied.";
inline constexpr std::string_view kSelectLogTitle = "Select a Console Log";
inline constexpr std::string_view kLogFileFilter = "Console Log Files (*.log);;All Files (*)";
inline constexpr std::string_view kLogFileSuffix = "log";
inline constexpr std::string_view kLogParsed = "New logfile has been parsed.";

// Seasons: a store to show or to add a log to.
inline constexpr std::string_view kOpenSeasonTitle = "Open Season";
inline constexpr std::string_view kAddToSeasonTitle = "Add to Season";
inline constexpr std::string_view kSaveSiteAsTitle = "Save Site As";
inline constexpr std::string_view kSeasonFileFilter = "Season Stores (*.db);;All Files (*)";
inline constexpr std::string_view kSeasonFileSuffix = "db";

}  // namespace zefa::desktop
