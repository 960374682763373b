#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>

#include "desktop/core/VersionReading.h"

class QLabel;
class QPushButton;

namespace zefa::desktop {

// The status bar's pane that tells which message set the active document's
// log was read with. When the other set reads the log better, it says so and
// offers to read it that way with one click.
class VersionPane : public QWidget {
    Q_OBJECT

public:
    explicit VersionPane(QWidget* parent = nullptr);

    // Hidden while no generated document is active.
    void showReading(const std::optional<VersionReading>& reading);

    [[nodiscard]] QString text() const;
    [[nodiscard]] QPushButton* readAsButton() const { return m_readAs; }

signals:
    void readAsRequested(std::int32_t version);

private:
    QLabel* m_text;
    QPushButton* m_readAs;
    std::int32_t m_otherVersion = kGameVersionBeta2;
};

}  // namespace zefa::desktop
