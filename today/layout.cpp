#include "today/layout.h"

#include "platform/screen.h"

namespace orvano {

void ComputeItemLayout(int dpiX, int dpiY, int width, bool showLabels, ItemLayout& layout,
                       bool rightToLeft) {
    const int margin = ScaleForDpi(1, dpiX);
    const int top = ScaleForDpi(2, dpiY);
    const int columnWidth = (width - margin - 10) / 6;
    const int halfRow = ScaleForDpi(15, dpiY);
    const int fullRow = ScaleForDpi(30, dpiY);
    int bottom = 0;
    if (showLabels) {
        for (int i = 0; i < kItemColumns; ++i) {
            const int left = margin + i * columnWidth;
            const int right = margin + (i + 1) * columnWidth;
            layout.labelRects[static_cast<std::size_t>(i)] = {left, top, right, top + halfRow};
            layout.valueRects[static_cast<std::size_t>(i)] = {left, top + halfRow, right,
                                                              top + fullRow};
        }
        bottom = top + fullRow;
    } else {
        bottom = top + halfRow;
        for (int i = 0; i < kTownColumn; ++i) {
            layout.valueRects[static_cast<std::size_t>(i)] = {
                margin + i * columnWidth, top, margin + (i + 1) * columnWidth, top + halfRow};
        }
        // One row: the clock icon sits at the row's right end, so the town
        // stops short of it.
        layout.valueRects[kTownColumn] = {margin + kTownColumn * columnWidth, top,
                                          width - kIconRoom - margin, bottom};
    }
    if (showLabels) layout.valueRects[kTownColumn].right = width;
    // The longest label gets room on both sides.
    Rect& maghrib = layout.labelRects[kMaghribColumn];
    if (showLabels) {
        maghrib.left -= 5;
        maghrib.right += 5;
    }
    layout.iconHitRect = {width - kIconRoom, 0, width, bottom};
    if (!rightToLeft) return;
    const auto mirror = [width](Rect& r) {
        const int left = width - r.right;
        r.right = width - r.left;
        r.left = left;
    };
    // Labels kept from an earlier layout are already mirrored.
    if (showLabels) {
        for (Rect& r : layout.labelRects) mirror(r);
    }
    for (Rect& r : layout.valueRects) mirror(r);
    mirror(layout.iconHitRect);
}

int ItemHeight(int dpiY, bool showLabels) {
    return showLabels ? ScaleForDpi(32, dpiY) : ScaleForDpi(16, dpiY);
}

}  // namespace orvano
