#include "desktop/shell/CZefastats2Doc.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "desktop/core/MessageText.h"
#include "desktop/core/PageCopy.h"
#include "desktop/settings/QtText.h"
#include "desktop/shell/DefaultTheme.h"
#include "desktop/shell/ShellContext.h"
#include "desktop/shell/UiText.h"

namespace zefa::desktop {

namespace {

QString displayPath(const std::filesystem::path& path) { return QFile::decodeName(path.c_str()); }

}  // namespace

CZefastats2Doc::CZefastats2Doc(ShellContext& context, QObject* parent)
    : QObject(parent), m_context(context), m_core(context.pageClock) {}

// The page file in the temporary directory goes with the document.
CZefastats2Doc::~CZefastats2Doc() = default;

bool CZefastats2Doc::OnNewDocument(QWidget* owner, const std::optional<std::string>& proposedLog) {
    GenerationSettings& settings = m_context.settings.generation;
    GenerationSettings choices = settings;
    if (proposedLog) choices.logFile = *proposedLog;
    if (choices.themeFile.empty()) choices.themeFile = defaultThemeFile();
    if (!m_context.dialogs.runWizard(choices, owner)) return false;
    settings = choices;

    m_core.setLogFile(settings.logFile);
    m_core.setThemeFile(settings.themeFile);
    if (const QString problem = RunGeneration(); !problem.isEmpty()) {
        tellProblem(problem, owner);
        return false;
    }
    setTitle(qText(kDocumentName) + QString::number(++m_context.documentsCreated));
    return true;
}

bool CZefastats2Doc::openSavedPage(const QString& path, QWidget* owner) {
    QFile page(path);
    if (!page.open(QIODevice::ReadOnly)) {
        tellProblem(
            qText(fillIn(kPageUnreadable, pathBytes(path), page.errorString().toStdString())),
            owner);
        return false;
    }
    m_viewedPage = pathBytes(path);
    m_hasPage = true;
    m_core.setThemeFile(m_context.settings.generation.themeFile);
    m_pathName = path;
    setTitle(QFileInfo(path).fileName());
    return true;
}

QString CZefastats2Doc::RunGeneration() {
    QString problem;
    if (m_core.pagePath().empty()) {
        if (const std::error_code error = m_core.reservePage(".html"))
            problem =
                qText(fillIn(kPageUnwritable, TemporaryPage::directoryName(), error.message()));
    }
    if (problem.isEmpty())
        problem = qText(m_core.problemOf(m_core.RunGeneration(m_context.settings.generation)));
    // Only a complete page is worth saving.
    m_hasPage = problem.isEmpty();
    setModified(m_hasPage);
    emit generated();
    return problem;
}

std::filesystem::path CZefastats2Doc::pagePath() const {
    const std::filesystem::path generated = m_core.pagePath();
    return generated.empty() ? m_viewedPage : generated;
}

QUrl CZefastats2Doc::pageUrl() const { return QUrl::fromLocalFile(displayPath(pagePath())); }

bool CZefastats2Doc::save(QWidget* owner) {
    return m_pathName.isEmpty() ? saveAs(owner) : OnSaveDocument(m_pathName, owner);
}

bool CZefastats2Doc::hasPageToSave(QWidget* owner) {
    if (!m_hasPage) tellProblem(qText(kNothingToSave).arg(m_title), owner);
    return m_hasPage;
}

bool CZefastats2Doc::saveAs(QWidget* owner) {
    if (!hasPageToSave(owner)) return false;
    const QString proposed =
        m_pathName.isEmpty() ? m_title + "." + qText(kStatsFileSuffix) : m_pathName;
    const auto path = m_context.dialogs.chooseFileToSave(
        owner, {qText(kSaveAsTitle), qText(kStatsFileFilter), qText(kStatsFileSuffix), proposed});
    return path && OnSaveDocument(*path, owner);
}

bool CZefastats2Doc::OnSaveDocument(const QString& path, QWidget* owner) {
    if (!hasPageToSave(owner)) return false;
    const std::string target = pathBytes(path);
    m_context.settings.generation.outFile = target;
    if (const PageCopyResult copy = copyPage(pagePath(), target); !copy.ok()) {
        tellProblem(qText(copy.problem(pagePath(), target)), owner);
        return false;
    }
    m_pathName = path;
    m_context.settings.recentFiles.add(target);
    setTitle(QFileInfo(path).fileName());
    setModified(false);
    return true;
}

bool CZefastats2Doc::saveModified(QWidget* owner) {
    if (!m_modified) return true;
    const QString question = qText(kAskToSave).arg(m_title);
    switch (m_context.dialogs.askYesNoCancel(owner, {kAppTitle, question.toStdString()})) {
        case QMessageBox::Yes:
            return save(owner);
        case QMessageBox::No:
            return true;
        default:
            return false;
    }
}

void CZefastats2Doc::addView(CZefastats2View* view) {
    m_views.push_back(view);
    emit titleChanged();
}

void CZefastats2Doc::removeView(CZefastats2View* view) {
    std::erase(m_views, view);
    emit titleChanged();
    if (m_views.empty()) emit lastViewClosed();
}

void CZefastats2Doc::setModified(bool modified) {
    m_modified = modified;
    emit modifiedChanged(modified);
}

void CZefastats2Doc::setTitle(QString title) {
    m_title = std::move(title);
    emit titleChanged();
}

void CZefastats2Doc::tellProblem(const QString& problem, QWidget* owner) {
    if (!problem.isEmpty()) m_context.dialogs.tell(owner, {kAppTitle, problem.toStdString()});
}

}  // namespace zefa::desktop
