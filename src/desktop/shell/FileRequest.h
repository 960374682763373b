#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace zefa::desktop {

// What a file dialog asks for.
struct FileRequest {
    QString title;
    QString filter;                // Qt's form: "Name (*.ext);;All Files (*)"
    QString defaultSuffix;         // added to a name without one when saving
    QString initialFile;           // where the dialog starts; empty: the current folder
    bool confirmOverwrite = true;  // saving to an existing file asks first
};

// Asks the user for a file on behalf of `owner`: the chosen path, or nothing
// when cancelled.
using FileChooser = std::function<std::optional<QString>(QWidget* owner, const FileRequest&)>;

// The platform's modal dialogs for one existing file, for a file to save to
// and for a folder (made in the dialog when new; the filter and suffix are
// not used).
[[nodiscard]] std::optional<QString> chooseExistingFile(QWidget* owner, const FileRequest& request);
[[nodiscard]] std::optional<QString> chooseSaveFile(QWidget* owner, const FileRequest& request);
[[nodiscard]] std::optional<QString> chooseFolder(QWidget* owner, const FileRequest& request);

// The requests for a console log and for a theme, starting at the stored path.
[[nodiscard]] FileRequest logFileRequest(const std::string& storedLog);
[[nodiscard]] FileRequest themeFileRequest(const std::string& storedTheme);

}  // namespace zefa::desktop
