#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "desktop/core/StatsDocument.h"

class QWidget;

namespace zefa::desktop {

class CZefastats2View;
struct ShellContext;

// One statistics page of the desktop program: generated from a console log
// and a theme into a file of its own in the temporary directory, shown by one
// or more views, saved as a copy. A saved page can also be opened just for
// viewing; it is then its own page file.
class CZefastats2Doc : public QObject {
    Q_OBJECT

public:
    CZefastats2Doc(ShellContext& context, QObject* parent);
    ~CZefastats2Doc() override;

    // File New: the wizard (with `proposedLog` filled in, if given, and the
    // built-in theme when none is stored), then the first generation run.
    // False when the wizard was cancelled or the run failed; its problem is
    // told to the user then.
    bool OnNewDocument(QWidget* owner, const std::optional<std::string>& proposedLog = {});
    // A saved page, for viewing; false (and told) when it cannot be read.
    bool openSavedPage(const QString& path, QWidget* owner);

    // Generates the page again from the document's log and theme; the
    // problem in words, empty when there was none.
    QString RunGeneration();
    // Every view shows the page as it is now.
    void updateAllViews() { emit updateRequested(); }
    void setLogFile(const std::string& path) { m_core.setLogFile(path); }
    void setThemeFile(const std::string& path) { m_core.setThemeFile(path); }
    // Whether a log is known to generate from: a page opened for viewing has none.
    [[nodiscard]] bool canRegenerate() const { return !m_core.logFile().empty(); }

    // Save: to the document's path, asking for one when it has none. A page
    // whose last run failed is not saved (and the user is told).
    bool save(QWidget* owner);
    bool saveAs(QWidget* owner);
    // Records the path as the stored output file and copies the page there.
    bool OnSaveDocument(const QString& path, QWidget* owner);
    // The "Save changes" question for a modified document; false for Cancel.
    bool saveModified(QWidget* owner);

    [[nodiscard]] const QString& title() const { return m_title; }
    [[nodiscard]] const QString& pathName() const { return m_pathName; }
    [[nodiscard]] bool isModified() const { return m_modified; }
    [[nodiscard]] std::filesystem::path pagePath() const;
    [[nodiscard]] QUrl pageUrl() const;
    [[nodiscard]] const StatsDocument& core() const { return m_core; }

    void addView(CZefastats2View* view);
    void removeView(CZefastats2View* view);
    [[nodiscard]] const std::vector<CZefastats2View*>& views() const { return m_views; }

signals:
    // Each view shows the page again (updateAllViews).
    void updateRequested();
    void titleChanged();
    // A generation run has ended, whether it made a page or not.
    void generated();
    void modifiedChanged(bool modified);
    // The last view has gone: nothing shows the document any more.
    void lastViewClosed();

private:
    void setModified(bool modified);
    void setTitle(QString title);
    void tellProblem(const QString& problem, QWidget* owner);
    [[nodiscard]] bool hasPageToSave(QWidget* owner);

    ShellContext& m_context;
    StatsDocument m_core;
    std::filesystem::path m_viewedPage;  // set for a saved page opened for viewing
    QString m_title;
    QString m_pathName;
    bool m_modified = false;
    bool m_hasPage = false;  // the page file holds a complete page
    std::vector<CZefastats2View*> m_views;
};

}  // namespace zefa::desktop
