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

// Documents: unsaved ones are titled "zefs1", "zefs2", ...
inline constexpr std::string_view kDocumentName = "zefs";
inline constexpr std::string_view kStatsFileFilter = "Stats Files (*.html);;All Files (*)";
inline constexpr std::string_view kStatsFileSuffix = "html";
inline constexpr std::string_view kSaveAsTitle = "Save As";
inline constexpr std::string_view kAskToSave = "Save changes to %1?";

// The Modify menu's two ways of generating a page again.
inline constexpr std::string_view kSelectThemeTitle = "Select a Theme File";
inline constexpr std::string_view kThemeFileFilter = "Theme Files (*.thm);;All Files (*)";
inline constexpr std::string_view kThemeFileSuffix = "thm";
inline constexpr std::string_view kThemeApplied = "New theme has been applied.";
inline constexpr std::string_view kSelectLogTitle = "Select a Console Log";
inline constexpr std::string_view kLogFileFilter = "Console Log Files (*.log);;All Files (*)";
inline constexpr std::string_view kLogFileSuffix = "log";
inline constexpr std::string_view kLogParsed = "New logfile has been parsed.";

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
