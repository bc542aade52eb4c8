// The drawing surface on a QPainter: a window's paint, or an image for
// rendering without a window.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/surface.h"

class QPainter;

namespace orvano {

// Decoded resource images, kept across paints so that the Home page's
// once-a-second repaint does not decode seven images each time. Each paint
// still loads and releases its objects through the surface.
class QtImageCache {
  public:
    // The image made for the device-pixel ratio (a null image when the
    // resource does not exist), at its layout size through its own ratio.
    const QImage& Bitmap(int resourceId, double ratio);
    const QImage& Icon(int resourceId, double ratio);

  private:
    std::map<std::pair<int, double>, QImage> bitmaps_;
    std::map<std::pair<int, double>, QImage> icons_;
};

// Paints on a white width x height image whose logical resolution is `dpi`,
// then writes it as a PNG file. Decoded images are cached only for this call.
bool PaintToPng(const std::string& file, int width, int height, int dpi,
                const std::function<void(Surface&)>& paint);

// The font a FontSpec stands for (what CreateFont makes).
QFont FontFor(const FontSpec& spec);
// Where a text drawn at y (its top) in that font lands: its advance across,
// the advance of all but its trailing spaces, and down the rows its glyphs
// ink, from y + top.
struct TextInk {
    int advance = 0;
    int top = 0;
    int height = 0;
    int inkAdvance = 0;
};
TextInk MeasureText(const FontSpec& spec, const std::string& text);

// The program's string table entry, "" when there is none.
std::string LoadResourceString(int id);

class QtSurface : public Surface {
  public:
    // The painter must outlive the surface. A null cache decodes at every load.
    QtSurface(QPainter& painter, int logicalDpiY, Rect paintArea, QtImageCache* cache = nullptr);
    ~QtSurface() override;

    int LogicalDpiY() const override { return dpiY_; }
    Rect PaintArea() const override { return area_; }

    FontId CreateFont(const FontSpec& spec) override;
    FontId SelectFont(FontId font) override;
    void ReleaseFont(FontId font) override;

    PenId CreateSolidPen(int width, Colour colour) override;
    PenId SelectPen(PenId pen) override;
    void ReleasePen(PenId pen) override;

    void SetTextColour(Colour colour) override;
    void SetTransparentBackground() override;
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

  private:
    double Ratio() const;  // device pixels per layout pixel of what is painted on

    QPainter& painter_;
    int dpiY_;
    Rect area_;
    QtImageCache* cache_;
    int nextHandle_ = 1;
    std::map<int, QFont> fonts_;
    std::map<int, QPen> pens_;
    struct Image {
        int resourceId;
        bool icon;
        QImage owned;  // when there is no cache
        const QImage* image;
        int width;
        int height;
    };
    std::map<int, Image> images_;
    QFont defaultFont_;
    FontId selectedFont_;
    PenId selectedPen_;
    QColor textColour_{0, 0, 0};
    int penX_ = 0;
    int penY_ = 0;
};

}  // namespace orvano
