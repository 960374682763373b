#pragma once

#include <QList>
#include <QMainWindow>
#include <QUrl>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "desktop/shell/ShellMenus.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace zefa::desktop {

class CChildFrame;
class CZefastats2Doc;
class CZefastats2View;
class SeasonWindow;
struct ShellContext;
class VersionPane;

// The main window: the document windows in a multi-document area, the menu
// bar (one for no document, one while a document window is open), the
// toolbar and the status bar. It carries out the commands.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(ShellContext& context, QWidget* parent = nullptr);
    ~CMainFrame() override;

    [[nodiscard]] QAction* action(Command command) const { return m_actions.at(command); }
    [[nodiscard]] QMdiArea* mdiArea() const { return m_mdiArea; }
    [[nodiscard]] QToolBar* toolBar() const { return m_toolBar; }
    [[nodiscard]] VersionPane* versionPane() const { return m_versionPane; }
    // The view of the active document window, if any.
    [[nodiscard]] CZefastats2View* activeView() const;
    [[nodiscard]] CZefastats2Doc* activeDocument() const;
    // The active window when it shows a season's pages.
    [[nodiscard]] SeasonWindow* activeSeasonWindow() const;

public slots:
    // File New; a dropped log is given to the wizard as its choice.
    void OnFileNew(const std::optional<std::string>& proposedLog = std::nullopt);
    // A saved page, opened for viewing in a new document window; false (and
    // told) when it cannot be read.
    bool openSavedPage(const QString& path);
    // Files dropped on the window: pages open for viewing, logs go to the wizard.
    void openDroppedFiles(const QList<QUrl>& files);

protected:
    // Exit asks, for each modified document, whether to save it.
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createActions();
    void createToolBar();
    void createStatusBar();
    void connectCommands();
    void updateMenus();
    void fillMenu(QMenu& menu, const Menu& layout);
    void addRecentFiles(QMenu& menu);
    void addWindowList(QMenu& menu);
    // Generates the active document again with a fixed game version.
    void readActiveDocumentAs(std::int32_t version);
    void updateCommandStates();
    CChildFrame* openWindow(CZefastats2Doc& document);
    void addFrame(QMdiSubWindow* frame);
    void addSeasonWindow(SeasonWindow* window);
    // The windows of the season store at `store` make their pages again.
    void rebuildSeasonWindows(const std::string& store);
    void activate(QMdiSubWindow* frame);
    void closeDocument(CZefastats2Doc& document);
    void arrangeIcons();

    ShellContext& m_context;
    QMdiArea* m_mdiArea;
    QToolBar* m_toolBar = nullptr;
    VersionPane* m_versionPane = nullptr;
    std::map<Command, QAction*> m_actions;
    std::optional<bool> m_showsDocumentMenus;
};

}  // namespace zefa::desktop
