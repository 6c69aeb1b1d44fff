// The settings window and the icon picker as tables. Code finds a control by its role; the
// identity column is how probes and tests find the same control from outside.
#pragma once

#include <cstddef>

#include "base/form_table.h"

namespace kestrin {

enum class SettingsControl {
    Tree,
    HomePageLabel,
    HomePageLink,
    Autostart,
    HotkeyLabel,
    Hotkey,
    ItemGroup,
    PipeHint,
    Export,
    Import,
    Ok,
    Cancel,
    Kind,
    TitleLabel,
    TitleEdit,
    CommandLabel,
    CommandUsb,
    CommandEdit,
    CommandBrowse,
    ParametersLabel,
    ParametersEdit,
    DirectoryLabel,
    DirectoryUsb,
    DirectoryEdit,
    DirectoryBrowse,
    IconFileLabel,
    IconFileUsb,
    IconFileEdit,
    IconFileBrowse,
    IconIndexLabel,
    IconIndexEdit,
    IconPick,
    ShowState,
    MoveUp,
    MoveOutOfSubmenu,
    CtrlLabel,
    MoveIntoSubmenu,
    MoveDown,
    Duplicate,
    New,
    Delete,
};
constexpr int kSettingsControlCount = static_cast<int>(SettingsControl::Delete) + 1;

enum class IconPickerControl { IconList };

extern const FormDef kSettingsForm;
extern const FormDef kIconPickerForm;

}  // namespace kestrin
