#include "app/window_proc.h"

#include "app/app.h"
#include "app/controls.h"
#include "app/paint.h"

namespace orvano {

void MainWindowProc::OnCreate(Window& window) {
    const Rect client = window.ClientRect();
    app_.ui.clockBand.left = client.left;
    app_.ui.clockBand.right = client.right;
    app_.ui.clockBand.top = ScaleY(app_, 70) - ScaleY(app_, 24);
    app_.ui.clockBand.bottom = app_.ui.clockBand.top + ScaleY(app_, 20);
    app_.ui.activateInfo = ActivateInfo{12, 0, 0};
}

void MainWindowProc::OnDestroy(Window&) {
    app_.platform.windows.PostQuit(0);
}

// The desktop needs nothing done when the window gains or loses activation.
void MainWindowProc::OnActivate(Window&, bool) {}

void MainWindowProc::OnCommand(Window& window, int id, int code) {
    HandleCommand(app_, window, id, code);
}

void MainWindowProc::OnPaint(Window& window, Surface& surface) {
    PaintPage(app_, window, surface);
}

void MainWindowProc::OnTimer(Window& window, int timerId) {
    ClockTick(app_, window, timerId);
}

void PaintPage(App& app, Window& window, Surface& surface) {
    PaintInput input;
    input.client = window.ClientRect();
    input.dpiX = DpiX(app);
    input.dpiY = DpiY(app);
    input.language = app.ui.language;
    input.digits = app.ui.digits;
    input.requestedPage = app.ui.requestedPage;
    input.exploring = app.ui.exploring != 0;
    input.now = TownNow(app);
    input.status = app.ui.statusText;
    input.qibla = app.ui.qibla;
    input.home = app.ui.home;
    PaintMainWindow(surface, input, app.engine);
}

}  // namespace orvano
