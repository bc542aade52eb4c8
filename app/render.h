// `orvano --render PAGE --png FILE` and `orvano --dump-ops PAGE --json FILE`:
// one page painted without a window, for documentation, tests and checks.
//
// Both take --config FILE, --town N, --lang 1|2, --exploring, --size WxH
// (client size, default 240x268), --dpi N (default 96) and
// --at "YYYY-MM-DD HH:MM:SS" (the clock and the pickers; default now).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/surface.h"

namespace orvano {

struct RenderRequest {
    enum class Output { Png, Json };
    Output output = Output::Png;
    int page = 0;
    std::string file;
    std::string config;  // empty: the user's data.cfg
    std::optional<int> town;
    std::uint32_t lang = 2;
    bool exploring = false;
    int width = 240;
    int height = 268;
    int dpi = 96;
    std::optional<LocalTime> at;  // empty: now
};

// True when the arguments ask for a render (their first option is --render or --dump-ops).
bool IsRenderRequest(const std::vector<std::string>& args);

// The request, or nothing with `error` naming the bad argument.
std::optional<RenderRequest> ParseRenderRequest(const std::vector<std::string>& args,
                                                std::string& error);

// Paints `paint` on a white width x height image at `dpi` and writes it as PNG.
using PngPainter = std::function<bool(const std::string& file, int width, int height, int dpi,
                                      const std::function<void(Surface&)>& paint)>;

struct RenderEnvironment {
    std::string dataCfg;                            // read when --config is not given
    LocalTime now;                                  // the clock when --at is not given
    PngPainter png;                                 // what --png draws with
    std::function<void(const std::string&)> error;  // one line for the user
};

// Runs the request; the process's exit code: 0 done, 1 configuration or output
// failure, 2 bad usage.
int RunRender(const std::vector<std::string>& args, const RenderEnvironment& environment);

}  // namespace orvano
