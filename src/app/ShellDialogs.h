#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>
#include <optional>

#include "app/BatchRun.h"
#include "app/GenerationSettings.h"

class QWidget;

namespace zefa {

// What a file dialog asks for.
struct FileRequest {
    QString title;
    QString filter;         // Qt's form: "Name (*.ext);;All Files (*)"
    QString defaultSuffix;  // added to a typed name without one
    QString initialFile;
};

// The modal dialogs the windows open, each replaceable so that the windows
// can be driven without a person at the keyboard.
struct ShellDialogs {
    // The wizard; true when it ended with OK and stored its choices.
    std::function<bool(GenerationSettings& settings, QWidget* owner)> runWizard;
    // An existing file to open, or nothing when cancelled.
    std::function<std::optional<QString>(QWidget* owner, const FileRequest&)> chooseFileToOpen;
    // A file to save to, or nothing when cancelled.
    std::function<std::optional<QString>(QWidget* owner, const FileRequest&)> chooseFileToSave;
    // A message with an OK button.
    std::function<void(QWidget* owner, const UserMessage&)> tell;
    // A question answered with Yes, No or Cancel.
    std::function<QMessageBox::StandardButton(QWidget* owner, const UserMessage&)> askYesNoCancel;

    // The real dialogs.
    static ShellDialogs interactive();
};

}  // namespace zefa
