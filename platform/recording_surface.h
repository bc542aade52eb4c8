// A drawing surface that keeps every operation instead of drawing it: what
// `orvano --dump-ops` writes, and what the tests read. It also keeps the books
// on every font, pen, bitmap and icon made on it, so that one left unreleased,
// released while still selected, or used after release is seen.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/surface.h"

namespace orvano {

struct DrawOp {
    enum class Kind { Text, TextInRect, Line, Bitmap, Icon };
    Kind kind = Kind::Text;
    // Text: x, y, align, text, font, colour. TextInRect: rect, align, text, font, colour.
    // Line: x, y to x2, y2, penWidth, colour. Bitmap and Icon: resourceId at x, y.
    int x = 0;
    int y = 0;
    int x2 = 0;
    int y2 = 0;
    Rect rect;
    TextAlign align = TextAlign::Left;
    std::string text;
    FontSpec font;
    Colour colour;
    int penWidth = 0;
    int resourceId = 0;
    int loadWidth = 0;  // Icon: the size asked for when loaded (0 x 0: the icon's own)
    int loadHeight = 0;
    Box box;  // where it lands: texts as inked, lines with their pen's width
};

// Where a text drawn with its top at y lands, in pixels: its advance width
// (what centring uses), the advance of all but its trailing spaces (what it
// inks across), and down the rows from y + top to y + top + height that its
// glyphs ink.
struct TextExtent {
    int width = 0;
    int top = 0;
    int height = 0;
    int inkWidth = 0;
};
using TextMeasure = std::function<TextExtent(const FontSpec& font, const std::string& text)>;

// The images a surface can load, with their sizes.
struct ResourceImage {
    int id = 0;
    int width = 0;
    int height = 0;
};
// Every bitmap and icon that the program's resources hold.
const std::vector<ResourceImage>& ProgramBitmaps();
const std::vector<ResourceImage>& ProgramIcons();

class RecordingSurface : public Surface {
  public:
    // The surface's default font before any is selected.
    static FontSpec DefaultFont() { return FontSpec{kSystemFontFace, -12, 400}; }

    // Without a measure, texts are given an estimate of their extent (three
    // fifths of the character height per character).
    explicit RecordingSurface(int logicalDpiY = 96, Rect paintArea = {0, 0, 240, 300},
                              TextMeasure measure = {});

    int LogicalDpiY() const override { return dpiY_; }
    Rect PaintArea() const override { return area_; }

    FontId CreateFont(const FontSpec& spec) override;
    FontId SelectFont(FontId font) override;
    void ReleaseFont(FontId font) override;

    PenId CreateSolidPen(int width, Colour colour) override;
    PenId SelectPen(PenId pen) override;
    void ReleasePen(PenId pen) override;

    void SetTextColour(Colour colour) override { textColour_ = colour; }
    void SetTransparentBackground() override { transparent_ = true; }
    void DrawText(int x, int y, const std::string& text, TextAlign align) override;
    void DrawTextInRect(const Rect& rect, const std::string& text, TextAlign align) override;
    std::optional<int> TextWidth(const std::string& text) const override;

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;

    BitmapId LoadBitmap(int resourceId) override;
    void DrawBitmap(BitmapId bitmap, int x, int y) override;
    void ReleaseBitmap(BitmapId bitmap) override;
    IconId LoadIcon(int resourceId, int width = 0, int height = 0) override;
    void DrawIcon(IconId icon, int x, int y) override;
    void ReleaseIcon(IconId icon) override;

    // A resource that the next loads treat as missing (what a damaged program would see).
    void MakeUnavailable(int resourceId) { unavailable_.insert(resourceId); }
    // Font creation fails from now on.
    void FailFontCreation() { failFonts_ = true; }

    const std::vector<DrawOp>& ops() const { return ops_; }
    void ClearOps() { ops_.clear(); }
    bool transparentBackground() const { return transparent_; }
    // Objects made and not yet released.
    int LiveObjects() const;
    // How many objects were made in all (fonts, pens, bitmaps, icons).
    int ObjectsMade() const { return objectsMade_; }
    // Misuse seen so far, one line each (release while selected, unknown handle...).
    const std::vector<std::string>& faults() const { return faults_; }

  private:
    int NewHandle() {
        ++objectsMade_;
        return nextHandle_++;
    }
    void Fault(const std::string& what) { faults_.push_back(what); }
    const FontSpec& SelectedFont() const;
    TextExtent Measure(const std::string& text) const;

    int dpiY_;
    Rect area_;
    TextMeasure measure_;
    int nextHandle_ = 1;
    int objectsMade_ = 0;
    std::map<int, FontSpec> fonts_;
    struct Pen {
        int width;
        Colour colour;
    };
    std::map<int, Pen> pens_;
    std::map<int, int> bitmaps_;  // handle -> resource id
    struct Icon {
        int resourceId;
        int width;
        int height;
    };
    std::map<int, Icon> icons_;
    std::set<int> unavailable_;
    bool failFonts_ = false;
    FontId selectedFont_;
    PenId selectedPen_;
    Colour textColour_{0, 0, 0};
    bool transparent_ = false;
    int penX_ = 0;
    int penY_ = 0;
    std::vector<DrawOp> ops_;
    std::vector<std::string> faults_;
};

}  // namespace orvano
