#pragma once

#include <QMessageBox>
#include <functional>

#include "desktop/core/GenerationSettings.h"
#include "desktop/core/UserMessage.h"
#include "desktop/shell/FileRequest.h"

class QWidget;

namespace zefa::desktop {

// The modal dialogs the windows open, each replaceable so that the windows
// can be driven without a person at the keyboard.
struct ShellDialogs {
    // The wizard; true when it ended with OK and stored its choices.
    std::function<bool(GenerationSettings& settings, QWidget* owner)> runWizard;
    // An existing file to open, or nothing when cancelled.
    FileChooser chooseFileToOpen;
    // A file to save to, or nothing when cancelled.
    FileChooser chooseFileToSave;
    // A folder to write into, or nothing when cancelled.
    FileChooser chooseFolder;
    // A message with an OK button.
    std::function<void(QWidget* owner, const UserMessage&)> tell;
    // A question answered with Yes, No or Cancel.
    std::function<QMessageBox::StandardButton(QWidget* owner, const UserMessage&)> askYesNoCancel;

    // The real dialogs.
    static ShellDialogs interactive();
};

}  // namespace zefa::desktop
