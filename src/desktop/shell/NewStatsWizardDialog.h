#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The New stats file wizard: its dialog layout and its string table.
namespace zefa::desktop {

inline constexpr std::string_view kWizardTitle = "Zefa Stats 2 Wizard";
// The dialog's size in dialog units.
inline constexpr int kWizardWidth = 350;
inline constexpr int kWizardHeight = 249;

// The controls, in creation order, which is also the tab order.
enum class WizardControl {
    PageText,
    Next,
    Ok,
    Cancel,
    OlderVersion,
    NewerVersion,
    DetectVersion,
    CheckAll,
    Back,
    Progress,
    Heading,
    LogSelect,
    LogPath,
    ThemeSelect,
    ThemePath,
    AwardList,
};

enum class ControlKind {
    StaticText,
    PushButton,
    DefaultPushButton,
    RadioButton,
    VerticalProgressBar,
    PathField,  // read-only, bordered, scrolls horizontally
    AwardList,  // one column of check boxes, full-row single selection, no header
};

// Shown on every page; the other controls show only on their own page.
inline constexpr std::int32_t kEveryPage = -1;

struct ControlTemplate {
    WizardControl id;
    ControlKind kind;
    std::string_view name;         // the widget's object name
    std::string_view text;         // "&" marks the mnemonic
    int left, top, width, height;  // dialog units
    std::int32_t page;
    bool enabled;
};

// clang-format off
inline constexpr std::array kWizardControls = {
    //              id                            kind                              name            text                              left top  width height page        enabled
    ControlTemplate{WizardControl::PageText,     ControlKind::StaticText,          "pageText",     "Info goes here",                 25,  26,  299,  160,   kEveryPage, true},
    ControlTemplate{WizardControl::Next,         ControlKind::PushButton,          "next",         "&Next >",                        171, 228, 50,   14,    kEveryPage, true},
    ControlTemplate{WizardControl::Ok,           ControlKind::DefaultPushButton,   "ok",           "&OK",                            239, 228, 50,   14,    kEveryPage, false},
    ControlTemplate{WizardControl::Cancel,       ControlKind::PushButton,          "cancel",       "&Cancel",                        292, 228, 50,   14,    kEveryPage, true},
    ControlTemplate{WizardControl::OlderVersion, ControlKind::RadioButton,         "olderVersion", "Zefa Beta1H or Older",           133, 133, 82,   10,    4,          true},
    ControlTemplate{WizardControl::NewerVersion, ControlKind::RadioButton,         "newerVersion", "Zefa Beta2 or Newer",            133, 148, 82,   10,    4,          true},
    ControlTemplate{WizardControl::DetectVersion,ControlKind::RadioButton,         "detectVersion","Detect from the log",            133, 163, 82,   10,    4,          true},
    ControlTemplate{WizardControl::CheckAll,     ControlKind::PushButton,          "checkAll",     "[Un]Ch&eck All",                 25,  199, 63,   14,    3,          true},
    ControlTemplate{WizardControl::Back,         ControlKind::PushButton,          "back",         "< &Back",                        118, 228, 50,   14,    kEveryPage, false},
    ControlTemplate{WizardControl::Progress,     ControlKind::VerticalProgressBar, "progress",     {},                               7,   7,   6,    235,   kEveryPage, true},
    ControlTemplate{WizardControl::Heading,      ControlKind::StaticText,          "heading",      "New Stats File Creation Wizard", 25,  7,   299,  8,     kEveryPage, true},
    ControlTemplate{WizardControl::LogSelect,    ControlKind::PushButton,          "logSelect",    "&Select",                        274, 134, 50,   14,    1,          true},
    ControlTemplate{WizardControl::LogPath,      ControlKind::PathField,           "logPath",      {},                               25,  134, 244,  14,    1,          true},
    ControlTemplate{WizardControl::ThemeSelect,  ControlKind::PushButton,          "themeSelect",  "&Select",                        274, 134, 50,   14,    2,          true},
    ControlTemplate{WizardControl::ThemePath,    ControlKind::PathField,           "themePath",    {},                               25,  134, 244,  14,    2,          true},
    ControlTemplate{WizardControl::AwardList,    ControlKind::AwardList,           "awardList",    {},                               25,  89,  299,  97,    3,          true},
};
// clang-format on

// The row of every control stands at the control's place in the creation order.
[[nodiscard]] constexpr const ControlTemplate& controlTemplate(WizardControl id) {
    return kWizardControls[static_cast<std::size_t>(id)];
}
static_assert([] {
    for (std::size_t i = 0; i < kWizardControls.size(); ++i)
        if (static_cast<std::size_t>(kWizardControls[i].id) != i) return false;
    return true;
}());

inline constexpr std::string_view kAwardColumn = "Awards";
inline constexpr int kAwardColumnWidth = 280;  // pixels

// The texts of pages 0 to 4; the last page, the summary, is composed when it shows.
inline constexpr std::array<std::string_view, 5> kWizardPageTexts = {
    "Zefa Stats takes console logfiles and turns them into a single HTML file which contains "
    "statistics about each player in the console log.  Console logs are different from server "
    "logs.  Server logs are generated only on the actual server and you need access to the "
    "server's hard drive to obtain them.  Console logs however can be generated by anyone by "
    "typing '/logfile 1' into the console.  This allows any player to generate statistics from a "
    "game they played in or spectated.",
    "Please select the logfile that you wish to generate stats from. The logfile MUST be a "
    "console logfile and not a server-side logfile.\n\nTo generate a console logfile, open the "
    "console by typing ~ and then type /logfile 1.  From that point on it will log all messages "
    "to a file in your Zefa directory named qconsole.log.  Be warned that this file is "
    "overwritten each time you restart Zefa.",
    "Chose which theme file you wish to use when generating the statistics output. Themes "
    "determine how the stats are displayed and do not affect the actual statistics.\n\nYou can "
    "create your own themes! Read the file 'zefastats-themes-readme.txt' in the docs directory "
    "for more information on writing your own themes.",
    "Now select which awards you wish to have displayed in your stats HTML file. Keep in mind "
    "that if the theme you chose does not have support for awards in it, none will display "
    "regardless of what you select here.",
    "Select which version of Zefa was used to generate the console logfile. Selecting an "
    "incorrect version will generate false and/or incomplete statistics.",
};
inline constexpr std::int32_t kWizardLastPage = kWizardPageTexts.size();

// The summary, in the order it is composed.
inline constexpr std::string_view kSummaryIntro =
    "Verify that the settings below match your desired preference before generating the "
    "statistics file.\n\n\n";
inline constexpr std::string_view kSummaryLog = "Log file: ";
inline constexpr std::string_view kSummaryTheme = "\n\nTheme file: ";
inline constexpr std::string_view kSummaryVersion = "\n\nZefa Version: ";
inline constexpr std::string_view kSummaryOlderVersion = "Zefa Beta1h or older";
inline constexpr std::string_view kSummaryNewerVersion = "Zefa Beta2 or newer";
inline constexpr std::string_view kSummaryDetectVersion = "Detect from the log";
inline constexpr std::string_view kSummaryAwards = "\n\nAwards: ";
inline constexpr std::string_view kSummaryAwardSeparator = ", ";

}  // namespace zefa::desktop
