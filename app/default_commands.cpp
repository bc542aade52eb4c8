// Built only while the pages' command table is absent: the page arrows alone,
// so that the window can be used and tested on its own.
#include "app/controls.h"
#include "app/window_proc.h"

namespace orvano {

void HandleCommand(App& app, Window& window, int id, int) {
    if (id == kIdPrevious) {
        if (app.ui.requestedPage > kPageHome) --app.ui.requestedPage;
        ShowPage(app, window);
    } else if (id == kIdNext) {
        if (app.ui.requestedPage < kPageAbout) ++app.ui.requestedPage;
        ShowPage(app, window);
    }
}

}  // namespace orvano
