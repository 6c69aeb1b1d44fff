#include "shell/autostart.h"

namespace kestrin {

std::string AutostartValueData(std::string_view exePath) {
    std::string data(exePath);
    if (data.find(' ') != std::string::npos) data = "\"" + data + "\"";
    return data;
}

AutostartPlan PlanAutostart(bool checked, bool wasOn) {
    AutostartPlan plan;
    plan.deleteValue = wasOn && !checked;
    plan.writeValue = checked && !wasOn;
    plan.wasOnAfter = checked;
    return plan;
}

}  // namespace kestrin
