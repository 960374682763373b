#pragma once

class QWidget;

namespace zefa::desktop {

class CZefastats2Doc;
class SeasonWindow;
struct ShellContext;

// File > Open Season...: asks for a season store and makes its pages; the
// window that shows them, not yet placed, or null when the choice was
// cancelled or the pages could not be made (that is told).
[[nodiscard]] SeasonWindow* openSeason(ShellContext& context, QWidget* owner);

// File > Add to Season...: asks for a season store (made when missing) and
// stores the document's console log in it; what became of it is told.
void addToSeason(ShellContext& context, const CZefastats2Doc& document, QWidget* owner);

}  // namespace zefa::desktop
