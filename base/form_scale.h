// Forms at any display scale: the 96-DPI table scaled, then grown where a caption needs more
// room than the table gives it in the font actually used. No Win32 types here.
#pragma once

#include <vector>

#include "base/form_table.h"

namespace kestrin {

constexpr int kBaseDpi = 96;

// A length of the 96-DPI design at `dpi`, rounded to the nearest pixel.
int ScaleToDpi(int value, int dpi);
// The small icon (menus, notification area) at a DPI: 16, 20, 24, 32 at 96, 120, 144, 192.
int SmallIconSizeFor(int dpi);
int LargeIconSizeFor(int dpi);

// A control's rectangle in its parent's client coordinates, like the table's.
struct ControlBox {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    int Right() const { return x + w; }
};

struct FormLayout {
    int clientWidth = 0;
    int clientHeight = 0;
    std::vector<ControlBox> boxes;  // one per table row
};

// The table at `dpi`. Edges are scaled rather than sizes, so controls that touch or line up
// at 96 DPI still do.
FormLayout ScaleLayout(const FormDef& form, int dpi);

// Grows the controls whose caption needs more width than they have: needed[i] is the width
// row i's caption takes with its box, check mark or frame (0: nothing to fit). A control
// first takes the free room to its right within its row; past that, everything of its parent
// from that point on moves right, what spans the point (or ends where it does) widens, and
// the parent grows with it, up to the form. A group box widened from outside widens its own
// right-hand column the same way. Order and alignment stay; heights never change.
void GrowToFit(const FormDef& form, const std::vector<int>& needed, int dpi, FormLayout* layout);

}  // namespace kestrin
