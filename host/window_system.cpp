#include "host/window_system.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <cstdio>

namespace orvano {

std::string ColourText(Colour c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", c.red, c.green, c.blue);
    return text;
}

TodayWindow* QtTodayWindowSystem::AdoptHostWindow(
    QWidget* widget,
    std::function<std::intptr_t(std::uint32_t, std::uintptr_t, std::intptr_t)> hostProc) {
    auto window = std::make_unique<TodayWindow>();
    window->widget = widget;
    window->hostProc = std::move(hostProc);
    windows_.push_back(std::move(window));
    return windows_.back().get();
}

bool QtTodayWindowSystem::IsClassRegistered(const std::string& className, const void* instance) {
    return classes_.count({className, instance}) != 0;
}

bool QtTodayWindowSystem::RegisterWindowClass(const std::string& className, TodayWindowProc proc,
                                              const void* instance) {
    if (proc == nullptr || className.empty()) return false;
    return classes_.emplace(std::make_pair(className, instance), proc).second;
}

void QtTodayWindowSystem::UnregisterWindowClass(const std::string& className,
                                                const void* instance) {
    classes_.erase({className, instance});
}

TodayWindow* QtTodayWindowSystem::CreateChildWindow(const std::string& className,
                                                    const std::string& title, TodayWindow* parent,
                                                    const void* instance) {
    const auto it = classes_.find({className, instance});
    if (it == classes_.end() || parent == nullptr || parent->widget == nullptr) return nullptr;
    auto window = std::make_unique<TodayWindow>();
    window->proc = it->second;
    window->parent = parent;
    TodayWindow* self = window.get();
    windows_.push_back(std::move(window));
    auto* widget = new ItemWidget(*this, *self, parent->widget);
    widget->setWindowTitle(QString::fromStdString(title));
    widget->setGeometry(0, 0, 0, 0);  // the host places it
    self->widget = widget;
    SendMessageTo(self, kMsgCreate, 0, 0);
    return self;
}

void QtTodayWindowSystem::ShowWindow(TodayWindow* window) {
    if (window != nullptr && window->widget != nullptr) window->widget->show();
}

std::intptr_t QtTodayWindowSystem::SendMessageTo(TodayWindow* window, std::uint32_t message,
                                                 std::uintptr_t wParam, std::intptr_t lParam) {
    if (window == nullptr) return 0;
    if (window->proc != nullptr) return window->proc(window, message, wParam, lParam);
    if (window->hostProc) return window->hostProc(message, wParam, lParam);
    return 0;
}

Rect QtTodayWindowSystem::ClientRect(TodayWindow* window) {
    if (window == nullptr || window->widget == nullptr) return {};
    return {0, 0, window->widget->width(), window->widget->height()};
}

void QtTodayWindowSystem::Invalidate(TodayWindow* window, const Rect* area, bool erase) {
    if (window == nullptr || window->widget == nullptr) return;
    if (erase) window->eraseNeeded = true;
    if (area == nullptr) {
        window->widget->update();
    } else {
        window->widget->update(QRect(area->left, area->top, area->width(), area->height()));
    }
}

void QtTodayWindowSystem::SetAreaTip(TodayWindow* window, const Rect& area,
                                     const std::string& text) {
    if (window == nullptr || (window->tipArea == area && window->tipText == text)) return;
    window->tipArea = area;
    window->tipText = text;
    Trace("area tip " + text);
}

ItemWidget::ItemWidget(QtTodayWindowSystem& system, TodayWindow& self, QWidget* parent)
    : QWidget(parent), system_(system), self_(self) {}

bool ItemWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && !self_.tipText.empty()) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const Rect& a = self_.tipArea;
        const QRect area(a.left, a.top, a.width(), a.height());
        if (area.contains(help->pos())) {
            QToolTip::showText(help->globalPos(), QString::fromStdString(self_.tipText), this,
                               area);
            return true;
        }
    }
    // Elsewhere the strip's own tooltip (the next prayer).
    return QWidget::event(event);
}

void ItemWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect r = event->rect();
    QtSurface surface(painter, system_.dpiY(),
                      Rect{r.left(), r.top(), r.right() + 1, r.bottom() + 1}, &cache_);
    TracingSurface tracing(surface, system_);
    self_.painter = &painter;
    if (self_.eraseNeeded) {
        self_.eraseNeeded = false;
        system_.SendMessageTo(&self_, kMsgEraseBackground,
                              reinterpret_cast<std::uintptr_t>(&tracing), 0);
    }
    system_.Trace("paint");
    system_.SendMessageTo(&self_, kMsgPaint, reinterpret_cast<std::uintptr_t>(&tracing), 0);
    system_.Trace("paint end");
    self_.painter = nullptr;
}

void ItemWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint p = event->position().toPoint();
    system_.Trace("tap " + std::to_string(p.x()) + " " + std::to_string(p.y()));
    system_.SendMessageTo(&self_, kMsgLeftButtonUp, 0, PackPoint(p.x(), p.y()));
}

FontId TracingSurface::CreateFont(const FontSpec& spec) {
    system_.Trace("font height " + std::to_string(spec.height) + " weight " +
                  std::to_string(spec.weight));
    return inner_.CreateFont(spec);
}

void TracingSurface::DrawText(int x, int y, const std::string& text, TextAlign align) {
    system_.Trace("text " + std::to_string(x) + "," + std::to_string(y) + " " +
                  ColourText(colour_) + " " + text);
    inner_.DrawText(x, y, text, align);
}

void TracingSurface::DrawTextInRect(const Rect& r, const std::string& text, TextAlign align) {
    system_.Trace("text " + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                  std::to_string(r.right) + "," + std::to_string(r.bottom) + " " +
                  ColourText(colour_) +
                  (align == TextAlign::Centre  ? " centre "
                   : align == TextAlign::Right ? " right "
                                               : " left ") +
                  text);
    inner_.DrawTextInRect(r, text, align);
}

IconId TracingSurface::LoadIcon(int resourceId, int width, int height) {
    system_.Trace("icon " + std::to_string(resourceId) + " " + std::to_string(width) + "x" +
                  std::to_string(height));
    return inner_.LoadIcon(resourceId, width, height);
}

void TracingSurface::DrawIcon(IconId icon, int x, int y) {
    system_.Trace("draw icon at " + std::to_string(x) + "," + std::to_string(y));
    inner_.DrawIcon(icon, x, y);
}

}  // namespace orvano
