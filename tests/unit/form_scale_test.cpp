#include "base/form_scale.h"

#include "settings/layout.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <vector>

using namespace kestrin;

namespace {

using K = ControlKind;

// One row: a label with an edit beside it; under them a group box holding a label, a
// "usb" button on its line and an edit spanning both, and a check box level with the group.
const ControlDef kControls[] = {
    {0, "Label1", K::Label, "", 10, 10, 50, 13, kNoTabStop, "Name:"},
    {1, "Edit1", K::Edit, "", 70, 8, 100, 21, 0},
    {2, "Group1", K::GroupBox, "", 10, 40, 170, 100, 1, "Group"},
    {3, "Label2", K::Label, "Group1", 8, 16, 120, 13, kNoTabStop, "Icon file:"},
    {4, "Button1", K::Button, "Group1", 140, 16, 26, 16, kNoTabStop, "usb"},
    {5, "Edit2", K::Edit, "Group1", 8, 34, 141, 21, 0},
    {6, "CheckBox1", K::CheckBox, "", 10, 150, 170, 17, 2, "Start"},
};
const FormDef kForm = {"Form1", "", 180, 180, FormBorder::FixedNoButtons, "", 8, kControls, std::size(kControls)};

std::vector<int> Needs(std::initializer_list<std::pair<int, int>> rows) {
    std::vector<int> needed(kForm.count, 0);
    for (const auto& [row, width] : rows) needed[static_cast<size_t>(row)] = width;
    return needed;
}

}  // namespace

TEST(FormScale, ScalesLengthsToTheNearestPixel) {
    const struct {
        int value, dpi, expected;
    } cases[] = {{16, 96, 16},  {16, 120, 20}, {16, 144, 24}, {16, 192, 32}, {13, 120, 16},
                 {13, 144, 20}, {21, 120, 26}, {1, 144, 2},   {0, 192, 0},   {-5, 144, -8}};
    for (const auto& c : cases) EXPECT_EQ(ScaleToDpi(c.value, c.dpi), c.expected) << c.value << " at " << c.dpi;
    EXPECT_EQ(SmallIconSizeFor(120), 20);
    EXPECT_EQ(LargeIconSizeFor(144), 48);
}

TEST(FormScale, NeighboursThatTouchStillTouchAtEveryScale) {
    for (int dpi : {96, 120, 144, 168, 192}) {
        const FormLayout layout = ScaleLayout(kSettingsForm, dpi);
        for (size_t i = 0; i < kSettingsForm.count; ++i)
            for (size_t j = 0; j < kSettingsForm.count; ++j) {
                const ControlDef &a = kSettingsForm.controls[i], &b = kSettingsForm.controls[j];
                if (std::string(a.parent) != b.parent) continue;
                if (a.x + a.w == b.x) {
                    EXPECT_EQ(layout.boxes[i].Right(), layout.boxes[j].x) << a.name << b.name << dpi;
                }
                if (a.x + a.w == b.x + b.w) {
                    EXPECT_EQ(layout.boxes[i].Right(), layout.boxes[j].Right()) << a.name << b.name << dpi;
                }
            }
        EXPECT_EQ(layout.clientWidth, ScaleToDpi(kSettingsForm.clientWidth, dpi));
    }
}

TEST(FormScale, GrowsOnlyAsFarAsTheCaptionsNeed) {
    struct Expect {
        int row, x, w;
    };
    const struct {
        const char* what;
        std::vector<int> needed;
        int clientWidth;
        std::vector<Expect> boxes;
    } cases[] = {
        {"everything fits",
         Needs({{0, 40}, {3, 120}, {6, 100}}),
         180,
         {{0, 10, 50}, {1, 70, 100}, {2, 10, 170}, {3, 8, 120}, {4, 140, 26}, {6, 10, 170}}},
        {"a label takes the room before its neighbour", Needs({{0, 58}}), 180, {{0, 10, 58}, {1, 70, 100}}},
        {"past the room the neighbour moves; what spans the point widens, so does the form",
         Needs({{0, 78}}),
         200,
         {{0, 10, 78}, {1, 90, 100}, {2, 10, 190}, {6, 10, 190}, {4, 160, 26}}},
        {"a group's label moves its right column, widens what spans it and the group",
         Needs({{3, 150}}),
         200,
         {{3, 8, 150}, {4, 160, 26}, {5, 8, 161}, {2, 10, 190}, {6, 10, 190}, {1, 70, 100}, {0, 10, 50}}},
        {"a group widened from outside widens its right-hand column",
         Needs({{6, 200}}),
         210,
         {{6, 10, 200}, {2, 10, 200}, {4, 170, 26}, {5, 8, 171}, {3, 8, 120}}},
    };
    for (const auto& c : cases) {
        FormLayout layout = ScaleLayout(kForm, 96);
        GrowToFit(kForm, c.needed, 96, &layout);
        EXPECT_EQ(layout.clientWidth, c.clientWidth) << c.what;
        EXPECT_EQ(layout.clientHeight, 180) << c.what;
        for (const Expect& e : c.boxes) {
            EXPECT_EQ(layout.boxes[static_cast<size_t>(e.row)].x, e.x) << c.what << ", row " << e.row;
            EXPECT_EQ(layout.boxes[static_cast<size_t>(e.row)].w, e.w) << c.what << ", row " << e.row;
        }
    }
}

// Whatever the captions need, the settings window keeps its order: every caption fits, nothing
// that was apart comes to overlap, left-to-right order and tops stay, and all stays inside.
TEST(FormScale, SettingsWindowGrownForAnyCaptionsKeepsItsOrder) {
    std::mt19937 random(20);
    for (int round = 0; round < 200; ++round) {
        const int dpi = (round % 4 == 0) ? 96 : (round % 4 == 1) ? 120 : (round % 4 == 2) ? 144 : 192;
        const FormLayout scaled = ScaleLayout(kSettingsForm, dpi);
        std::vector<int> needed(kSettingsForm.count, 0);
        for (size_t i = 0; i < needed.size(); ++i)
            if (kSettingsForm.controls[i].text[0] && random() % 3 == 0)
                needed[i] = scaled.boxes[i].w + static_cast<int>(random() % 80) - 20;
        FormLayout grown = scaled;
        GrowToFit(kSettingsForm, needed, dpi, &grown);
        for (size_t i = 0; i < kSettingsForm.count; ++i) {
            const ControlDef& a = kSettingsForm.controls[i];
            const ControlBox &g = grown.boxes[i], &s = scaled.boxes[i];
            EXPECT_GE(g.w, needed[i]) << a.name;
            EXPECT_GE(g.w, s.w) << a.name;
            EXPECT_GE(g.x, s.x) << a.name;
            EXPECT_EQ(g.y, s.y) << a.name;
            EXPECT_EQ(g.h, s.h) << a.name;
            const int parentWidth =
                a.parent[0]
                    ? grown.boxes[static_cast<size_t>(FindControl(kSettingsForm, a.parent) - kSettingsForm.controls)].w
                    : grown.clientWidth;
            EXPECT_LE(g.Right(), parentWidth) << a.name;
            for (size_t j = 0; j < kSettingsForm.count; ++j) {
                const ControlDef& b = kSettingsForm.controls[j];
                if (i == j || std::string(a.parent) != b.parent) continue;
                const ControlBox &h = grown.boxes[j], &t = scaled.boxes[j];
                const bool apartBefore = s.Right() <= t.x || t.Right() <= s.x || s.y + s.h <= t.y || t.y + t.h <= s.y;
                const bool apartAfter = g.Right() <= h.x || h.Right() <= g.x || g.y + g.h <= h.y || h.y + h.h <= g.y;
                if (apartBefore) {
                    EXPECT_TRUE(apartAfter) << a.name << " and " << b.name << " at " << dpi;
                }
                if (s.x < t.x) {
                    EXPECT_LE(g.x, h.x) << a.name << " and " << b.name;
                }
            }
        }
    }
}
