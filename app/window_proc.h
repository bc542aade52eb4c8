// The main window's procedure: what it does on creation, destruction,
// activation, commands, paints and timer ticks.
#pragma once

#include "app/app.h"

namespace orvano {

class MainWindowProc final : public WindowHandler {
  public:
    explicit MainWindowProc(App& app) : app_(app) {}

    void OnCreate(Window& window) override;
    void OnDestroy(Window& window) override;
    void OnActivate(Window& window, bool active) override;
    void OnCommand(Window& window, int id, int code) override;
    void OnPaint(Window& window, Surface& surface) override;
    void OnTimer(Window& window, int timerId) override;

  private:
    App& app_;
};

// The command table (identifier and notification code of a child control).
// Defined with the pages' commands; a build without them has only the page arrows.
void HandleCommand(App& app, Window& window, int id, int code);

// Paints requestedPage on the surface.
void PaintPage(App& app, Window& window, Surface& surface);

}  // namespace orvano
