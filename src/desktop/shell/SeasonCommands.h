#pragma once

#include <functional>
#include <string>

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
// stores the document's console log in it; what became of it is told. When
// the store holds one match more, `stored` is called with it first.
void addToSeason(ShellContext& context, const CZefastats2Doc& document, QWidget* owner,
                 const std::function<void(const std::string& store)>& stored);

// File > Save Site As...: asks for a folder and writes the site of the
// window's season into it; what became of it is told.
void saveSiteAs(ShellContext& context, const SeasonWindow& window, QWidget* owner);

}  // namespace zefa::desktop
