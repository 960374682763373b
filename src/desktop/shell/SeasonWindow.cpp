#include "desktop/shell/SeasonWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QShortcut>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "desktop/settings/QtText.h"

namespace zefa::desktop {

namespace {

// A page whose Reload goes to the window, which makes the pages again first.
class SeasonPage : public QWebEnginePage {
public:
    SeasonPage(SeasonWindow& window, QObject* parent) : QWebEnginePage(parent), m_window(window) {}

    void triggerAction(WebAction action, bool checked = false) override {
        if (action == Reload || action == ReloadAndBypassCache) {
            m_window.rebuild();
        } else {
            QWebEnginePage::triggerAction(action, checked);
        }
    }

private:
    SeasonWindow& m_window;
};

QUrl fileUrl(const std::filesystem::path& path) {
    return QUrl::fromLocalFile(qPath(path.string()));
}

}  // namespace

SeasonWindow::SeasonWindow(std::unique_ptr<TemporarySeasonPages> pages, const QString& title,
                           QWidget* parent)
    : QMdiSubWindow(parent), m_pages(std::move(pages)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);
    auto* view = new QWebEngineView(this);
    view->setPage(new SeasonPage(*this, view));
    // Files dropped on the page go to the main window, which opens them.
    view->setAcceptDrops(false);
    view->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    setWidget(view);
    auto* reload = new QShortcut(QKeySequence::Refresh, this);
    reload->setContext(Qt::WidgetWithChildrenShortcut);
    connect(reload, &QShortcut::activated, this, &SeasonWindow::rebuild);
    view->load(fileUrl(m_pages->indexPage()));
}

SeasonWindow::~SeasonWindow() = default;

QWebEngineView* SeasonWindow::view() const { return static_cast<QWebEngineView*>(widget()); }

void SeasonWindow::rebuild() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_pages->update();
    QApplication::restoreOverrideCursor();
    if (!m_pages->problem().empty()) emit pagesMissing();
    const QUrl shown = view()->url();
    if (shown.isLocalFile() && QFileInfo::exists(shown.toLocalFile())) {
        view()->page()->QWebEnginePage::triggerAction(QWebEnginePage::Reload);
    } else {
        view()->load(fileUrl(m_pages->indexPage()));
    }
}

}  // namespace zefa::desktop
