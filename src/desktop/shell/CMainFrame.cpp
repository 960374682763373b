#include "desktop/shell/CMainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include "desktop/core/MessageText.h"
#include "desktop/settings/QtText.h"
#include "desktop/shell/CAboutDialog.h"
#include "desktop/shell/CChildFrame.h"
#include "desktop/shell/CZefastats2Doc.h"
#include "desktop/shell/CZefastats2View.h"
#include "desktop/shell/LockKeyIndicators.h"
#include "desktop/shell/SeasonCommands.h"
#include "desktop/shell/SeasonWindow.h"
#include "desktop/shell/ShellContext.h"
#include "desktop/shell/VersionPane.h"

namespace zefa::desktop {

namespace {

bool isSavedPage(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QStringLiteral("html") || suffix == QStringLiteral("htm");
}

}  // namespace

CMainFrame::CMainFrame(ShellContext& context, QWidget* parent)
    : QMainWindow(parent), m_context(context), m_mdiArea(new QMdiArea(this)) {
    setWindowTitle(qText(kAppTitle));
    setCentralWidget(m_mdiArea);
    setAcceptDrops(true);
    createActions();
    createToolBar();
    createStatusBar();
    connectCommands();
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this] {
        updateMenus();
        updateCommandStates();
    });
    updateMenus();
    updateCommandStates();
}

// The windows and documents destroyed with this window must not reach its
// commands, which are gone by then.
CMainFrame::~CMainFrame() {
    disconnect(m_mdiArea, nullptr, this, nullptr);
    for (const QMdiSubWindow* frame : m_mdiArea->subWindowList())
        disconnect(frame, nullptr, this, nullptr);
    for (const CZefastats2Doc* document : findChildren<CZefastats2Doc*>(Qt::FindDirectChildrenOnly))
        disconnect(document, nullptr, this, nullptr);
}

CZefastats2View* CMainFrame::activeView() const {
    const auto* frame = qobject_cast<CChildFrame*>(m_mdiArea->currentSubWindow());
    return frame != nullptr ? frame->view() : nullptr;
}

SeasonWindow* CMainFrame::activeSeasonWindow() const {
    return qobject_cast<SeasonWindow*>(m_mdiArea->currentSubWindow());
}

CZefastats2Doc* CMainFrame::activeDocument() const {
    const CZefastats2View* view = activeView();
    return view != nullptr ? view->document() : nullptr;
}

void CMainFrame::createActions() {
    for (const CommandText& command : kCommandTexts) {
        auto* action = new QAction(qText(command.menuText), this);
        const QString prompt = qText(command.prompt);
        action->setStatusTip(prompt.section('\n', 0, 0));
        action->setToolTip(prompt.section('\n', 1));
        if (!command.icon.empty()) action->setIcon(QIcon(qText(command.icon)));
        addAction(action);  // its shortcut works whichever menu bar shows
        m_actions[command.command] = action;
    }
    for (const Accelerator& accelerator : kAccelerators)
        action(accelerator.command)->setShortcut(QKeySequence(qText(accelerator.keys)));
    action(Command::ViewToolbar)->setCheckable(true);
    action(Command::ViewStatusBar)->setCheckable(true);
}

void CMainFrame::createToolBar() {
    m_toolBar = addToolBar(QStringLiteral("Standard"));
    m_toolBar->setObjectName(QStringLiteral("StandardToolBar"));
    m_toolBar->setIconSize(QSize(16, 15));
    m_toolBar->setMovable(true);
    for (const MenuItem& button : kToolbar) {
        if (button.kind == MenuItem::Separator) {
            m_toolBar->addSeparator();
        } else {
            m_toolBar->addAction(action(button.command));
        }
    }
    action(Command::ViewToolbar)->setChecked(true);
    connect(action(Command::ViewToolbar), &QAction::toggled, m_toolBar, &QToolBar::setVisible);
    connect(m_toolBar, &QToolBar::visibilityChanged, action(Command::ViewToolbar),
            &QAction::setChecked);
}

void CMainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    m_versionPane = new VersionPane(bar);
    bar->addPermanentWidget(m_versionPane);
    connect(m_versionPane, &VersionPane::readAsRequested, this, &CMainFrame::readActiveDocumentAs);
    new LockKeyIndicators(*bar);
    // The idle prompt comes back whenever a command's prompt goes.
    connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString& message) {
        if (message.isEmpty()) bar->showMessage(qText(kIdlePrompt));
    });
    bar->showMessage(qText(kIdlePrompt));
    action(Command::ViewStatusBar)->setChecked(true);
    connect(action(Command::ViewStatusBar), &QAction::toggled, bar, &QStatusBar::setVisible);
}

void CMainFrame::connectCommands() {
    const auto onActiveDocument = [this](auto work) {
        return [this, work] {
            if (CZefastats2Doc* document = activeDocument()) work(*document);
        };
    };
    const auto onActiveView = [this](void (CZefastats2View::*work)()) {
        return [this, work] {
            if (CZefastats2View* view = activeView()) (view->*work)();
        };
    };
    const std::map<Command, std::function<void()>> handlers = {
        {Command::New, [this] { OnFileNew(); }},
        {Command::OpenSeason,
         [this] {
             if (SeasonWindow* window = openSeason(m_context, this)) addSeasonWindow(window);
         }},
        {Command::Close,
         [this] {
             if (CZefastats2Doc* document = activeDocument()) {
                 if (document->saveModified(this)) closeDocument(*document);
             } else if (QMdiSubWindow* frame = m_mdiArea->currentSubWindow()) {
                 frame->close();  // a season's window
             }
         }},
        {Command::Save,
         onActiveDocument([this](CZefastats2Doc& document) { document.save(this); })},
        {Command::SaveAs,
         onActiveDocument([this](CZefastats2Doc& document) { document.saveAs(this); })},
        {Command::AddToSeason, onActiveDocument([this](CZefastats2Doc& document) {
             addToSeason(m_context, document, this,
                         [this](const std::string& store) { rebuildSeasonWindows(store); });
         })},
        {Command::SaveSiteAs,
         [this] {
             if (const SeasonWindow* window = activeSeasonWindow())
                 saveSiteAs(m_context, *window, this);
         }},
        {Command::Exit, [this] { close(); }},
        {Command::SelectTheme, onActiveView(&CZefastats2View::selectTheme)},
        {Command::SelectLogfile, onActiveView(&CZefastats2View::selectLogfile)},
        {Command::NewWindow,
         onActiveDocument([this](CZefastats2Doc& document) { openWindow(document); })},
        {Command::Cascade, [this] { m_mdiArea->cascadeSubWindows(); }},
        {Command::Tile, [this] { m_mdiArea->tileSubWindows(); }},
        {Command::ArrangeIcons, [this] { arrangeIcons(); }},
        {Command::About, [this] { CAboutDialog(this).exec(); }},
    };
    for (const auto& [command, handler] : handlers)
        connect(action(command), &QAction::triggered, this, handler);
}

void CMainFrame::updateMenus() {
    const bool showsDocument = !m_mdiArea->subWindowList().isEmpty();
    if (m_showsDocumentMenus == showsDocument) return;
    m_showsDocumentMenus = showsDocument;
    for (QMenu* menu : menuBar()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        menu->deleteLater();
    menuBar()->clear();
    const std::span<const Menu> menus = showsDocument
                                            ? std::span<const Menu>(kMenusWithDocument)
                                            : std::span<const Menu>(kMenusWithoutDocument);
    for (const Menu& layout : menus) {
        QMenu* menu = menuBar()->addMenu(qText(layout.title));
        fillMenu(*menu, layout);
        // The recent files change while the menu is closed.
        connect(menu, &QMenu::aboutToShow, this, [this, menu, layout] {
            menu->clear();
            fillMenu(*menu, layout);
        });
    }
}

void CMainFrame::fillMenu(QMenu& menu, const Menu& layout) {
    for (const MenuItem& item : layout.items) {
        switch (item.kind) {
            case MenuItem::Entry:
                menu.addAction(action(item.command));
                break;
            case MenuItem::Separator:
                menu.addSeparator();
                break;
            case MenuItem::RecentFiles:
                addRecentFiles(menu);
                break;
            case MenuItem::WindowList:
                addWindowList(menu);
                break;
        }
    }
}

// Each entry is numbered for its mnemonic: "&1 /home/ann/stats.html".
void CMainFrame::addRecentFiles(QMenu& menu) {
    const auto& entries = m_context.settings.recentFiles.entries();
    if (entries.empty()) {
        menu.addAction(qText(kRecentFilePlaceholder))->setEnabled(false);
        return;
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const QString path = qPath(entries[i]);
        QString text = QDir::toNativeSeparators(path);
        text.replace('&', QStringLiteral("&&"));
        QAction* entry = menu.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(text));
        entry->setStatusTip(qText(kRecentFilePrompt));
        // An opened entry moves to the top.
        connect(entry, &QAction::triggered, this, [this, path] {
            if (openSavedPage(path)) m_context.settings.recentFiles.add(pathBytes(path));
        });
    }
}

// After a separator, "&1 zefs1", "&2 stats.html", ... with the active one checked.
void CMainFrame::addWindowList(QMenu& menu) {
    const QList<QMdiSubWindow*> frames = m_mdiArea->subWindowList();
    if (frames.isEmpty()) return;
    menu.addSeparator();
    for (qsizetype i = 0; i < frames.size(); ++i) {
        QMdiSubWindow* frame = frames[i];
        QString title = frame->windowTitle();
        title.replace('&', QStringLiteral("&&"));
        QAction* entry = menu.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(title));
        entry->setCheckable(true);
        entry->setChecked(frame == m_mdiArea->activeSubWindow());
        connect(entry, &QAction::triggered, frame, [this, frame] { activate(frame); });
    }
}

void CMainFrame::updateCommandStates() {
    const CZefastats2Doc* document = activeDocument();
    for (const Command command :
         {Command::Save, Command::SaveAs, Command::SelectLogfile, Command::NewWindow})
        action(command)->setEnabled(document != nullptr);
    // A season's window is closed and arranged like the documents' windows.
    action(Command::Close)->setEnabled(m_mdiArea->currentSubWindow() != nullptr);
    for (const Command command : {Command::Cascade, Command::Tile, Command::ArrangeIcons})
        action(command)->setEnabled(!m_mdiArea->subWindowList().isEmpty());
    // A page opened for viewing has no log to apply a theme to, or to store,
    // until it is given one.
    for (const Command command : {Command::SelectTheme, Command::AddToSeason})
        action(command)->setEnabled(document != nullptr && document->canRegenerate());
    action(Command::SaveSiteAs)->setEnabled(activeSeasonWindow() != nullptr);
    m_versionPane->showReading(document != nullptr ? document->core().versionReading()
                                                   : std::nullopt);
}

void CMainFrame::readActiveDocumentAs(std::int32_t version) {
    CZefastats2Doc* document = activeDocument();
    if (document == nullptr) return;
    m_context.settings.generation.gameVersion = version;
    m_context.settings.generation.detectVersion = false;
    if (const QString problem = document->RunGeneration(); !problem.isEmpty())
        m_context.dialogs.tell(this, {kAppTitle, problem.toStdString()});
    document->updateAllViews();
}

void CMainFrame::OnFileNew(const std::optional<std::string>& proposedLog) {
    auto* document = new CZefastats2Doc(m_context, this);
    if (!document->OnNewDocument(this, proposedLog)) {
        delete document;
        return;
    }
    openWindow(*document);
}

bool CMainFrame::openSavedPage(const QString& path) {
    auto* document = new CZefastats2Doc(m_context, this);
    if (!document->openSavedPage(path, this)) {
        delete document;
        m_context.settings.recentFiles.remove(pathBytes(path));
        return false;
    }
    openWindow(*document);
    return true;
}

CChildFrame* CMainFrame::openWindow(CZefastats2Doc& document) {
    connect(&document, &CZefastats2Doc::lastViewClosed, &document, &QObject::deleteLater,
            Qt::UniqueConnection);
    connect(&document, &CZefastats2Doc::titleChanged, this, &CMainFrame::updateCommandStates,
            Qt::UniqueConnection);
    connect(&document, &CZefastats2Doc::generated, this, &CMainFrame::updateCommandStates,
            Qt::UniqueConnection);
    auto* view = new CZefastats2View(document, m_context);
    auto* frame = new CChildFrame(view);
    addFrame(frame);
    view->OnInitialUpdate();
    frame->ActivateFrame();
    return frame;
}

void CMainFrame::addFrame(QMdiSubWindow* frame) {
    m_mdiArea->addSubWindow(frame);
    // The menus follow when the last document window has gone.
    connect(frame, &QObject::destroyed, this, [this] {
        updateMenus();
        updateCommandStates();
    });
}

void CMainFrame::addSeasonWindow(SeasonWindow* window) {
    addFrame(window);
    connect(window, &SeasonWindow::pagesMissing, this, [this, window] {
        m_context.dialogs.tell(this, {kAppTitle, window->pages().problem()});
    });
    activate(window);
}

void CMainFrame::rebuildSeasonWindows(const std::string& store) {
    for (QMdiSubWindow* frame : m_mdiArea->subWindowList())
        if (auto* window = qobject_cast<SeasonWindow*>(frame);
            window && window->pages().showsStore(store))
            window->rebuild();
}

// Document windows are always shown maximised.
void CMainFrame::activate(QMdiSubWindow* frame) {
    frame->showMaximized();
    m_mdiArea->setActiveSubWindow(frame);
}

void CMainFrame::closeDocument(CZefastats2Doc& document) {
    const std::vector<CZefastats2View*> views = document.views();
    for (CZefastats2View* view : views) delete view->parentWidget();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    const auto documents = findChildren<CZefastats2Doc*>(Qt::FindDirectChildrenOnly);
    for (CZefastats2Doc* document : documents) {
        if (!document->saveModified(this)) {
            event->ignore();
            return;
        }
    }
    for (CZefastats2Doc* document : documents) closeDocument(*document);
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && std::ranges::all_of(urls, &QUrl::isLocalFile))
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    openDroppedFiles(event->mimeData()->urls());
}

// A dropped page opens for viewing; any other file is taken for a console log.
void CMainFrame::openDroppedFiles(const QList<QUrl>& files) {
    for (const QUrl& url : files) {
        const QString path = url.toLocalFile();
        if (isSavedPage(path)) {
            openSavedPage(path);
        } else {
            OnFileNew(pathBytes(path));
        }
    }
}

// Minimised document windows line up along the bottom edge.
void CMainFrame::arrangeIcons() {
    int left = 0;
    for (QMdiSubWindow* frame : m_mdiArea->subWindowList()) {
        if (!frame->isMinimized()) continue;
        frame->move(left, m_mdiArea->viewport()->height() - frame->height());
        left += frame->width();
    }
}

}  // namespace zefa::desktop
