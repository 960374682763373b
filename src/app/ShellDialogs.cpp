#include "app/ShellDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

#include "app/CNewStatsWizard.h"
#include "app/QtText.h"
#include "resources/UiText.h"

namespace zefa {

namespace {

std::optional<QString> askForFile(QWidget* owner, const FileRequest& request,
                                  QFileDialog::AcceptMode mode) {
    QFileDialog dialog(owner, request.title, QString(), request.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    // A file to open is taken as chosen: the dialog would add the suffix to
    // the name of an existing file that has none, even under "All Files".
    if (mode == QFileDialog::AcceptSave) dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    // A stored path opens its folder with its file selected, even when the
    // file has gone since.
    if (!request.initialFile.isEmpty()) {
        const QFileInfo initial(request.initialFile);
        if (initial.isAbsolute()) dialog.setDirectory(initial.absolutePath());
        dialog.selectFile(initial.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

}  // namespace

std::optional<QString> chooseExistingFile(QWidget* owner, const FileRequest& request) {
    return askForFile(owner, request, QFileDialog::AcceptOpen);
}

FileRequest logFileRequest(const std::string& storedLog) {
    return {qText(ui::kSelectLogTitle), qText(ui::kLogFileFilter), qText(ui::kLogFileSuffix),
            qPath(storedLog)};
}

FileRequest themeFileRequest(const std::string& storedTheme) {
    return {qText(ui::kSelectThemeTitle), qText(ui::kThemeFileFilter), qText(ui::kThemeFileSuffix),
            qPath(storedTheme)};
}

ShellDialogs ShellDialogs::interactive() {
    return {
        .runWizard =
            [](GenerationSettings& settings, QWidget* owner) {
                CNewStatsWizard wizard(settings, owner);
                return wizard.exec() == QDialog::Accepted;
            },
        .chooseFileToOpen = chooseExistingFile,
        .chooseFileToSave =
            [](QWidget* owner, const FileRequest& request) {
                return askForFile(owner, request, QFileDialog::AcceptSave);
            },
        .tell =
            [](QWidget* owner, const UserMessage& message) {
                QMessageBox box(message.problem ? QMessageBox::Warning : QMessageBox::Information,
                                qText(message.caption), qText(message.text), QMessageBox::Ok,
                                owner);
                box.exec();
            },
        .askYesNoCancel =
            [](QWidget* owner, const UserMessage& message) {
                return QMessageBox::question(
                    owner, qText(message.caption), qText(message.text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
            },
    };
}

}  // namespace zefa
