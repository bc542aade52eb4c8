// Where the Today item draws each label and value, and the height it asks for.
#pragma once

#include <array>

#include "platform/geometry.h"

namespace orvano {

// Columns: Fajr, Zuhr, Asr, Maghrib, Isha, then the town.
inline constexpr int kItemColumns = 6;
inline constexpr int kTownColumn = 5;
inline constexpr int kMaghribColumn = 3;
// The clock icon's place at the item's right end, in pixels.
inline constexpr int kIconRoom = 20;

struct ItemLayout {
    std::array<Rect, kItemColumns> labelRects{};
    std::array<Rect, kItemColumns> valueRects{};
    Rect iconHitRect{};
};

// Labels are left untouched in the compact display, as the last expanded
// layout left them.
// Mirrored for a language read from the right: Fajr's column at the right
// end, the clock icon at the left one.
void ComputeItemLayout(int dpiX, int dpiY, int width, bool showLabels, ItemLayout& layout,
                       bool rightToLeft = false);

int ItemHeight(int dpiY, bool showLabels);

}  // namespace orvano
