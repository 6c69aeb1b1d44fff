#include "base/form_scale.h"

#include <algorithm>
#include <cstddef>

namespace kestrin {

int ScaleToDpi(int value, int dpi) {
    const long long scaled = static_cast<long long>(value) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + kBaseDpi / 2) / kBaseDpi : -((-scaled + kBaseDpi / 2) / kBaseDpi));
}

int SmallIconSizeFor(int dpi) { return ScaleToDpi(16, dpi); }
int LargeIconSizeFor(int dpi) { return ScaleToDpi(32, dpi); }

FormLayout ScaleLayout(const FormDef& form, int dpi) {
    FormLayout layout;
    layout.clientWidth = ScaleToDpi(form.clientWidth, dpi);
    layout.clientHeight = ScaleToDpi(form.clientHeight, dpi);
    layout.boxes.reserve(form.count);
    for (std::size_t i = 0; i < form.count; ++i) {
        const ControlDef& c = form.controls[i];
        ControlBox box;
        box.x = ScaleToDpi(c.x, dpi);
        box.y = ScaleToDpi(c.y, dpi);
        box.w = ScaleToDpi(c.x + c.w, dpi) - box.x;
        box.h = ScaleToDpi(c.y + c.h, dpi) - box.y;
        layout.boxes.push_back(box);
    }
    return layout;
}

namespace {

constexpr int kNoParent = -1;

// Design values at 96 DPI: a control ending this close before a seam lines up with it; the
// least gap between neighbours; what a group box's frame keeps free on its right.
constexpr int kAlignSlack = 4;
constexpr int kGap = 2;
constexpr int kGroupMargin = 4;

class Grower {
public:
    Grower(const FormDef& form, int dpi, FormLayout& layout)
        : form_(form), dpi_(dpi), layout_(layout), parents_(form.count, kNoParent) {
        for (std::size_t i = 0; i < form.count; ++i) {
            const ControlDef* parent = FindControl(form, form.controls[i].parent);
            if (parent) parents_[i] = static_cast<int>(parent - form.controls);
        }
    }

    void Fit(std::size_t row, int needed) {
        ControlBox& box = Box(static_cast<int>(row));
        if (needed <= box.w) return;
        const int room = std::max(box.w, RoomEnd(static_cast<int>(row)) - box.x);
        if (needed <= room) {
            box.w = needed;
            return;
        }
        const int seam = box.x + room;
        const int extra = needed - room;
        box.w = needed;
        GrowParents(static_cast<int>(row), seam, extra);
    }

    // The nesting depth of a row; children are fitted before their parents.
    int Depth(std::size_t row) const {
        int depth = 0;
        for (int p = parents_[row]; p != kNoParent && depth <= static_cast<int>(form_.count);
             p = parents_[static_cast<std::size_t>(p)])
            ++depth;
        return depth;
    }

private:
    ControlBox& Box(int row) { return layout_.boxes[static_cast<std::size_t>(row)]; }

    int ParentWidth(int parent) {
        return parent == kNoParent ? layout_.clientWidth : Box(parent).w - ScaleToDpi(kGroupMargin, dpi_);
    }

    // Where the row's free room ends: the nearest sibling to its right that shares a line
    // with it, less a gap, or its parent's inner edge.
    int RoomEnd(int row) {
        const ControlBox& box = Box(row);
        const int parent = parents_[static_cast<std::size_t>(row)];
        int end = ParentWidth(parent);
        for (std::size_t j = 0; j < form_.count; ++j) {
            if (static_cast<int>(j) == row || parents_[j] != parent) continue;
            const ControlBox& other = layout_.boxes[j];
            const bool sameLine = other.y < box.y + box.h && box.y < other.y + other.h;
            if (sameLine && other.x >= box.Right()) end = std::min(end, other.x - ScaleToDpi(kGap, dpi_));
        }
        return end;
    }

    // Moves the children of `parent` at or past the seam right by `extra` and widens those
    // spanning it or ending at it; `except` was sized already.
    void Widen(int parent, int seam, int extra, int except) {
        const int slack = ScaleToDpi(kAlignSlack, dpi_);
        for (std::size_t j = 0; j < form_.count; ++j) {
            if (parents_[j] != parent || static_cast<int>(j) == except) continue;
            ControlBox& box = layout_.boxes[j];
            if (box.x >= seam) {
                box.x += extra;
            } else if (box.Right() > seam - slack) {
                const int column = RightColumn(static_cast<int>(j));
                box.w += extra;
                if (column >= 0) Widen(static_cast<int>(j), column, extra, kNoParent - 1);
            }
        }
    }

    // A group box's right-hand column: the furthest left edge among its children that reach
    // its inner right edge. -1 for a control without children.
    int RightColumn(int row) {
        const int slack = ScaleToDpi(kAlignSlack, dpi_);
        const int inner = ParentWidth(row);
        int column = -1;
        for (std::size_t j = 0; j < form_.count; ++j)
            if (parents_[j] == row && layout_.boxes[j].Right() >= inner - slack)
                column = std::max(column, layout_.boxes[j].x);
        return column;
    }

    void GrowParents(int row, int seam, int extra) {
        int parent = parents_[static_cast<std::size_t>(row)];
        Widen(parent, seam, extra, row);
        for (int hops = 0; parent != kNoParent && hops <= static_cast<int>(form_.count); ++hops) {
            ControlBox& box = Box(parent);
            const int outerSeam = box.Right();
            box.w += extra;
            const int child = parent;
            parent = parents_[static_cast<std::size_t>(parent)];
            Widen(parent, outerSeam, extra, child);
        }
        layout_.clientWidth += extra;
    }

    const FormDef& form_;
    int dpi_;
    FormLayout& layout_;
    std::vector<int> parents_;
};

}  // namespace

void GrowToFit(const FormDef& form, const std::vector<int>& needed, int dpi, FormLayout* layout) {
    if (!layout || layout->boxes.size() != form.count) return;
    Grower grower(form, dpi, *layout);
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < form.count && i < needed.size(); ++i)
        if (needed[i] > 0) order.push_back(i);
    // Inner controls first: a group box sized for its children is then measured against its own row.
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return grower.Depth(a) > grower.Depth(b); });
    for (std::size_t row : order) grower.Fit(row, needed[row]);
}

}  // namespace kestrin
