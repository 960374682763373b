#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "app/BatchRun.h"
#include "app/GenerationSettings.h"

class QWidget;

namespace zefa {

// What a file dialog asks for.
struct FileRequest {
    QString title;
    QString filter;         // Qt's form: "Name (*.ext);;All Files (*)"
    QString defaultSuffix;  // added to a name without one when saving
    QString initialFile;    // where the dialog starts; empty: the current folder
    bool confirmOverwrite = true;  // saving to an existing file asks first
};

// Asks the user for a file on behalf of `owner`: the chosen path, or nothing
// when cancelled.
using FileChooser = std::function<std::optional<QString>(QWidget* owner, const FileRequest&)>;

// The platform's modal dialog for one existing file.
[[nodiscard]] std::optional<QString> chooseExistingFile(QWidget* owner, const FileRequest& request);

// The requests for a console log and for a theme, starting at the stored path.
[[nodiscard]] FileRequest logFileRequest(const std::string& storedLog);
[[nodiscard]] FileRequest themeFileRequest(const std::string& storedTheme);

// The modal dialogs the windows open, each replaceable so that the windows
// can be driven without a person at the keyboard.
struct ShellDialogs {
    // The wizard; true when it ended with OK and stored its choices.
    std::function<bool(GenerationSettings& settings, QWidget* owner)> runWizard;
    // An existing file to open, or nothing when cancelled.
    FileChooser chooseFileToOpen;
    // A file to save to, or nothing when cancelled.
    FileChooser chooseFileToSave;
    // A message with an OK button.
    std::function<void(QWidget* owner, const UserMessage&)> tell;
    // A question answered with Yes, No or Cancel.
    std::function<QMessageBox::StandardButton(QWidget* owner, const UserMessage&)> askYesNoCancel;

    // The real dialogs.
    static ShellDialogs interactive();
};

}  // namespace zefa
