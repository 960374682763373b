#pragma once

#include <string_view>

namespace zefa {

struct Page;

// Expands one theme line that is none of a loop's own tags. The loops hand
// such lines back to the page writer through it, which may start further
// loops in turn.
class LineExpander {
public:
    virtual void ExpandLine(Page& page, std::string_view line) const = 0;

protected:
    ~LineExpander() = default;
};

}  // namespace zefa
