// The `orvano` program: the prayer-times window on Qt. With --render or
// --dump-ops it paints one page into a file instead (app/render.h).
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/render.h"
#include "language/languages.h"
#include "platform/app_id.h"
#include "platform/file_settings.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/qt_surface.h"
#include "platform/qt/qt_window.h"
#include "platform/qt/single_instance.h"
#include "platform/system_services.h"
#include "platform/user_files.h"

namespace {

// ORVANO_DPI replaces the screen's resolution (rendering and tests at 192 DPI).
int DpiOverride() {
    const char* text = std::getenv("ORVANO_DPI");
    if (text == nullptr) return 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 24 || value > 960) return 0;
    return static_cast<int>(value);
}

orvano::UserFiles PrepareFiles() {
    orvano::QtShell shell;
    return orvano::PrepareUserFiles(orvano::InstalledFolderOfProgram(shell.ModulePath()));
}

int Render(const std::vector<std::string>& args) {
    orvano::SystemClock clock;
    const orvano::UserFiles files = PrepareFiles();
    if (!files.problem.empty()) std::fprintf(stderr, "orvano: %s\n", files.problem.c_str());
    orvano::RenderEnvironment environment;
    environment.dataCfg = files.dataCfg;
    environment.methodFolders = orvano::MethodFoldersOf(files.installedFolder);
    environment.gazetteer = files.installedFolder + "/gazetteer.tsv";
    environment.pngDialog = orvano::GrabDialogToPng;
    environment.now = clock.Now();
    environment.png = orvano::PaintToPng;
    environment.pngWithControls = orvano::GrabToPng;
    environment.error = [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };
    environment.measure = [](const orvano::FontSpec& font, const std::string& text) {
        const orvano::TextInk ink = orvano::MeasureText(font, text);
        return orvano::TextExtent{ink.advance, ink.top, ink.height, ink.inkAdvance};
    };
    environment.placeControls = [](const std::vector<orvano::ControlSpec>& specs, int dpi) {
        std::vector<orvano::ControlBox> boxes;
        for (const orvano::PlacedControl& c : orvano::PlaceControls(specs, dpi)) {
            const orvano::Rect& r = c.rect;
            boxes.push_back(
                {0, {}, {r.left, r.top, r.width(), r.height()}, c.textWidth, c.textRoom});
        }
        return boxes;
    };
    return orvano::RunRender(args, environment);
}

constexpr const char* kUsage =
    "Usage: orvano [--verbose] [--lang 1|2|CODE] [--adhan-settings]\n"
    "       orvano --render PAGE --png FILE [OPTIONS]\n"
    "       orvano --dump-ops PAGE --json FILE [OPTIONS]\n"
    "       orvano --dump-dialog find|method|adhan --json FILE [--lang 1|2|CODE]\n"
    "                  [--dpi N]\n"
    "       orvano --render-dialog find --png FILE --search TEXT\n"
    "       orvano --render-dialog adhan --png FILE\n"
    "                  [--lang 1|2|CODE] [--dpi N]\n"
    "The prayer-times window: the day's times, the Sun and the Qibla for a chosen town.\n"
    "\n"
    "  -h, --help     Print this help and exit\n"
    "  -v, --version  Print the version and exit\n"
    "  --verbose      Print the start-up prompts on standard output\n"
    "  --lang 1|2|CODE\n"
    "                 Speak this language in this run (1 English, 2 French, or en, fr,\n"
    "                 tr, id, ms, bn, ar, ur, fa); the saved choice stays\n"
    "  --adhan-settings\n"
    "                 Open the adhan and reminders dialog, in the window already\n"
    "                 running if there is one\n"
    "  --render, --dump-ops\n"
    "                 Draw one page (0 Home to 4 About) into a PNG image or its drawing\n"
    "                 operations into a JSON file, without a display; OPTIONS are\n"
    "                 --config FILE, --town N, --lang 1|2|CODE, --exploring, --night,\n"
    "                 --size WxH, --dpi N, --at \"YYYY-MM-DD HH:MM:SS\", --controls,\n"
    "                 --digits latin|arabic\n"
    "  --dump-dialog  Where the controls of the town search, the method dialog or the\n"
    "                 adhan and reminders dialog go\n"
    "  --render-dialog\n"
    "                 The town search with TEXT typed, or the adhan dialog, as a PNG\n"
    "                 image\n"
    "\n"
    "See orvano(1).\n";

bool Has(const std::vector<std::string>& args, const char* a, const char* b) {
    return std::find_if(args.begin(), args.end(),
                        [&](const std::string& arg) { return arg == a || arg == b; }) != args.end();
}

// --verbose, and --adhan-settings: the dialog opened once the window shows.
void TakeWindowOptions(orvano::App& app, const std::vector<std::string>& args) {
    app.verbose = Has(args, "--verbose", "--verbose");
    if (Has(args, orvano::kAdhanSettingsOption, orvano::kAdhanSettingsOption)) {
        app.startCommand = orvano::kIdAdhan;
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // Answered before anything needs a display or finds a running window.
    if (Has(args, "--help", "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (Has(args, "--version", "-v")) {
        std::printf("orvano %s\n", ORVANO_VERSION);
        return 0;
    }
    const bool render = orvano::IsRenderRequest(args);
    std::optional<std::string> asked;
    if (!render) {
        const auto at = std::find(args.begin(), args.end(), std::string("--lang"));
        if (at != args.end()) {
            asked = at + 1 != args.end() ? orvano::LanguageArgument(*(at + 1)) : std::nullopt;
            if (!asked) {
                std::fprintf(stderr, "orvano: --lang takes 1, 2 or one of:");
                for (const auto& language : orvano::Languages())
                    std::fprintf(stderr, " %s", language.code);
                std::fprintf(stderr, "\n");
                return 2;
            }
        }
    }
    // A render needs fonts but no display.
    if (render) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    QApplication::setDesktopFileName(orvano::kAppId);
    if (render) {
        // Mixed lines (a label and its number) read from the right in these languages.
        const auto lang = std::find(args.begin(), args.end(), std::string("--lang"));
        if (lang != args.end() && lang + 1 != args.end()) {
            const std::optional<std::string> code = orvano::LanguageArgument(*(lang + 1));
            if (code && orvano::IsRightToLeft(*code)) orvano::SetReadingDirection(true);
        }
        return Render(args);
    }

    orvano::QtScreen screen(DpiOverride());
    orvano::QtWindowSystem windows(screen);
    // Ended by a signal, the window still removes its socket on the way out.
    orvano::QuitOnTerminationSignals();
    orvano::QtMessageBoxes messages;
    orvano::FileSettingsStore settings(orvano::DefaultSettingsPath());
    orvano::CreateProgramKeys(settings);
    orvano::QtShell shell;
    orvano::SystemClock clock;
    orvano::StdConsole console;
    orvano::QtStringTable strings;
    messages.SetOwner([&windows]() -> QWidget* { return windows.mainWindow(); });

    orvano::App app(
        orvano::Platform{windows, screen, messages, settings, shell, clock, console, strings});
    app.files = PrepareFiles();
    if (!app.files.problem.empty()) {
        std::fprintf(stderr, "orvano: %s\n", app.files.problem.c_str());
        messages.Show(app.files.problem, "orvano");
    }
    TakeWindowOptions(app, args);
    app.askedLanguage = asked;
    // Nobody answers on the offscreen platform (tests, screenshots).
    app.offerAlarms = QGuiApplication::platformName() != QLatin1String("offscreen");
    // The show command for a normal window.
    constexpr int kShowNormal = 1;
    return orvano::RunApplication(app, kShowNormal);
}
