#include "app/ShellDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

#include "app/CNewStatsWizard.h"
#include "app/QtText.h"

namespace zefa {

namespace {

std::optional<QString> askForFile(QWidget* owner, const FileRequest& request,
                                  QFileDialog::AcceptMode mode) {
    QFileDialog dialog(owner, request.title, QString(), request.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.initialFile.isEmpty()) {
        const QFileInfo initial(request.initialFile);
        if (initial.isAbsolute()) dialog.setDirectory(initial.absolutePath());
        dialog.selectFile(initial.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

}  // namespace

ShellDialogs ShellDialogs::interactive() {
    return {
        .runWizard =
            [](GenerationSettings& settings, QWidget* owner) {
                CNewStatsWizard wizard(settings, owner);
                return wizard.exec() == QDialog::Accepted;
            },
        .chooseFileToOpen =
            [](QWidget* owner, const FileRequest& request) {
                return askForFile(owner, request, QFileDialog::AcceptOpen);
            },
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
