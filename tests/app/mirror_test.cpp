// Pages for a language written right to left are the others seen in a mirror:
// every control and text anchor stands as far from the right edge as it
// stood from the left, and the compass keeps its place.
#include <gtest/gtest.h>

#include <array>

#include "app/layout.h"

namespace orvano::testing {
namespace {

constexpr std::array<int, 3> kDpis = {96, 144, 192};

Rect ClientAt(int dpi) {
    return Rect{0, 0, ScaleForDpi(kLayoutClientWidth, dpi), ScaleForDpi(kLayoutClientHeight, dpi)};
}

TEST(MirroredLayoutTest, ControlsStandAtTheirMirrorPlaces) {
    for (const int dpi : kDpis) {
        const Rect client = ClientAt(dpi);
        const PageLayout ltr = MakeLayout(client, dpi, dpi);
        const PageLayout rtl = MakeLayout(client, dpi, dpi, true);
        for (int i = 0; i < kSlotCount; ++i) {
            const Box& a = ltr.controls[static_cast<size_t>(i)].box;
            const Box& b = rtl.controls[static_cast<size_t>(i)].box;
            SCOPED_TRACE(std::string(SlotName(static_cast<Slot>(i))) + " at " +
                         std::to_string(dpi));
            EXPECT_EQ(client.right - (b.x + b.width), a.x - client.left);
            EXPECT_EQ(b.y, a.y);
            EXPECT_EQ(b.width, a.width);
            EXPECT_EQ(b.height, a.height);
        }
        // Previous is on the right, where a right-to-left reader looks back.
        EXPECT_GT(rtl.at(Slot::Previous).box.x, rtl.at(Slot::Next).box.x);
    }
}

TEST(MirroredLayoutTest, NamesStandRightOfTheTimesAndTheCompassStays) {
    for (const int dpi : kDpis) {
        const Rect client = ClientAt(dpi);
        const PageLayout ltr = MakeLayout(client, dpi, dpi);
        const PageLayout rtl = MakeLayout(client, dpi, dpi, true);
        EXPECT_FALSE(ltr.rightToLeft);
        EXPECT_TRUE(rtl.rightToLeft);
        EXPECT_LT(ltr.homeNameX, ltr.homeTimeX);
        EXPECT_GT(rtl.homeNameX, rtl.homeTimeX);
        EXPECT_EQ(rtl.homeNameX, client.right - ltr.homeNameX);
        EXPECT_EQ(rtl.homeTimeY, ltr.homeTimeY);
        // Fajr's column first from the right.
        EXPECT_EQ(rtl.computeColumnX.front(), client.right - ltr.computeColumnX.front());
        EXPECT_GT(rtl.computeColumnX.front(), rtl.computeColumnX.back());
        EXPECT_EQ(rtl.quiblaHeadX, client.right - ltr.quiblaHeadX);
        EXPECT_EQ(rtl.configLabels[0].x, client.right - ltr.configLabels[0].x);
        EXPECT_EQ(rtl.compassCx, ltr.compassCx);
        EXPECT_EQ(rtl.compassCy, ltr.compassCy);
    }
}

TEST(MirroredLayoutTest, DialogsMirrorWithinTheirWidth) {
    for (const bool withRule : {false, true}) {
        const DialogLayout ltr = MakeDialogLayout(96, 96, withRule);
        const DialogLayout rtl = MakeDialogLayout(96, 96, withRule, true);
        for (int i = 0; i < kDialogSlotCount; ++i) {
            const Box& a = ltr.boxes[static_cast<size_t>(i)];
            const Box& b = rtl.boxes[static_cast<size_t>(i)];
            if (a.width == 0) continue;  // a row this dialog has not
            EXPECT_EQ(rtl.width - (b.x + b.width), a.x)
                << DialogSlotName(static_cast<DialogSlot>(i));
        }
        EXPECT_GT(rtl.at(DialogSlot::Ok).x, rtl.at(DialogSlot::Cancel).x);
    }
}

}  // namespace
}  // namespace orvano::testing
