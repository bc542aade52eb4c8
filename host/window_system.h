// The host's side of the Today item protocol: window classes, the item's
// child widget, and the messages delivered to it.
#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/qt_surface.h"
#include "platform/today_host.h"

class QPainter;

namespace orvano {

// A window as the host keeps it: the item's child widget with the item's
// procedure, or the host's own strip, which answers its items' requests.
class TodayWindow {
  public:
    QWidget* widget = nullptr;
    TodayWindowProc proc = nullptr;
    TodayWindow* parent = nullptr;
    std::function<std::intptr_t(std::uint32_t, std::uintptr_t, std::intptr_t)> hostProc;
    bool eraseNeeded = true;
    QPainter* painter = nullptr;  // while the window paints
    Rect tipArea;                 // where tipText is the tooltip
    std::string tipText;
};

using TraceFunction = std::function<void(const std::string&)>;

class QtTodayWindowSystem final : public TodayWindowSystem {
  public:
    explicit QtTodayWindowSystem(int dpiY, TraceFunction trace)
        : dpiY_(dpiY), trace_(std::move(trace)) {}

    TodayWindow* AdoptHostWindow(
        QWidget* widget,
        std::function<std::intptr_t(std::uint32_t, std::uintptr_t, std::intptr_t)> hostProc);

    bool IsClassRegistered(const std::string& className, const void* instance) override;
    bool RegisterWindowClass(const std::string& className, TodayWindowProc proc,
                             const void* instance) override;
    void UnregisterWindowClass(const std::string& className, const void* instance) override;
    TodayWindow* CreateChildWindow(const std::string& className, const std::string& title,
                                   TodayWindow* parent, const void* instance) override;
    void ShowWindow(TodayWindow* window) override;
    TodayWindow* ParentOf(TodayWindow* window) override {
        return window ? window->parent : nullptr;
    }
    std::intptr_t SendMessageTo(TodayWindow* window, std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) override;
    Rect ClientRect(TodayWindow* window) override;
    void Invalidate(TodayWindow* window, const Rect* area, bool erase) override;
    void SetAreaTip(TodayWindow* window, const Rect& area, const std::string& text) override;

    int dpiY() const { return dpiY_; }
    void Trace(const std::string& line) const {
        if (trace_) trace_(line);
    }

  private:
    int dpiY_;
    TraceFunction trace_;
    std::map<std::pair<std::string, const void*>, TodayWindowProc> classes_;
    std::vector<std::unique_ptr<TodayWindow>> windows_;
};

// The item's window on screen. Paint, erase and taps become the item's messages.
class ItemWidget final : public QWidget {
  public:
    ItemWidget(QtTodayWindowSystem& system, TodayWindow& self, QWidget* parent);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QtTodayWindowSystem& system_;
    TodayWindow& self_;
    QtImageCache cache_;
};

// Forwards to another surface and writes each text and icon to the trace.
class TracingSurface final : public Surface {
  public:
    TracingSurface(Surface& inner, const QtTodayWindowSystem& system)
        : inner_(inner), system_(system) {}
    int LogicalDpiY() const override { return inner_.LogicalDpiY(); }
    Rect PaintArea() const override { return inner_.PaintArea(); }
    FontId CreateFont(const FontSpec& spec) override;
    FontId SelectFont(FontId font) override { return inner_.SelectFont(font); }
    void ReleaseFont(FontId font) override { inner_.ReleaseFont(font); }
    PenId CreateSolidPen(int width, Colour colour) override {
        return inner_.CreateSolidPen(width, colour);
    }
    PenId SelectPen(PenId pen) override { return inner_.SelectPen(pen); }
    void ReleasePen(PenId pen) override { inner_.ReleasePen(pen); }
    void SetTextColour(Colour colour) override {
        colour_ = colour;
        inner_.SetTextColour(colour);
    }
    void SetTransparentBackground() override { inner_.SetTransparentBackground(); }
    void DrawText(int x, int y, const std::string& text, TextAlign align) override;
    void DrawTextInRect(const Rect& rect, const std::string& text, TextAlign align) override;
    void MoveTo(int x, int y) override { inner_.MoveTo(x, y); }
    void LineTo(int x, int y) override { inner_.LineTo(x, y); }
    BitmapId LoadBitmap(int resourceId) override { return inner_.LoadBitmap(resourceId); }
    void DrawBitmap(BitmapId bitmap, int x, int y) override { inner_.DrawBitmap(bitmap, x, y); }
    void ReleaseBitmap(BitmapId bitmap) override { inner_.ReleaseBitmap(bitmap); }
    IconId LoadIcon(int resourceId, int width, int height) override;
    void DrawIcon(IconId icon, int x, int y) override;
    void ReleaseIcon(IconId icon) override { inner_.ReleaseIcon(icon); }

  private:
    Surface& inner_;
    const QtTodayWindowSystem& system_;
    Colour colour_{};
};

std::string ColourText(Colour c);

}  // namespace orvano
