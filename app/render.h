// `orvano --render PAGE --png FILE` and `orvano --dump-ops PAGE --json FILE`:
// one page painted without a window, for documentation, tests and checks.
//
// Both take --config FILE, --town N, --lang 1|2|CODE, --exploring, --night (the
// Home page's night times shown), --size WxH
// (client size, default the window's: 240x300 at 96 DPI, scaled with --dpi),
// --dpi N (default 96) and --at "YYYY-MM-DD HH:MM:SS" (the clock and the
// pickers; default now). --dump-ops lists each operation with the box it
// lands in, then the page's visible controls. `--dump-dialog find|method|adhan
// --json FILE` lists a dialog's client and controls (with
// --lang and --dpi); `--render-dialog adhan --png FILE` draws the adhan dialog
// as it opens; `--render-dialog find --png FILE --search TEXT` draws the
// town search with TEXT typed and its results listed. --render with --controls also
// draws the page's controls (empty, as the toolkit shows them) over the page.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/render_recorder.h"
#include "language/digits.h"
#include "language/languages.h"
#include "platform/geometry.h"
#include "platform/surface.h"
#include "platform/window.h"

namespace orvano {

struct RenderRequest {
    enum class Output { Png, Json };
    Output output = Output::Png;
    int page = 0;
    std::string file;
    std::string config;  // empty: the user's data.cfg
    std::optional<int> town;
    std::string language = kDefaultLanguage;
    DigitStyle digits = DigitStyle::Latin;  // --digits latin|arabic
    bool exploring = false;
    bool controls = false;  // --render: the page's controls too
    bool night = false;     // the Home page shows the night times
    // --settings FILE: the reminders, iqama and Jumu'ah stored there are
    // drawn; without it, none (a render never reads the user's own).
    std::string settings;
    int width = 0;  // 0 until parsed: the window's size at `dpi`
    int height = 0;
    int dpi = 96;
    std::optional<LocalTime> at;  // empty: now
    // --dump-dialog find|method|adhan: the dialog's controls instead of a page;
    // --render-dialog find|adhan: its picture, find with --search TEXT typed in it.
    std::string dialog;
    std::string search;
};

// True when the arguments ask for a render (--render, --dump-ops or --dump-dialog).
bool IsRenderRequest(const std::vector<std::string>& args);

// The request, or nothing with `error` naming the bad argument.
std::optional<RenderRequest> ParseRenderRequest(const std::vector<std::string>& args,
                                                std::string& error);

// Paints `paint` on a white width x height image at `dpi` and writes it as PNG.
using PngPainter = std::function<bool(const std::string& file, int width, int height, int dpi,
                                      const std::function<void(Surface&)>& paint)>;

struct RenderEnvironment {
    std::string dataCfg;  // read when --config is not given
    LocalTime now;        // the clock when --at is not given
    PngPainter png;       // what --png draws with
    // What --png --controls draws with: the page on a window with these controls.
    std::function<bool(const std::string& file, int width, int height, int dpi,
                       const std::vector<ControlSpec>& controls,
                       const std::function<void(Surface&)>& paint)>
        pngWithControls;
    std::function<void(const std::string&)> error;  // one line for the user
    TextMeasure measure;                            // texts' extents in the fonts the window uses
    // Where the window's toolkit puts these controls at a resolution, in order,
    // with their texts' widths and room (ControlBox; id and name unused);
    // without it the controls are listed at the places asked for.
    std::function<std::vector<ControlBox>(const std::vector<ControlSpec>&, int dpi)> placeControls;
    // Where the catalogue of methods is read from (MethodFoldersOf).
    std::vector<std::string> methodFolders;
    // The gazetteer --render-dialog searches, and what draws a dialog.
    std::string gazetteer;
    std::function<bool(const std::string& file, int dpi, const DialogSpec& spec,
                       DialogHandler& handler)>
        pngDialog;
};

// Runs the request; the process's exit code: 0 done, 1 configuration or output
// failure, 2 bad usage.
int RunRender(const std::vector<std::string>& args, const RenderEnvironment& environment);

}  // namespace orvano
