#include "base/form_table.h"

#include <algorithm>

namespace kestrin {

const ControlDef* FindControl(const FormDef& form, std::string_view name) {
    for (std::size_t i = 0; i < form.count; ++i)
        if (name == form.controls[i].name) return &form.controls[i];
    return nullptr;
}

int ControlId(const FormDef& form, std::string_view name) {
    const ControlDef* def = FindControl(form, name);
    return def ? kFirstControlId + static_cast<int>(def - form.controls) : 0;
}

const ControlDef* ControlById(const FormDef& form, int id) {
    const long long row = static_cast<long long>(id) - kFirstControlId;
    if (row < 0 || row >= static_cast<long long>(form.count)) return nullptr;
    return &form.controls[row];
}

std::vector<std::string> SplitItems(std::string_view text) {
    std::vector<std::string> items;
    if (text.empty()) return items;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        items.emplace_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return items;
}

std::vector<std::size_t> CreationOrder(const FormDef& form) {
    // The children of one parent: tab stops by tab order, then the rest in table order.
    auto childrenOf = [&](std::string_view parent) {
        std::vector<std::size_t> children;
        for (std::size_t i = 0; i < form.count; ++i)
            if (parent == form.controls[i].parent) children.push_back(i);
        std::stable_sort(children.begin(), children.end(), [&](std::size_t a, std::size_t b) {
            const int ta = form.controls[a].tabOrder, tb = form.controls[b].tabOrder;
            if ((ta < 0) != (tb < 0)) return tb < 0;
            return ta >= 0 && ta < tb;
        });
        return children;
    };

    // Pre-order walk with an explicit stack, so a group box is followed by its contents.
    std::vector<std::size_t> order;
    std::vector<bool> placed(form.count, false);
    std::vector<std::size_t> stack;
    auto pushChildren = [&](std::string_view parent) {
        const std::vector<std::size_t> children = childrenOf(parent);
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            if (!placed[*it]) stack.push_back(*it);
    };
    pushChildren("");
    while (!stack.empty()) {
        const std::size_t i = stack.back();
        stack.pop_back();
        if (placed[i]) continue;
        placed[i] = true;
        order.push_back(i);
        pushChildren(form.controls[i].name);
    }
    // A control whose parent is missing from the table still gets a window, last.
    for (std::size_t i = 0; i < form.count; ++i)
        if (!placed[i]) order.push_back(i);
    return order;
}

}  // namespace kestrin
