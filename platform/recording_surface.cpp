#include "platform/recording_surface.h"

#include <algorithm>

#include "resources/resource_ids.h"

namespace orvano {

const std::vector<ResourceImage>& ProgramBitmaps() {
    using namespace resources;
    static const std::vector<ResourceImage> kBitmaps = {
        {kBitmapCompassRose, 150, 150},
        {kBitmapKaaba, 16, 16},
        {kBitmapSun, 16, 16},
        {kBitmapFirstPrayerName + 0, 42, 20},
        {kBitmapFirstPrayerName + 1, 42, 20},
        {kBitmapFirstPrayerName + 2, 42, 20},
        {kBitmapFirstPrayerName + 3, 42, 20},
        {kBitmapFirstPrayerName + 4, 42, 20},
        {kBitmapFirstPrayerName + 5, 42, 20},
    };
    return kBitmaps;
}

const std::vector<ResourceImage>& ProgramIcons() {
    using namespace resources;
    static const std::vector<ResourceImage> kIcons = {
        {kIconStrip, 32, 32}, {kIconSecond, 32, 32}, {kIconProgram, 32, 32}};
    return kIcons;
}

namespace {

bool Known(const std::vector<ResourceImage>& table, int id) {
    return std::any_of(table.begin(), table.end(),
                       [id](const ResourceImage& image) { return image.id == id; });
}

ResourceImage SizeOf(const std::vector<ResourceImage>& table, int id) {
    for (const ResourceImage& image : table) {
        if (image.id == id) return image;
    }
    return ResourceImage{};
}

}  // namespace

RecordingSurface::RecordingSurface(int logicalDpiY, Rect paintArea, TextMeasure measure)
    : dpiY_(logicalDpiY), area_(paintArea), measure_(std::move(measure)) {}

const FontSpec& RecordingSurface::SelectedFont() const {
    static const FontSpec kDefault = DefaultFont();
    return selectedFont_ ? fonts_.at(selectedFont_.value) : kDefault;
}

TextExtent RecordingSurface::Measure(const std::string& text) const {
    const FontSpec& font = SelectedFont();
    if (measure_) return measure_(font, text);
    size_t characters = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
    }
    size_t inked = 0;
    for (size_t i = 0, count = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        ++count;
        if (text[i] != ' ') inked = count;
    }
    const int size = font.height < 0 ? -font.height : font.height;
    return TextExtent{static_cast<int>(characters) * size * 3 / 5, size / 6, size,
                      static_cast<int>(inked) * size * 3 / 5};
}

std::optional<int> RecordingSurface::TextWidth(const std::string& text) const {
    // An estimate is good enough for a box, not for shortening a text.
    if (!measure_) return std::nullopt;
    return Measure(text).width;
}

FontId RecordingSurface::CreateFont(const FontSpec& spec) {
    if (failFonts_) return FontId{};
    const int handle = NewHandle();
    fonts_[handle] = spec;
    return FontId{handle};
}

FontId RecordingSurface::SelectFont(FontId font) {
    if (font && !fonts_.count(font.value)) {
        Fault("select of an unknown or released font");
        return selectedFont_;
    }
    const FontId before = selectedFont_;
    selectedFont_ = font;
    return before;
}

void RecordingSurface::ReleaseFont(FontId font) {
    if (!fonts_.count(font.value)) {
        Fault("release of an unknown or released font");
        return;
    }
    if (selectedFont_ == font) Fault("release of the selected font");
    fonts_.erase(font.value);
}

PenId RecordingSurface::CreateSolidPen(int width, Colour colour) {
    const int handle = NewHandle();
    pens_[handle] = Pen{width, colour};
    return PenId{handle};
}

PenId RecordingSurface::SelectPen(PenId pen) {
    if (pen && !pens_.count(pen.value)) {
        Fault("select of an unknown or released pen");
        return selectedPen_;
    }
    const PenId before = selectedPen_;
    selectedPen_ = pen;
    return before;
}

void RecordingSurface::ReleasePen(PenId pen) {
    if (!pens_.count(pen.value)) {
        Fault("release of an unknown or released pen");
        return;
    }
    if (selectedPen_ == pen) Fault("release of the selected pen");
    pens_.erase(pen.value);
}

void RecordingSurface::DrawText(int x, int y, const std::string& text, TextAlign align) {
    DrawOp op;
    op.kind = DrawOp::Kind::Text;
    op.x = x;
    op.y = y;
    op.align = align;
    op.text = text;
    op.font = SelectedFont();
    op.colour = textColour_;
    const TextExtent extent = Measure(text);
    int left = x;
    if (align == TextAlign::Centre) left = x - extent.width / 2;
    if (align == TextAlign::Right) left = x - extent.width;
    op.box = Box{left, y + extent.top, extent.inkWidth, extent.height};
    ops_.push_back(std::move(op));
}

void RecordingSurface::DrawTextInRect(const Rect& rect, const std::string& text, TextAlign align) {
    DrawOp op;
    op.kind = DrawOp::Kind::TextInRect;
    op.rect = rect;
    op.x = rect.left;
    op.y = rect.top;
    op.align = align;
    op.text = text;
    op.font = SelectedFont();
    op.colour = textColour_;
    op.box = Box{rect.left, rect.top, rect.width(), rect.height()};
    ops_.push_back(std::move(op));
}

void RecordingSurface::MoveTo(int x, int y) {
    penX_ = x;
    penY_ = y;
}

void RecordingSurface::LineTo(int x, int y) {
    DrawOp op;
    op.kind = DrawOp::Kind::Line;
    op.x = penX_;
    op.y = penY_;
    op.x2 = x;
    op.y2 = y;
    // The surface's default pen: one pixel, black.
    op.penWidth = 1;
    op.colour = Colour{0, 0, 0};
    if (selectedPen_) {
        op.penWidth = pens_.at(selectedPen_.value).width;
        op.colour = pens_.at(selectedPen_.value).colour;
    }
    const int half = op.penWidth / 2;
    op.box = Box{std::min(op.x, x) - half, std::min(op.y, y) - half,
                 std::abs(x - op.x) + op.penWidth, std::abs(y - op.y) + op.penWidth};
    ops_.push_back(op);
    penX_ = x;
    penY_ = y;
}

BitmapId RecordingSurface::LoadBitmap(int resourceId) {
    if (!Known(ProgramBitmaps(), resourceId) || unavailable_.count(resourceId)) return BitmapId{};
    const int handle = NewHandle();
    bitmaps_[handle] = resourceId;
    return BitmapId{handle};
}

void RecordingSurface::DrawBitmap(BitmapId bitmap, int x, int y) {
    auto it = bitmaps_.find(bitmap.value);
    if (it == bitmaps_.end()) {
        Fault("draw of an unknown or released bitmap");
        return;
    }
    DrawOp op;
    op.kind = DrawOp::Kind::Bitmap;
    op.resourceId = it->second;
    op.x = x;
    op.y = y;
    op.box = Box{x, y, SizeOf(ProgramBitmaps(), it->second).width,
                 SizeOf(ProgramBitmaps(), it->second).height};
    ops_.push_back(op);
}

void RecordingSurface::ReleaseBitmap(BitmapId bitmap) {
    if (!bitmaps_.erase(bitmap.value)) Fault("release of an unknown or released bitmap");
}

IconId RecordingSurface::LoadIcon(int resourceId, int width, int height) {
    if (!Known(ProgramIcons(), resourceId) || unavailable_.count(resourceId)) return IconId{};
    const int handle = NewHandle();
    icons_[handle] = Icon{resourceId, width, height};
    return IconId{handle};
}

void RecordingSurface::DrawIcon(IconId icon, int x, int y) {
    auto it = icons_.find(icon.value);
    if (it == icons_.end()) {
        Fault("draw of an unknown or released icon");
        return;
    }
    DrawOp op;
    op.kind = DrawOp::Kind::Icon;
    op.resourceId = it->second.resourceId;
    op.loadWidth = it->second.width;
    op.loadHeight = it->second.height;
    op.x = x;
    op.y = y;
    const ResourceImage image = SizeOf(ProgramIcons(), op.resourceId);
    op.box = Box{x, y, image.width, image.height};
    ops_.push_back(op);
}

void RecordingSurface::ReleaseIcon(IconId icon) {
    if (!icons_.erase(icon.value)) Fault("release of an unknown or released icon");
}

int RecordingSurface::LiveObjects() const {
    return static_cast<int>(fonts_.size() + pens_.size() + bitmaps_.size() + icons_.size());
}

}  // namespace orvano
