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
