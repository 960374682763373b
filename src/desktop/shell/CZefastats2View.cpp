#include "desktop/shell/CZefastats2View.h"

#include <QWebEngineSettings>

#include "desktop/core/MessageText.h"
#include "desktop/settings/QtText.h"
#include "desktop/shell/CZefastats2Doc.h"
#include "desktop/shell/ShellContext.h"
#include "desktop/shell/UiText.h"

namespace zefa::desktop {

// One of the Modify menu's two commands: which file it asks for, where the
// choice is kept, and what it says when the page has been generated again.
struct CZefastats2View::Selection {
    FileRequest (*request)(const std::string& stored);
    std::string GenerationSettings::*setting;
    void (CZefastats2Doc::*apply)(const std::string&);
    std::string_view done;
};

CZefastats2View::CZefastats2View(CZefastats2Doc& document, ShellContext& context, QWidget* parent)
    : QWebEngineView(parent), m_document(&document), m_context(context) {
    // Files dropped on the page go to the main window, which opens them.
    setAcceptDrops(false);
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    connect(&document, &CZefastats2Doc::updateRequested, this, &CZefastats2View::OnUpdate);
    document.addView(this);
}

CZefastats2View::~CZefastats2View() {
    if (m_document) m_document->removeView(this);
}

void CZefastats2View::OnInitialUpdate() { load(m_document->pageUrl()); }

void CZefastats2View::OnUpdate() {
    // A page opened for viewing moves to a file of its own when it is first
    // generated again.
    if (url() == m_document->pageUrl()) {
        reload();
    } else {
        load(m_document->pageUrl());
    }
}

void CZefastats2View::selectTheme() {
    select({themeFileRequest, &GenerationSettings::themeFile, &CZefastats2Doc::setThemeFile,
            kThemeApplied});
}

void CZefastats2View::selectLogfile() {
    select({logFileRequest, &GenerationSettings::logFile, &CZefastats2Doc::setLogFile, kLogParsed});
}

void CZefastats2View::select(const Selection& selection) {
    std::string& stored = m_context.settings.generation.*selection.setting;
    const auto chosen = m_context.dialogs.chooseFileToOpen(this, selection.request(stored));
    if (!chosen) return;
    stored = pathBytes(*chosen);
    (m_document->*selection.apply)(stored);
    const QString problem = m_document->RunGeneration();
    // A page that could not be made completely is not announced as applied.
    const std::string told =
        problem.isEmpty() ? std::string(selection.done) : problem.toStdString();
    m_context.dialogs.tell(this, {kAppTitle, told, !problem.isEmpty()});
    m_document->updateAllViews();
}

}  // namespace zefa::desktop
