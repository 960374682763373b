#include "desktop/shell/FileRequest.h"

#include <QFileDialog>
#include <QFileInfo>

#include "desktop/settings/QtText.h"
#include "desktop/shell/UiText.h"

namespace zefa::desktop {

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

std::optional<QString> chooseSaveFile(QWidget* owner, const FileRequest& request) {
    return askForFile(owner, request, QFileDialog::AcceptSave);
}

std::optional<QString> chooseFolder(QWidget* owner, const FileRequest& request) {
    const QString folder =
        QFileDialog::getExistingDirectory(owner, request.title, request.initialFile);
    if (folder.isEmpty()) return std::nullopt;
    return folder;
}

FileRequest logFileRequest(const std::string& storedLog) {
    return {qText(kSelectLogTitle), qText(kLogFileFilter), qText(kLogFileSuffix), qPath(storedLog)};
}

FileRequest themeFileRequest(const std::string& storedTheme) {
    return {qText(kSelectThemeTitle), qText(kThemeFileFilter), qText(kThemeFileSuffix),
            qPath(storedTheme)};
}

}  // namespace zefa::desktop
