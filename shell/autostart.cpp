#include "shell/autostart.h"

namespace kestrin {

std::string AutostartValueData(std::string_view exePath) {
    std::string data(exePath);
    if (data.find(' ') != std::string::npos) data = "\"" + data + "\"";
    return data;
}

AutostartPlan PlanAutostart(bool checked, int wasOn) {
    AutostartPlan plan;
    plan.wasOnAfter = wasOn;
    if (!checked && plan.wasOnAfter == 1) {
        plan.deleteValue = true;
        plan.wasOnAfter = 0;
    }
    if (checked && plan.wasOnAfter == 0) {
        plan.writeValue = true;
        plan.wasOnAfter = 1;
    }
    return plan;
}

}  // namespace kestrin
