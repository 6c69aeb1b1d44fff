#include "settings/icon_picker.h"

#include "core/launch.h"

namespace kestrin {

std::string IconPickerFile(std::string_view iconFile, std::string_view command, std::string_view exeFolder,
                           std::string_view exeDrive) {
    if (iconFile.empty()) return ExpandDrive(command, exeDrive);
    // Only the lower-case placeholder marks a drive-independent path here. A network path is
    // whole as it stands: put under the program's folder it would name nothing.
    const bool network = iconFile.substr(0, 2) == "\\\\";
    if (!network && iconFile.find("%usb%") == std::string_view::npos && iconFile.find(":\\") == std::string_view::npos)
        return std::string(exeFolder) + std::string(iconFile);
    return ExpandDrive(iconFile, exeDrive);
}

int PresetSelection(int count, int storedIndex) {
    if (storedIndex >= 0 && storedIndex < count) return storedIndex;
    if (storedIndex == -1) return -1;
    return count > 0 ? 0 : -1;
}

std::optional<int> PickedIconIndex(int count, int selection) {
    if (count <= 0) return std::nullopt;
    return selection;
}

CellSize IconCellSize(int iconWidth, int iconHeight, int margin) { return {iconWidth + margin, iconHeight + margin}; }

Offset CentredIconOffset(CellSize cell, int iconWidth, int iconHeight) {
    return {(cell.width - iconWidth) / 2, (cell.height - iconHeight) / 2};
}

}  // namespace kestrin
