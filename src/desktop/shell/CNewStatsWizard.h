#pragma once

#include <QDialog>
#include <cstdint>
#include <utility>
#include <vector>

#include "desktop/core/GenerationSettings.h"
#include "desktop/shell/FileRequest.h"
#include "desktop/shell/NewStatsWizardDialog.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zefa::desktop {

// The New stats file wizard: six pages, walked in order with Next and Back,
// that ask for the console log, the theme, the awards and the game version
// and end with a summary. It starts from `settings` and stores the choices
// back into it only when the user presses OK. Next does not leave the log's or
// the theme's page while its path is empty, and says why; on the summary
// Enter means OK.
class CNewStatsWizard : public QDialog {
    Q_OBJECT

public:
    CNewStatsWizard(GenerationSettings& settings, QWidget* parent = nullptr);

    // The two Select buttons ask this; the platform's file dialog by default.
    void setFileChooser(FileChooser chooser);

    // OK: stores the game version, the awards, the theme and the log, in
    // that order, and closes the wizard.
    void accept() override;

protected:
    // A file dropped on the wizard fills the path field of the page shown.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createControls();
    void bindControls();
    void OnInitDialog();
    template <typename Control>
    [[nodiscard]] Control* control(WizardControl id) const;

    // The buttons Next, Back, [Un]Check All and the two Select buttons.
    void next();
    void back();
    void checkAll();
    void selectLog();
    void selectTheme();
    void ShowPage(std::int32_t page);

    [[nodiscard]] bool pageIsComplete();
    void selectFile(const FileRequest& request, QLineEdit* field);
    [[nodiscard]] QLineEdit* shownPathField() const;
    [[nodiscard]] QTreeWidgetItem* award(std::int32_t i) const;
    [[nodiscard]] QString summaryText() const;

    QRadioButton* m_olderVersion = nullptr;
    QRadioButton* m_newerVersion = nullptr;
    QRadioButton* m_detectVersion = nullptr;
    QLineEdit* m_logPath = nullptr;
    QPushButton* m_logSelect = nullptr;
    QPushButton* m_themeSelect = nullptr;
    QLineEdit* m_themePath = nullptr;
    QLabel* m_pageText = nullptr;
    QPushButton* m_checkAll = nullptr;
    QTreeWidget* m_awardList = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_back = nullptr;
    std::int32_t m_currentPage = 0;
    std::int32_t m_lastPage = kWizardLastPage;

    GenerationSettings& m_settings;
    FileChooser m_chooseFile = chooseExistingFile;
    // The controls that show on one page only, with their page.
    std::vector<std::pair<std::int32_t, QWidget*>> m_pageControls;
};

}  // namespace zefa::desktop
