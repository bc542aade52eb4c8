// The main window, its child controls, its timer and the single-instance
// channel on Qt Widgets.
#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/qt/qt_surface.h"
#include "platform/screen.h"
#include "platform/window.h"

class QTimer;

namespace orvano {

class InstanceChannel;
class QtControl;

class QtMainWindow final : public QWidget, public Window {
  public:
    QtMainWindow(const MainWindowSpec& spec, WindowHandler& handler, const Screen& screen);
    ~QtMainWindow() override;

    Rect ClientRect() const override;
    Control* CreateControl(const ControlSpec& spec) override;
    void Invalidate(const std::optional<Rect>& area, InvalidateFlags flags) override;
    void StartTimer(int id, int periodMs) override;
    void ShowAndPaint() override;
    void Close() override;
    int RunDialog(const DialogSpec& spec, DialogHandler& handler) override;
    void PostCommand(int id) override;
    void SetRightToLeft(bool rightToLeft) override;

    // Brings the window to the front (a second copy asked for it).
    void BringForward();
    int forwardRequests() const { return forwardRequests_; }
    // The control made n-th, for tests.
    QWidget* ControlWidget(size_t index) const;
    size_t ControlCount() const { return controls_.size(); }

    // Sends the command to the window procedure (the controls' signals come here).
    void Command(int id, int code);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    WindowHandler& handler_;
    const Screen& screen_;
    QtImageCache images_;
    std::vector<std::unique_ptr<QtControl>> controls_;
    std::map<int, QTimer*> timers_;
    bool destroyed_ = false;
    int forwardRequests_ = 0;
};

class QtWindowSystem final : public WindowSystem {
  public:
    // The screen gives the resolution that paints are told about.
    explicit QtWindowSystem(const Screen& screen);
    ~QtWindowSystem() override;

    bool BringRunningCopyForward(const std::string& className, const std::string& title,
                                 int command) override;
    Window* CreateMainWindow(const MainWindowSpec& spec, WindowHandler& handler) override;
    void PostQuit(int exitCode) override;
    int RunMessageLoop() override;

    QtMainWindow* mainWindow() const { return window_.get(); }

  private:
    void Listen(const std::string& className, const std::string& title);

    const Screen& screen_;
    std::unique_ptr<QtMainWindow> window_;
    std::unique_ptr<InstanceChannel> channel_;
};

// Where the toolkit puts a control (a list's closed box, for one), and for a
// label or a button the width its text takes beside the width the control
// gives it: a label is one line and a button does not wrap, so more is cut off.
struct PlacedControl {
    Rect rect;
    int textWidth = 0;
    int textRoom = 0;  // 0: the control's text scrolls or is typed
};

// The controls made on a window at `dpi` that is never shown.
std::vector<PlacedControl> PlaceControls(const std::vector<ControlSpec>& specs, int dpi);

// The whole application's reading direction, and for right to left a user
// interface font whose Arabic letters come from Naskh, which covers Urdu's and
// Persian's letters too and fits the controls' height.
void SetReadingDirection(bool rightToLeft);

// A window of that client size at `dpi` with these controls, painted by
// `paint` and written as PNG (at the desktop's device-pixel ratio).
bool GrabToPng(const std::string& file, int width, int height, int dpi,
               const std::vector<ControlSpec>& controls,
               const std::function<void(Surface&)>& paint);

// The dialog made by `handler` at `dpi`, written as PNG.
bool GrabDialogToPng(const std::string& file, int dpi, const DialogSpec& spec,
                     DialogHandler& handler);

// The local socket a copy listens on, in the user's private socket folder
// (PrivateSocketFolder); empty when there is none.
std::string InstanceChannelName(const std::string& className, const std::string& title);

}  // namespace orvano
