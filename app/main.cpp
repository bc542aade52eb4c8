// The `orvano` program: the prayer-times window on Qt.
#include <QApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/render.h"
#include "platform/file_settings.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/qt_surface.h"
#include "platform/qt/qt_window.h"
#include "platform/system_services.h"

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

// --render and --dump-ops paint one page without a window and exit.
int RenderMain(int argc, char** argv, const std::vector<std::string>& args) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    orvano::SystemClock clock;
    orvano::RenderEnvironment environment;
    environment.programFolder = orvano::FolderOf(orvano::QtShell().ModulePath());
    environment.now = clock.Now();
    environment.png = orvano::PaintToPng;
    environment.error = [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };
    return orvano::RunRender(args, environment);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (orvano::IsRenderRequest(args)) return RenderMain(argc, argv, args);

    QApplication application(argc, argv);

    orvano::QtScreen screen(DpiOverride());
    orvano::QtWindowSystem windows(screen);
    orvano::QtMessageBoxes messages;
    orvano::FileSettingsStore settings(orvano::DefaultSettingsPath());
    orvano::QtShell shell;
    orvano::SystemClock clock;
    orvano::StdConsole console;
    orvano::QtStringTable strings;
    messages.SetOwner([&windows]() -> QWidget* { return windows.mainWindow(); });

    orvano::App app(
        orvano::Platform{windows, screen, messages, settings, shell, clock, console, strings});
    // The handheld's show command for a normal window.
    constexpr int kShowNormal = 1;
    return orvano::RunApplication(app, kShowNormal);
}
