#include "app/CAboutDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>

#include "app/AppIcon.h"
#include "app/CCreditsScroller.h"
#include "app/DialogUnits.h"
#include "app/QtText.h"
#include "resources/AboutBoxLayout.h"
#include "resources/UiText.h"

namespace zefa {

namespace {

// The credits are formatted into a buffer of this many bytes, its end included.
constexpr std::size_t kCreditsCapacity = 2048;
static_assert(ui::kCreditsPattern.size() - 2 + ui::kAppVersion.size() < kCreditsCapacity,
              "the credits with the version must fit their buffer");

std::string formatCredits() {
    std::string text(ui::kCreditsPattern);
    text.replace(text.find("%s"), 2, ui::kAppVersion);
    return text;
}

QRect place(const DialogUnits& units, const layout::DialogRect& rect) {
    return units.rect(rect.left, rect.top, rect.width, rect.height);
}

}  // namespace

CAboutDialog::CAboutDialog(QWidget* parent)
    : QDialog(parent), scroller(new CCreditsScroller(this)), creditsText(formatCredits()) {
    setWindowTitle(qText(ui::kAboutTitle));
    setFont(dialogFont());
    const DialogUnits units(font());
    setFixedSize(units.size(layout::kAboutWidth, layout::kAboutHeight));

    auto* icon = new QLabel(this);
    icon->setGeometry(place(units, layout::kAboutIcon));
    const int side = std::min(icon->width(), icon->height());
    icon->setPixmap(appIcon().pixmap(QSize(side, side), devicePixelRatioF()));

    scroller->setGeometry(place(units, layout::kAboutCredits));
    scroller->SetCredits(qText(creditsText), u'|');
    scroller->SetSpeed(0, 0);

    auto* ok = new QPushButton(qText(ui::kAboutOk), this);
    ok->setGeometry(place(units, layout::kAboutOk));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

// Every opening of the box starts the roll from its first line.
void CAboutDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) scroller->StartScrolling();
    QDialog::showEvent(event);
}

}  // namespace zefa
