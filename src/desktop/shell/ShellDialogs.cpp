#include "desktop/shell/ShellDialogs.h"

#include "desktop/settings/QtText.h"
#include "desktop/shell/CNewStatsWizard.h"

namespace zefa::desktop {

ShellDialogs ShellDialogs::interactive() {
    return {
        .runWizard =
            [](GenerationSettings& settings, QWidget* owner) {
                CNewStatsWizard wizard(settings, owner);
                return wizard.exec() == QDialog::Accepted;
            },
        .chooseFileToOpen = chooseExistingFile,
        .chooseFileToSave = chooseSaveFile,
        .chooseFolder = zefa::desktop::chooseFolder,
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

}  // namespace zefa::desktop
