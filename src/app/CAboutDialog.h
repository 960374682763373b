#pragma once

#include <QDialog>

namespace zefa {

// Placeholder until the About box lands.
class CAboutDialog : public QDialog {
public:
    explicit CAboutDialog(QWidget* parent = nullptr) : QDialog(parent) {
        setWindowTitle(QStringLiteral("About Zefa Stats 2"));
    }
};

}  // namespace zefa
