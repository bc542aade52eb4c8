#include "app/render.h"

#include <climits>
#include <fstream>

#include "app/commands.h"
#include "app/controls.h"
#include "app/layout.h"
#include "app/paint.h"
#include "app/render_recorder.h"
#include "astro/civil_date.h"
#include "astro/plain_number.h"
#include "config/grammar.h"
#include "config/methods.h"
#include "config/reader.h"
#include "engine/schedule.h"
#include "engine/state.h"
#include "language/languages.h"
#include "language/messages.h"
#include "places/gazetteer.h"
#include "platform/file_settings.h"
#include "platform/setting_text.h"

namespace orvano {

namespace {

bool ParseInt(const std::string& text, int& value) {
    const auto plain = PlainInteger(text, INT_MIN, INT_MAX);
    if (plain) value = static_cast<int>(*plain);
    return plain.has_value();
}

bool ParseSize(const std::string& text, int& width, int& height) {
    const size_t x = text.find('x');
    if (x == std::string::npos) return false;
    return ParseInt(text.substr(0, x), width) && ParseInt(text.substr(x + 1), height) &&
           width >= 1 && width <= 8192 && height >= 1 && height <= 8192;
}

bool ParseAt(const std::string& text, LocalTime& at) {
    const CivilText t = ParseCivilText(text, "%Y-%m-%d %H:%M:%S");
    if (t.fault != CivilTextFault::kNone) return false;
    at = LocalTime{t.year, t.month, 0, t.day, t.hour, t.minute, t.second, 0};
    return true;
}

// Boxes of the reader become one line for the user each.
class CollectingSink final : public MessageSink {
  public:
    void Show(const std::string& text, const std::string& caption) override {
        if (!lines.empty()) lines += "; ";
        lines += caption + ": " + text;
    }
    std::string lines;
};

// The controls the request's page shows, visible, with their slots.
std::vector<std::pair<Slot, ControlSpec>> ShownControls(const RenderRequest& request) {
    const PageLayout layout = MakeLayout(Rect{0, 0, request.width, request.height}, request.dpi,
                                         request.dpi, IsRightToLeft(request.language));
    UseLanguage(request.language);
    const auto made = ControlSpecs(layout);
    const auto later = LaterControlSpecs(layout);
    std::vector<ControlSpec> specs(made.begin(), made.end());
    specs.insert(specs.end(), later.begin(), later.end());
    std::vector<std::pair<Slot, ControlSpec>> shown;
    for (size_t i = 0; i < specs.size(); ++i) {
        if ((layout.controls[i].pages & PageBit(request.page)) == 0) continue;
        shown.emplace_back(static_cast<Slot>(i), specs[i]);
        shown.back().second.visible = true;
    }
    return shown;
}

// The controls, named, where the toolkit puts them.
std::vector<ControlBox> PlacedControls(
    const std::vector<std::pair<std::string, ControlSpec>>& named, const RenderRequest& request,
    const RenderEnvironment& environment) {
    std::vector<ControlSpec> shown;
    std::vector<ControlBox> controls;
    for (const auto& [name, spec] : named) {
        shown.push_back(spec);
        controls.push_back(ControlBox{spec.id, name, Box{spec.x, spec.y, spec.width, spec.height}});
    }
    if (environment.placeControls) {
        const std::vector<ControlBox> placed = environment.placeControls(shown, request.dpi);
        for (size_t i = 0; i < controls.size() && i < placed.size(); ++i) {
            controls[i].box = placed[i].box;
            controls[i].textWidth = placed[i].textWidth;
            controls[i].textRoom = placed[i].textRoom;
        }
    }
    return controls;
}

// The controls a page shows, where the toolkit puts them.
std::vector<ControlBox> PageControls(const RenderRequest& request,
                                     const RenderEnvironment& environment) {
    std::vector<std::pair<std::string, ControlSpec>> named;
    for (const auto& [slot, spec] : ShownControls(request))
        named.emplace_back(SlotName(slot), spec);
    return PlacedControls(named, request, environment);
}

// A dialog of the Configuration page: its client, then its controls.
bool WriteDialogJson(const RenderRequest& request, const RenderEnvironment& environment) {
    const DialogKind kind = request.dialog == "find"    ? DialogKind::Find
                            : request.dialog == "adhan" ? DialogKind::Adhan
                                                        : DialogKind::Method;
    const DialogLayout layout = DialogLayoutOf(kind, request.dpi, request.dpi);
    std::vector<std::pair<std::string, ControlSpec>> named;
    UseLanguage(request.language);
    for (const auto& [slot, spec] : DialogControls(kind, layout)) {
        named.emplace_back(DialogSlotName(slot), spec);
    }
    std::string json = OpsToJson({}, PlacedControls(named, request, environment));
    // The client first (the dialog has controls), so that a reader knows what they must stay in.
    json.insert(1,
                Format("\n{\"op\":\"dialog\",\"box\":[0,0,%d,%d]},", layout.width, layout.height));
    std::ofstream out(request.file, std::ios::binary | std::ios::trunc);
    out << json;
    out.close();
    return static_cast<bool>(out);
}

// The adhan dialog as it opens without settings.
int WriteAdhanDialogPng(const RenderRequest& request, const RenderEnvironment& environment) {
    UseLanguage(request.language);
    const bool drawn =
        environment.pngDialog &&
        ShowAdhanDialog(request.dpi, [&](const DialogSpec& spec, DialogHandler& handler) {
            return environment.pngDialog(request.file, request.dpi, spec, handler);
        });
    if (drawn) return 0;
    environment.error("orvano: cannot write " + request.file);
    return 1;
}

// The town search as the user sees it with the request's text typed.
int WriteFindDialogPng(const RenderRequest& request, const RenderEnvironment& environment) {
    std::string error;
    const std::optional<Gazetteer> gazetteer = Gazetteer::Load(environment.gazetteer, error);
    if (!gazetteer) {
        environment.error("orvano: " + error);
        return 1;
    }
    UseLanguage(request.language);
    const bool drawn =
        environment.pngDialog &&
        ShowFindDialog(*gazetteer, request.dpi, request.search,
                       [&](const DialogSpec& spec, DialogHandler& handler) {
                           return environment.pngDialog(request.file, request.dpi, spec, handler);
                       });
    if (drawn) return 0;
    environment.error("orvano: cannot write " + request.file);
    return 1;
}

}  // namespace

bool IsRenderRequest(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--render" || arg == "--dump-ops" || arg == "--dump-dialog" ||
            arg == "--render-dialog") {
            return true;
        }
    }
    return false;
}

namespace {

// The request as the options fill it in, with what must have been given.
struct ParsedRender {
    RenderRequest request;
    bool havePage = false;
    bool haveFile = false;
};

enum class OptionValue { Taken, Refused, Unknown };

// --render/--dump-ops PAGE and --render-dialog/--dump-dialog NAME say what is
// drawn and how; nothing when the option is another one.
std::optional<bool> ParseOutputOption(const std::string& option, const std::string& v,
                                      ParsedRender& parsed) {
    RenderRequest& request = parsed.request;
    if (option == "--render" || option == "--dump-ops") {
        request.output =
            option == "--render" ? RenderRequest::Output::Png : RenderRequest::Output::Json;
        parsed.havePage = ParseInt(v, request.page) && request.page >= 0 && request.page <= 4;
    } else if (option == "--dump-dialog" || option == "--render-dialog") {
        const bool png = option == "--render-dialog";
        request.output = png ? RenderRequest::Output::Png : RenderRequest::Output::Json;
        request.dialog = v;
        parsed.havePage = v == "find" || v == "adhan" || (!png && v == "method");
    } else {
        return std::nullopt;
    }
    return parsed.havePage;
}

// An option that takes a value, with that value.
OptionValue ParseValueOption(const std::string& option, const std::string& v,
                             ParsedRender& parsed) {
    if (const std::optional<bool> output = ParseOutputOption(option, v, parsed)) {
        return *output ? OptionValue::Taken : OptionValue::Refused;
    }
    RenderRequest& request = parsed.request;
    bool ok = true;
    if (option == "--search") {
        request.search = v;
    } else if (option == "--png" || option == "--json") {
        ok = !v.empty() && (option == "--png") == (request.output == RenderRequest::Output::Png);
        request.file = v;
        parsed.haveFile = ok;
    } else if (option == "--config") {
        request.config = v;
        ok = !v.empty();
    } else if (option == "--settings") {
        request.settings = v;
        ok = !v.empty();
    } else if (option == "--town") {
        int town = 0;
        ok = ParseInt(v, town) && town >= 0;
        request.town = town;
    } else if (option == "--lang") {
        const std::optional<std::string> language = LanguageArgument(v);
        ok = language.has_value();
        if (language) request.language = *language;
    } else if (option == "--digits") {
        const std::optional<DigitStyle> digits = ParseDigitStyle(v);
        ok = digits.has_value();
        if (digits) request.digits = *digits;
    } else if (option == "--size") {
        ok = ParseSize(v, request.width, request.height);
    } else if (option == "--dpi") {
        ok = ParseInt(v, request.dpi) && request.dpi >= 24 && request.dpi <= 960;
    } else if (option == "--at") {
        LocalTime at;
        ok = ParseAt(v, at);
        request.at = at;
    } else {
        return OptionValue::Unknown;
    }
    return ok ? OptionValue::Taken : OptionValue::Refused;
}

// The defaults of what was not given, or nothing when a required option is missing.
std::optional<RenderRequest> CompleteRequest(ParsedRender& parsed, std::string& error) {
    RenderRequest& request = parsed.request;
    if (request.width == 0) {
        request.width = ScaleForDpi(kLayoutClientWidth, request.dpi);
        request.height = ScaleForDpi(kLayoutClientHeight, request.dpi);
    }
    if (!parsed.havePage) {
        error =
            "missing --render PAGE, --dump-ops PAGE, --dump-dialog NAME or --render-dialog NAME";
        return std::nullopt;
    }
    if (!parsed.haveFile) {
        error = request.output == RenderRequest::Output::Png ? "missing --png FILE"
                                                             : "missing --json FILE";
        return std::nullopt;
    }
    return request;
}

}  // namespace

std::optional<RenderRequest> ParseRenderRequest(const std::vector<std::string>& args,
                                                std::string& error) {
    ParsedRender parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--exploring") {
            parsed.request.exploring = true;
            continue;
        }
        if (option == "--controls") {
            parsed.request.controls = true;
            continue;
        }
        if (option == "--night") {
            parsed.request.night = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = "missing value after " + option;
            return std::nullopt;
        }
        const std::string& v = args[++i];
        switch (ParseValueOption(option, v, parsed)) {
            case OptionValue::Taken:
                break;
            case OptionValue::Unknown:
                error = "unknown option " + option;
                return std::nullopt;
            case OptionValue::Refused:
                error = "bad argument ";
                error.append(option).append(" ").append(v);
                return std::nullopt;
        }
    }
    return CompleteRequest(parsed, error);
}

namespace {

// The tables and the town the request draws from. 0 when they are ready;
// otherwise the exit code, with the reason told to the user.
int ReadRenderTables(const RenderRequest& request, const RenderEnvironment& environment,
                     const std::string& config, EngineState& engine) {
    CollectingSink boxes;
    StringTraceSink console;
    std::string openReason;
    const int result = ReadDataCfg(config, std::string(), engine.tables, engine.place, boxes,
                                   &console, &openReason);
    engine.tables.Verbose = 0;
    engine.traceSink = nullptr;
    engine.methods = ReadMethodConventions(environment.methodFolders);
    const int towns =
        std::min(static_cast<int>(engine.tables.Towns.size()), engine.tables.NumberOfTowns);
    if (request.town) {
        if (*request.town >= towns) {
            environment.error("orvano: bad argument --town " + std::to_string(*request.town) +
                              ": " + config + " has " + std::to_string(towns) + " towns");
            return 2;
        }
        engine.tables.TownSelected = *request.town;
        FillCurrentPlace(engine.tables.Towns[static_cast<std::size_t>(*request.town)],
                         engine.place);
    } else if (result != kReadOk) {
        // Why, in the reader's own words: the reason the file would not open,
        // its message, or its console line.
        std::string why = !openReason.empty() ? openReason : boxes.lines;
        if (why.empty()) why = console.text();
        while (!why.empty() && why.back() == '\n') why.pop_back();
        environment.error("orvano: cannot read " + config + ": " + why);
        return 1;
    }
    return 0;
}

// The window's paint input for the request's page at `at`.
PaintInput RenderPaintInput(const RenderRequest& request, const LocalTime& at, EngineState& engine,
                            const PrayerExtras& extras) {
    PaintInput input;
    input.client = Rect{0, 0, request.width, request.height};
    input.dpiX = request.dpi;
    input.dpiY = request.dpi;
    input.language = request.language;
    input.digits = request.digits;
    UseLanguage(input.language);
    input.requestedPage = request.page;
    input.exploring = request.exploring;
    input.now = at;
    input.qibla = PreparePage(
        request.page, at, at, [&engine] { ComputeDaySchedule(engine); }, engine);
    input.home = PrepareHome(engine, request.night, extras);
    return input;
}

// The page's drawing operations and its controls as JSON.
bool WriteOpsJson(const RenderRequest& request, const RenderEnvironment& environment,
                  const PaintInput& input, const EngineState& engine) {
    RecordingSurface surface(request.dpi, input.client, environment.measure);
    PaintMainWindow(surface, input, engine);
    std::ofstream out(request.file, std::ios::binary | std::ios::trunc);
    out << OpsToJson(surface.ops(), PageControls(request, environment));
    out.close();
    return static_cast<bool>(out);
}

// The page as a PNG image, with its empty controls over it when asked for.
bool WritePng(const RenderRequest& request, const RenderEnvironment& environment,
              const PaintInput& input, const EngineState& engine) {
    const auto paint = [&](Surface& surface) { PaintMainWindow(surface, input, engine); };
    if (request.controls) {
        std::vector<ControlSpec> shown;
        for (const auto& entry : ShownControls(request)) shown.push_back(entry.second);
        return environment.pngWithControls &&
               environment.pngWithControls(request.file, request.width, request.height, request.dpi,
                                           shown, paint);
    }
    return environment.png &&
           environment.png(request.file, request.width, request.height, request.dpi, paint);
}

}  // namespace

int RunRender(const std::vector<std::string>& args, const RenderEnvironment& environment) {
    std::string error;
    const std::optional<RenderRequest> parsed = ParseRenderRequest(args, error);
    if (!parsed) {
        environment.error("orvano: " + error);
        return 2;
    }
    const RenderRequest& request = *parsed;
    if (!request.dialog.empty()) {
        if (request.output == RenderRequest::Output::Png && request.dialog == "adhan")
            return WriteAdhanDialogPng(request, environment);
        if (request.output == RenderRequest::Output::Png)
            return WriteFindDialogPng(request, environment);
        if (WriteDialogJson(request, environment)) return 0;
        environment.error("orvano: cannot write " + request.file);
        return 1;
    }

    EngineState engine;
    const std::string config = request.config.empty() ? environment.dataCfg : request.config;
    if (const int status = ReadRenderTables(request, environment, config, engine); status != 0) {
        return status;
    }

    PrayerExtras extras;
    if (!request.settings.empty()) {
        FileSettingsStore settings(request.settings);
        extras = ReadPrayerExtras(SettingTextReader(settings));
    }
    const LocalTime at = request.at.value_or(TownTime(environment.now, engine.place));
    engine.observation = Observation{at.day, at.month, at.year, at.hour, at.minute, at.second};
    ComputeDaySchedule(engine);

    const PaintInput input = RenderPaintInput(request, at, engine, extras);
    const bool written = request.output == RenderRequest::Output::Json
                             ? WriteOpsJson(request, environment, input, engine)
                             : WritePng(request, environment, input, engine);
    if (!written) {
        environment.error("orvano: cannot write " + request.file);
        return 1;
    }
    return 0;
}

}  // namespace orvano
