#include "desktop/shell/CNewStatsWizard.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <optional>

#include "awards/AwardTable.h"
#include "desktop/settings/QtText.h"
#include "desktop/shell/DialogUnits.h"
#include "desktop/shell/UiText.h"

namespace zefa::desktop {

namespace {

QWidget* makeControl(ControlKind kind, const QString& text, QWidget* parent) {
    switch (kind) {
        case ControlKind::StaticText: {
            auto* label = new QLabel(text, parent);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(true);
            return label;
        }
        case ControlKind::PushButton:
        case ControlKind::DefaultPushButton: {
            auto* button = new QPushButton(text, parent);
            button->setDefault(kind == ControlKind::DefaultPushButton);
            return button;
        }
        case ControlKind::RadioButton:
            return new QRadioButton(text, parent);
        case ControlKind::VerticalProgressBar: {
            auto* bar = new QProgressBar(parent);
            bar->setOrientation(Qt::Vertical);  // fills from the bottom
            bar->setTextVisible(false);
            return bar;
        }
        case ControlKind::PathField: {
            auto* field = new QLineEdit(parent);
            field->setReadOnly(true);
            // Read-only as the platform shows it: on the dialog's own
            // colour, passed by Tab; the path can still be selected and copied.
            QPalette palette = field->palette();
            palette.setBrush(QPalette::Base, palette.brush(QPalette::Window));
            field->setPalette(palette);
            field->setFocusPolicy(Qt::ClickFocus);
            field->setAcceptDrops(true);  // it refuses the drop itself, so the wizard takes it
            return field;
        }
        case ControlKind::AwardList: {
            auto* list = new QTreeWidget(parent);
            list->setHeaderLabels({qText(kAwardColumn)});
            list->setHeaderHidden(true);
            // The column is as wide as the longest name needs when that is
            // more than its own width, so that no name is cut short in a
            // wider font.
            list->header()->setStretchLastSection(false);
            list->header()->setMinimumSectionSize(kAwardColumnWidth);
            list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
            list->setRootIsDecorated(false);
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            list->setSelectionBehavior(QAbstractItemView::SelectRows);
            list->setWordWrap(false);
            list->setUniformRowHeights(true);
            return list;
        }
    }
    return nullptr;
}

// The first file of a drop, when it is an existing local file.
std::optional<QString> droppedFile(const QMimeData* data) {
    const QList<QUrl> urls = data->urls();
    if (urls.isEmpty() || !urls.constFirst().isLocalFile()) return std::nullopt;
    QString file = urls.constFirst().toLocalFile();
    if (!QFileInfo(file).isFile()) return std::nullopt;
    return file;
}

// A path shows from its start, as a file dialog gives it.
void showPath(QLineEdit* field, const QString& path) {
    field->setText(path);
    field->setCursorPosition(0);
}

// Disables `from`; the keyboard focus it had goes to `to`, so that Enter
// presses the button that takes its place rather than whichever comes next.
void handOver(QPushButton* from, QPushButton* to) {
    if (from->window()->focusWidget() == from) to->setFocus();
    from->setEnabled(false);
}

}  // namespace

CNewStatsWizard::CNewStatsWizard(GenerationSettings& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
    setWindowTitle(qText(kWizardTitle));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(dialogFont());
    setAcceptDrops(true);
    createControls();
    bindControls();

    connect(m_next, &QPushButton::clicked, this, &CNewStatsWizard::next);
    connect(m_back, &QPushButton::clicked, this, &CNewStatsWizard::back);
    connect(m_checkAll, &QPushButton::clicked, this, &CNewStatsWizard::checkAll);
    connect(m_logSelect, &QPushButton::clicked, this, &CNewStatsWizard::selectLog);
    connect(m_themeSelect, &QPushButton::clicked, this, &CNewStatsWizard::selectTheme);
    connect(m_ok, &QPushButton::clicked, this, &CNewStatsWizard::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CNewStatsWizard::reject);

    OnInitDialog();
}

void CNewStatsWizard::setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

// Made in the layout's order, which the focus chain follows.
void CNewStatsWizard::createControls() {
    const DialogUnits units(font());
    setFixedSize(units.size(kWizardWidth, kWizardHeight));
    for (const ControlTemplate& row : kWizardControls) {
        QWidget* made = makeControl(row.kind, qText(row.text), this);
        made->setObjectName(qText(row.name));
        made->setGeometry(units.rect(row.left, row.top, row.width, row.height));
        made->setEnabled(row.enabled);
        if (row.page != kEveryPage) {
            made->hide();
            m_pageControls.emplace_back(row.page, made);
        }
    }
}

template <typename Control>
Control* CNewStatsWizard::control(WizardControl id) const {
    return findChild<Control*>(qText(controlTemplate(id).name), Qt::FindDirectChildrenOnly);
}

void CNewStatsWizard::bindControls() {
    m_olderVersion = control<QRadioButton>(WizardControl::OlderVersion);
    m_newerVersion = control<QRadioButton>(WizardControl::NewerVersion);
    m_detectVersion = control<QRadioButton>(WizardControl::DetectVersion);
    m_logPath = control<QLineEdit>(WizardControl::LogPath);
    m_logSelect = control<QPushButton>(WizardControl::LogSelect);
    m_themeSelect = control<QPushButton>(WizardControl::ThemeSelect);
    m_themePath = control<QLineEdit>(WizardControl::ThemePath);
    m_pageText = control<QLabel>(WizardControl::PageText);
    m_checkAll = control<QPushButton>(WizardControl::CheckAll);
    m_awardList = control<QTreeWidget>(WizardControl::AwardList);
    m_progress = control<QProgressBar>(WizardControl::Progress);
    m_ok = control<QPushButton>(WizardControl::Ok);
    m_cancel = control<QPushButton>(WizardControl::Cancel);
    m_next = control<QPushButton>(WizardControl::Next);
    m_back = control<QPushButton>(WizardControl::Back);
}

void CNewStatsWizard::OnInitDialog() {
    m_progress->setRange(0, m_lastPage);

    for (const AwardDefinition& definition : awardCatalogue()) {
        auto* item = new QTreeWidgetItem(m_awardList, {qText(definition.awardName)});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    }
    for (std::int32_t i = 0; i < kAwardCount; ++i)
        award(i)->setCheckState(0, m_settings.awardSelected[static_cast<std::size_t>(i)] != 0
                                       ? Qt::Checked
                                       : Qt::Unchecked);

    QRadioButton* version =
        m_settings.gameVersion == kGameVersionBeta1H ? m_olderVersion : m_newerVersion;
    (m_settings.detectVersion ? m_detectVersion : version)->setChecked(true);
    showPath(m_themePath, qPath(m_settings.themeFile));
    showPath(m_logPath, qPath(m_settings.logFile));
    ShowPage(m_currentPage);
}

void CNewStatsWizard::next() {
    if (!pageIsComplete()) return;
    ++m_currentPage;
    m_back->setEnabled(true);
    if (m_currentPage == m_lastPage) {
        m_ok->setEnabled(true);
        handOver(m_next, m_ok);
    }
    ShowPage(m_currentPage);
}

void CNewStatsWizard::back() {
    --m_currentPage;
    m_next->setEnabled(true);
    handOver(m_ok, m_next);
    if (m_currentPage == 0) handOver(m_back, m_next);
    ShowPage(m_currentPage);
}

// The last award alone decides: checked, every award is unchecked, else checked.
void CNewStatsWizard::checkAll() {
    const Qt::CheckState state =
        award(kAwardCount - 1)->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked;
    for (std::int32_t i = 0; i < kAwardCount; ++i) award(i)->setCheckState(0, state);
}

// Both dialogs start at the stored file, not at the one the field shows.
void CNewStatsWizard::selectLog() { selectFile(logFileRequest(m_settings.logFile), m_logPath); }

void CNewStatsWizard::selectTheme() {
    selectFile(themeFileRequest(m_settings.themeFile), m_themePath);
}

// The log's and the theme's page need a path before the wizard goes on.
bool CNewStatsWizard::pageIsComplete() {
    const QLineEdit* field = shownPathField();
    if (field == nullptr || !field->text().isEmpty()) return true;
    QMessageBox::warning(this, windowTitle(),
                         qText(field == m_logPath ? kChooseLogFirst : kChooseThemeFirst));
    return false;
}

void CNewStatsWizard::selectFile(const FileRequest& request, QLineEdit* field) {
    if (const auto chosen = m_chooseFile(this, request)) showPath(field, *chosen);
}

void CNewStatsWizard::ShowPage(std::int32_t page) {
    m_progress->setValue(m_currentPage);
    for (const auto& [shownOn, pageControl] : m_pageControls) pageControl->hide();
    for (const auto& [shownOn, pageControl] : m_pageControls)
        if (shownOn == page) pageControl->show();
    // On the summary a focused button does not take Enter from OK.
    for (QPushButton* button : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        button->setAutoDefault(page != m_lastPage);
    m_pageText->setText(page == m_lastPage
                            ? summaryText()
                            : qText(kWizardPageTexts[static_cast<std::size_t>(page)]));
}

QString CNewStatsWizard::summaryText() const {
    QStringList checked;
    for (std::int32_t i = 0; i < kAwardCount; ++i)
        if (award(i)->checkState(0) == Qt::Checked) checked << award(i)->text(0);
    const std::string_view version = m_detectVersion->isChecked()  ? kSummaryDetectVersion
                                     : m_olderVersion->isChecked() ? kSummaryOlderVersion
                                                                   : kSummaryNewerVersion;
    return qText(kSummaryIntro) + qText(kSummaryLog) + m_logPath->text() + qText(kSummaryTheme) +
           m_themePath->text() + qText(kSummaryVersion) + qText(version) + qText(kSummaryAwards) +
           checked.join(qText(kSummaryAwardSeparator));
}

void CNewStatsWizard::accept() {
    // With detection the version chosen last stays stored for older versions
    // of the program, which know no detection.
    m_settings.detectVersion = m_detectVersion->isChecked();
    if (!m_settings.detectVersion)
        m_settings.gameVersion =
            m_olderVersion->isChecked() ? kGameVersionBeta1H : kGameVersionBeta2;
    for (std::int32_t i = 0; i < kAwardCount; ++i)
        m_settings.awardSelected[static_cast<std::size_t>(i)] =
            award(i)->checkState(0) == Qt::Checked ? 1 : 0;
    m_settings.themeFile = pathBytes(m_themePath->text());
    m_settings.logFile = pathBytes(m_logPath->text());
    QDialog::accept();
}

QTreeWidgetItem* CNewStatsWizard::award(std::int32_t i) const {
    return m_awardList->topLevelItem(i);
}

QLineEdit* CNewStatsWizard::shownPathField() const {
    if (!m_logPath->isHidden()) return m_logPath;
    if (!m_themePath->isHidden()) return m_themePath;
    return nullptr;
}

void CNewStatsWizard::dragEnterEvent(QDragEnterEvent* event) {
    if (shownPathField() && droppedFile(event->mimeData())) event->acceptProposedAction();
}

void CNewStatsWizard::dropEvent(QDropEvent* event) {
    QLineEdit* field = shownPathField();
    const auto file = droppedFile(event->mimeData());
    if (!field || !file) return;
    showPath(field, *file);
    event->acceptProposedAction();
}

}  // namespace zefa::desktop
