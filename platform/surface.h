// The drawing surface handed to a paint. Objects (fonts, pens, bitmaps, icons)
// are made, selected, and released by the painter, and every object made for a
// paint must be released within it.
#pragma once

#include <optional>
#include <string>

#include "platform/geometry.h"

namespace orvano {

// Handles of objects made on a surface. The zero value is "no object": what a
// failed creation returns, and what a select returns when the surface's default
// object was selected before.
struct FontId {
    int value = 0;
    explicit operator bool() const { return value != 0; }
    friend bool operator==(const FontId&, const FontId&) = default;
};
struct PenId {
    int value = 0;
    explicit operator bool() const { return value != 0; }
    friend bool operator==(const PenId&, const PenId&) = default;
};
struct BitmapId {
    int value = 0;
    explicit operator bool() const { return value != 0; }
    friend bool operator==(const BitmapId&, const BitmapId&) = default;
};
struct IconId {
    int value = 0;
    explicit operator bool() const { return value != 0; }
    friend bool operator==(const IconId&, const IconId&) = default;
};

// The face name that means the platform's system (user interface) font.
inline constexpr const char* kSystemFontFace = "";

struct FontSpec {
    std::string face;  // e.g. "ARIAL"; kSystemFontFace for the system font
    // Pixels. Negative: the character height (em size); positive: the cell height.
    int height = 0;
    int weight = 400;  // 400 normal, 700 bold
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

enum class TextAlign {
    Centre,  // x is the horizontal centre of the text, y its top
    Left,    // x is the left edge, y the top
    Right,   // x is the right edge, y the top (right-to-left pages)
};

class Surface {
  public:
    virtual ~Surface() = default;

    // Logical pixels per inch of this surface (what font heights are computed from).
    virtual int LogicalDpiY() const = 0;
    // The part of the surface that this paint must redraw.
    virtual Rect PaintArea() const = 0;

    virtual FontId CreateFont(const FontSpec& spec) = 0;
    // Selects the font for later texts and returns the one selected before.
    virtual FontId SelectFont(FontId font) = 0;
    // A font must be deselected (its predecessor selected back) before release.
    virtual void ReleaseFont(FontId font) = 0;

    virtual PenId CreateSolidPen(int width, Colour colour) = 0;
    virtual PenId SelectPen(PenId pen) = 0;
    virtual void ReleasePen(PenId pen) = 0;

    virtual void SetTextColour(Colour colour) = 0;
    // Texts are drawn without filling their background, for the whole paint.
    virtual void SetTransparentBackground() = 0;
    // UTF-8 text, drawn whole (its exact length), unclipped.
    virtual void DrawText(int x, int y, const std::string& text, TextAlign align) = 0;
    // The advance width in pixels of a text in the selected font; nothing when
    // the surface cannot measure.
    virtual std::optional<int> TextWidth(const std::string& text) const {
        (void)text;
        return std::nullopt;
    }
    // Text at the top of a rectangle: centred across it or from its left edge; clipped to it.
    virtual void DrawTextInRect(const Rect& rect, const std::string& text, TextAlign align) = 0;

    // Lines with the selected pen.
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;

    // Images of the program's resources, by resource identifier.
    virtual BitmapId LoadBitmap(int resourceId) = 0;
    // At the bitmap's own size, top-left corner at (x, y), plain copy.
    virtual void DrawBitmap(BitmapId bitmap, int x, int y) = 0;
    virtual void ReleaseBitmap(BitmapId bitmap) = 0;
    // width and height 0: the icon's default size.
    virtual IconId LoadIcon(int resourceId, int width = 0, int height = 0) = 0;
    virtual void DrawIcon(IconId icon, int x, int y) = 0;
    virtual void ReleaseIcon(IconId icon) = 0;
};

}  // namespace orvano
