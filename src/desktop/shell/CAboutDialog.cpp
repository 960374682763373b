#include "desktop/shell/CAboutDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>

#include "desktop/core/MessageText.h"
#include "desktop/settings/QtText.h"
#include "desktop/shell/AboutBoxDialog.h"
#include "desktop/shell/AppIcon.h"
#include "desktop/shell/CCreditsScroller.h"
#include "desktop/shell/DialogUnits.h"

namespace zefa::desktop {

namespace {

// The credits are formatted into a buffer of this many bytes, its end included.
constexpr std::size_t kCreditsCapacity = 2048;
static_assert(kCreditsPattern.size() - 2 + kAppVersion.size() < kCreditsCapacity,
              "the credits with the version must fit their buffer");

std::string formatCredits() {
    std::string text(kCreditsPattern);
    text.replace(text.find("%s"), 2, kAppVersion);
    return text;
}

QRect place(const DialogUnits& units, const DialogRect& rect) {
    return units.rect(rect.left, rect.top, rect.width, rect.height);
}

}  // namespace

CAboutDialog::CAboutDialog(QWidget* parent)
    : QDialog(parent), m_scroller(new CCreditsScroller(this)), creditsText(formatCredits()) {
    setWindowTitle(qText(kAboutTitle));
    setFont(dialogFont());
    const DialogUnits units(font());
    setFixedSize(units.size(kAboutWidth, kAboutHeight));

    auto* icon = new QLabel(this);
    icon->setGeometry(place(units, kAboutIconRect));
    const int side = std::min(icon->width(), icon->height());
    icon->setPixmap(appIcon().pixmap(QSize(side, side), devicePixelRatioF()));

    m_scroller->setGeometry(place(units, kAboutCreditsRect));
    m_scroller->SetCredits(qText(creditsText), u'|');
    m_scroller->SetSpeed(0, 0);

    auto* ok = new QPushButton(qText(kAboutOk), this);
    ok->setGeometry(place(units, kAboutOkRect));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

// Every opening of the box starts the roll from its first line.
void CAboutDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) m_scroller->StartScrolling();
    QDialog::showEvent(event);
}

}  // namespace zefa::desktop
