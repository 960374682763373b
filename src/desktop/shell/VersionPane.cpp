#include "desktop/shell/VersionPane.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "desktop/core/MessageText.h"
#include "desktop/settings/QtText.h"
#include "desktop/shell/UiText.h"

namespace zefa::desktop {

VersionPane::VersionPane(QWidget* parent)
    : QWidget(parent), m_text(new QLabel(this)), m_readAs(new QPushButton(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    layout->addWidget(m_readAs);
    m_text->setTextFormat(Qt::PlainText);
    // The button hides itself when clicked; with the focus it would pass the
    // focus on, and with it the active window, to another document's view.
    m_readAs->setFocusPolicy(Qt::NoFocus);
    connect(m_readAs, &QPushButton::clicked, this,
            [this] { emit readAsRequested(m_otherVersion); });
    hide();
}

void VersionPane::showReading(const std::optional<VersionReading>& reading) {
    setVisible(reading.has_value());
    if (!reading) return;
    m_otherVersion = reading->otherVersion();
    QString text = qText(reading->description());
    if (reading->otherReadsBetter)
        text +=
            QStringLiteral(" - ") + qText(fillIn(kReadsBetterNotice, versionName(m_otherVersion)));
    m_text->setText(text);
    m_readAs->setText(qText(m_otherVersion == kGameVersionBeta2 ? kReadAsNewer : kReadAsOlder));
    m_readAs->setVisible(reading->otherReadsBetter);
}

QString VersionPane::text() const { return m_text->text(); }

}  // namespace zefa::desktop
