// The seven settings-tree edits the tree benchmarks time, by number.
#pragma once

#include "settings/item_form.h"

namespace kestrin {

inline const char* const kTreeOps[] = {"up", "down", "right", "left", "new", "duplicate", "delete"};

inline void RunTreeOp(ItemForm& form, int op) {
    switch (op) {
    case 0: form.OnMoveUp(); break;
    case 1: form.OnMoveDown(); break;
    case 2: form.OnMoveIntoSubmenu(); break;
    case 3: form.OnMoveOutOfSubmenu(); break;
    case 4: form.OnNew(); break;
    case 5: form.OnDuplicate(); break;
    case 6: form.OnDelete(); break;
    }
}

}  // namespace kestrin
