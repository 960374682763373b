#pragma once

#include <string>
#include <string_view>

// The desktop program's fixed texts: titles, captions and messages.
namespace zefa::ui {

inline constexpr std::string_view kAppTitle = "Zefa Stats 2";
inline constexpr std::string_view kAppVersion = "2.1.5";
inline constexpr std::string_view kProgramName = "zefastats2";

// The settings store: organisation and application, as the platform names them.
inline constexpr std::string_view kStoreOrganisation = "Zefa Stats";
inline constexpr std::string_view kStoreApplication = "Zefa Stats 2";

inline constexpr std::string_view kErrorCaption = "Error";
inline constexpr std::string_view kNeedsInteractiveRun =
    "You must first run this program in an interactive mode before you can specify files on "
    "the commandline.  Run the program with no commandline options and save one stats file.";

// "%1" is the file, "%2" the reason.
inline constexpr std::string_view kLogUnreadable = "The console log %1 could not be read: %2.";
inline constexpr std::string_view kThemeUnreadable = "The theme file %1 could not be read: %2.";
inline constexpr std::string_view kPageUnwritable = "The stats page %1 could not be written: %2.";
inline constexpr std::string_view kPageUnreadable =
    "The generated page %1 could not be read: %2.";

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

// Seasons: many matches kept in one store, shown as its pages.
inline constexpr std::string_view kOpenSeasonTitle = "Open Season";
inline constexpr std::string_view kAddToSeasonTitle = "Add to Season";
inline constexpr std::string_view kSeasonFileFilter = "Season Stores (*.db);;All Files (*)";
inline constexpr std::string_view kSeasonFileSuffix = "db";
// "%1" is the season store, "%2" the reason or the pages that were not made.
inline constexpr std::string_view kSeasonUnusable = "The season store %1 could not be opened: %2.";
inline constexpr std::string_view kSeasonFailed = "The season store %1 failed: %2.";
inline constexpr std::string_view kSeasonPagesMissing =
    "Some pages of the season %1 could not be made:%2";
// "%1" is the temporary directory.
inline constexpr std::string_view kSeasonFolderUnmade =
    "No folder for the season's pages could be made in %1: %2.";
// "%1" is the console log, "%2" the match's number in the store or the reason.
inline constexpr std::string_view kLogStored = "The console log %1 was stored as match %2.";
inline constexpr std::string_view kLogAlreadyStored =
    "The console log %1 is already stored as match %2.";
inline constexpr std::string_view kLogSameMatch =
    "The console log %1 is the same match as match %2, recorded by another client; it was not "
    "stored again.";
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

// The About box. The credits are lines separated by "|"; a line's last character
// chooses its style: a tab a title, a line feed a heading, a carriage return a
// list entry, anything else a normal line. "%s" is the program's version.
inline constexpr std::string_view kAboutTitle = "About Zefa Stats 2";
inline constexpr std::string_view kAboutOk = "OK";
inline constexpr std::string_view kCreditsPattern =
    "Zefa Stats %s\t|"
    "by The Zefa Stats Crew\n|"
    "2004 - 2006|"
    "||"
    "Inspired by the first Zefa Stats|"
    "||"
    "Supported Games:|Zefa Beta1H|Zefa 2|"
    "||"
    "Special Thanks:|"
    "Quillfire\r|Bramblejack\r|Tessellate\r|Sir Frags-a-Lot\r|Orbweaver\r|Lumen\r|"
    "Kettle\r|Nightjar\r|Pixelmonk\r|Dustdevil\r|Halfpipe\r|"
    "||"
    "https://zefastats.example|"
    "|||||||||||||||||";

}  // namespace zefa::ui
