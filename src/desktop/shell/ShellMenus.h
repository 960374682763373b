#pragma once

#include <array>
#include <span>
#include <string_view>

// The main window's commands, menus, accelerators and toolbar.
namespace zefa::desktop {

enum class Command {
    New,
    OpenSeason,
    Close,
    Save,
    SaveAs,
    AddToSeason,
    SaveSiteAs,
    Exit,
    ViewToolbar,
    ViewStatusBar,
    SelectTheme,
    SelectLogfile,
    NewWindow,
    Cascade,
    Tile,
    ArrangeIcons,
    About,
};

struct CommandText {
    Command command;
    std::string_view menuText;  // "&" marks the mnemonic, a tab the accelerator shown
    std::string_view prompt;    // the status-bar prompt, a line feed, the tool tip
    std::string_view icon;      // toolbar icon resource, if the command has a button
};

inline constexpr std::array kCommandTexts = {
    CommandText{Command::New, "&New\tCtrl+N", "Create a new document\nNew", ":/icons/new.svg"},
    CommandText{Command::OpenSeason,
                "&Open Season...",
                "Show the pages of a season store\nOpen Season",
                {}},
    CommandText{Command::Close, "&Close", "Close the active document\nClose", {}},
    CommandText{Command::Save, "&Save\tCtrl+S", "Save the active document\nSave",
                ":/icons/save.svg"},
    CommandText{
        Command::SaveAs, "Save &As...", "Save the active document with a new name\nSave As", {}},
    CommandText{Command::AddToSeason,
                "A&dd to Season...",
                "Store the active document's console log in a season store\nAdd to Season",
                {}},
    CommandText{Command::SaveSiteAs,
                "Save Sit&e As...",
                "Write the active season's web pages into a folder\nSave Site As",
                {}},
    CommandText{
        Command::Exit, "E&xit", "Quit the application; prompts to save documents\nExit", {}},
    CommandText{Command::ViewToolbar, "&Toolbar", "Show or hide the toolbar\nToggle ToolBar", {}},
    CommandText{
        Command::ViewStatusBar, "&Status Bar", "Show or hide the status bar\nToggle StatusBar", {}},
    CommandText{Command::SelectTheme, "Select &Theme\tCtrl+T", {}, {}},
    CommandText{Command::SelectLogfile, "Select &Logfile\tCtrl+L", {}, {}},
    CommandText{Command::NewWindow,
                "&New Window",
                "Open another window for the active document\nNew Window",
                {}},
    CommandText{
        Command::Cascade, "&Cascade", "Arrange windows so they overlap\nCascade Windows", {}},
    CommandText{
        Command::Tile, "&Tile", "Arrange windows as non-overlapping tiles\nTile Windows", {}},
    CommandText{Command::ArrangeIcons,
                "&Arrange Icons",
                "Arrange icons at the bottom of the window\nArrange Icons",
                {}},
    CommandText{Command::About, "&About Zefa Stats 2...",
                "Display program information, version number and copyright\nAbout",
                ":/icons/about.svg"},
};

// The prompt of a recent-file entry; its menu text is its number and path.
inline constexpr std::string_view kRecentFilePrompt = "Open this document";
// Shown, disabled, in place of the recent files while there are none.
inline constexpr std::string_view kRecentFilePlaceholder = "Recent File";
inline constexpr std::string_view kIdlePrompt = "Ready";
// The status bar's lock-key panes: Caps Lock, Num Lock, Scroll Lock.
inline constexpr std::array<std::string_view, 3> kLockKeyPanes = {"CAP", "NUM", "SCRL"};

// A menu item: a command, a separator, the recent-file list or the list of
// open document windows (numbered, the active one checked).
struct MenuItem {
    enum Kind { Entry, Separator, RecentFiles, WindowList } kind;
    Command command = Command::New;
};
inline constexpr MenuItem menuItem(Command command) { return {MenuItem::Entry, command}; }
inline constexpr MenuItem kMenuSeparator{MenuItem::Separator};
inline constexpr MenuItem kRecentFilesItem{MenuItem::RecentFiles};
inline constexpr MenuItem kWindowListItem{MenuItem::WindowList};

struct Menu {
    std::string_view title;
    std::span<const MenuItem> items;
};

inline constexpr std::array kFileItemsWithoutDocument = {
    menuItem(Command::New), menuItem(Command::OpenSeason), kMenuSeparator, kRecentFilesItem,
    kMenuSeparator,         menuItem(Command::Exit)};
inline constexpr std::array kFileItemsWithDocument = {menuItem(Command::New),
                                                      menuItem(Command::OpenSeason),
                                                      menuItem(Command::Close),
                                                      menuItem(Command::Save),
                                                      menuItem(Command::SaveAs),
                                                      menuItem(Command::AddToSeason),
                                                      menuItem(Command::SaveSiteAs),
                                                      kMenuSeparator,
                                                      kRecentFilesItem,
                                                      kMenuSeparator,
                                                      menuItem(Command::Exit)};
inline constexpr std::array kViewItems = {menuItem(Command::ViewToolbar),
                                          menuItem(Command::ViewStatusBar)};
inline constexpr std::array kModifyItems = {menuItem(Command::SelectTheme),
                                            menuItem(Command::SelectLogfile)};
inline constexpr std::array kWindowItems = {menuItem(Command::NewWindow),
                                            menuItem(Command::Cascade), menuItem(Command::Tile),
                                            menuItem(Command::ArrangeIcons), kWindowListItem};
inline constexpr std::array kHelpItems = {menuItem(Command::About)};

// The menu bar while no document window is open, and while one is.
inline constexpr std::array kMenusWithoutDocument = {
    Menu{"&File", kFileItemsWithoutDocument},
    Menu{"&View", kViewItems},
    Menu{"&Help", kHelpItems},
};
inline constexpr std::array kMenusWithDocument = {
    Menu{"&File", kFileItemsWithDocument}, Menu{"&View", kViewItems}, Menu{"&Modify", kModifyItems},
    Menu{"&Window", kWindowItems},         Menu{"&Help", kHelpItems},
};

// One table for both menu bars; all with the Control key.
struct Accelerator {
    std::string_view keys;
    Command command;
};
inline constexpr std::array kAccelerators = {
    Accelerator{"Ctrl+L", Command::SelectLogfile},
    Accelerator{"Ctrl+N", Command::New},
    Accelerator{"Ctrl+S", Command::Save},
    Accelerator{"Ctrl+T", Command::SelectTheme},
};

// The toolbar: New, Save, a separator, About.
inline constexpr std::array kToolbar = {menuItem(Command::New), menuItem(Command::Save),
                                        kMenuSeparator, menuItem(Command::About)};

}  // namespace zefa::desktop
