// orvano-today: the stand-in Today screen. Loads libTodayOrvano.so from
// PREFIX/lib/orvano and shows its item in a small strip window.
#include <dlfcn.h>
#include <unistd.h>

#include <QApplication>
#include <QCryptographicHash>
#include <QIcon>
#include <QLocalSocket>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "host/call_to_prayer.h"
#include "host/host_clock.h"
#include "host/host_options.h"
#include "host/host_text.h"
#include "host/strip.h"
#include "platform/app_id.h"
#include "platform/file_settings.h"
#include "platform/language.h"
#include "platform/notification_store.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/qt_window.h"
#include "platform/qt/single_instance.h"
#include "platform/qt/sound_canberra.h"
#include "platform/screen.h"
#include "platform/system_services.h"
#include "platform/today_process.h"
#include "platform/user_files.h"

namespace {

using namespace orvano;

TodayHostServices hostServices;

class NoSounds final : public Sounds {
  public:
    void PlayNamed(const std::string&) override {}
};

class TracedSounds final : public Sounds {
  public:
    TracedSounds(std::unique_ptr<Sounds> inner, TraceFunction trace)
        : inner_(std::move(inner)), trace_(std::move(trace)) {}
    void PlayNamed(const std::string& name) override {
        trace_("sound " + name);
        inner_->PlayNamed(name);
    }

  private:
    std::unique_ptr<Sounds> inner_;
    TraceFunction trace_;
};

// One strip per user (and per data folder, so that tests never meet the user's).
std::string InstanceFile() {
    const QByteArray folderHash =
        QCryptographicHash::hash(QByteArray::fromStdString(UserDataFolder()),
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(12);
    return "orvano-today-" + folderHash.toStdString() + ".sock";
}

struct Plugin {
    void* library = nullptr;
    TodayCreateItem createItem = nullptr;
    TodayDialogProc optionsProc = nullptr;
};

// Handing the plug-in the host's services runs its load handler, which reads data.cfg.
Plugin LoadPlugin(const std::string& path) {
    Plugin plugin;
    plugin.library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (plugin.library == nullptr) {
        std::fprintf(stderr, "orvano-today: %s %s: %s\n",
                     Say(kWordCannotLoad).toLocal8Bit().constData(), path.c_str(), dlerror());
        return plugin;
    }
    auto table = reinterpret_cast<TodayExportTable>(dlsym(plugin.library, kPluginExportSymbol));
    const auto attach =
        table != nullptr ? reinterpret_cast<TodayAttachHost>(table(kExportAttachHost)) : nullptr;
    if (attach != nullptr && attach(&hostServices)) {
        plugin.createItem = reinterpret_cast<TodayCreateItem>(table(kExportCreateItem));
        plugin.optionsProc = reinterpret_cast<TodayDialogProc>(table(kExportOptionsDialog));
    }
    return plugin;
}

std::unique_ptr<Clock> MakeClock(const HostOptions& options, StartedClock*& testClock) {
    testClock = nullptr;
    if (options.startTime.isEmpty() && options.jumpAfterMs < 0) {
        return std::make_unique<SystemClock>();
    }
    LocalTime start = SystemClock().Now();
    if (!options.startTime.isEmpty() && !ParseLocalTime(options.startTime, start)) {
        std::fprintf(stderr, "orvano-today: bad --time value: %s\n",
                     options.startTime.toLocal8Bit().constData());
        return nullptr;
    }
    auto clock = std::make_unique<StartedClock>(start);
    testClock = clock.get();
    return clock;
}

// The runs that tests and screenshots ask for once the strip is up.
void ScheduleTestActions(const HostOptions& options, StripWindow& strip, StartedClock* clock,
                         QApplication& app) {
    if (!options.grabOptionsFile.isEmpty()) strip.OpenOptions(options.grabOptionsFile);
    if (options.dragBy) strip.SimulateDrag(*options.dragBy);
    if (options.tapAt) strip.SimulateTap(*options.tapAt);
    if (!options.menuAction.isEmpty()) {
        QTimer::singleShot(0, &strip,
                           [&strip, &options] { strip.RunMenuAction(options.menuAction); });
    }
    if (clock != nullptr && options.jumpAfterMs >= 0) {
        QTimer::singleShot(options.jumpAfterMs, &strip,
                           [clock, &options] { clock->Jump(options.jumpBySeconds); });
    }
    if (options.exitAfterMs >= 0) {
        QTimer::singleShot(options.exitAfterMs, &app, [&strip, &options, &app] {
            if (!options.grabFile.isEmpty()) strip.grab().save(options.grabFile);
            app.quit();
        });
    }
}

// Everything the strip and its plug-in use, made once for the process.
struct Host {
    explicit Host(const HostOptions& o, TraceFunction t)
        : options(o),
          trace(std::move(t)),
          screen(o.dpi),
          settings(DefaultSettingsPath()),
          boxes(o.boxesToStderr, trace),
          sounds(o.silent ? std::unique_ptr<Sounds>(std::make_unique<NoSounds>())
                          : std::make_unique<CanberraSounds>(),
                 trace),
          dataFolder(UserDataFolder()),
          windows(screen.LogicalDpiY() > 0 ? screen.LogicalDpiY() : 96, trace),
          calls(sounds, trace, o.silent, CallWords(settings)) {}

    // The strip speaks the window's language from its start, these words too.
    static CallToPrayer::Words CallWords(SettingsStore& settings) {
        UseLanguage(LanguageOfSettings(settings).code);
        return {Say(kWordStop).toStdString(), Say(kWordCannotPlayAdhan).toStdString(),
                Say(kWordCannotPlayReminder).toStdString()};
    }

    const HostOptions& options;
    TraceFunction trace;
    QtScreen screen;
    FileSettingsStore settings;
    HostMessageBoxes boxes;
    TracedSounds sounds;
    std::string dataFolder;
    QtShell shell;
    QtTodayWindowSystem windows;
    CallToPrayer calls;
    std::unique_ptr<Clock> clock;
    StartedClock* testClock = nullptr;
    std::unique_ptr<NotificationStore> store;
};

void LendServices(Host& host) {
    hostServices.windows = &host.windows;
    hostServices.messages = &host.boxes;
    hostServices.settings = &host.settings;
    hostServices.clock = host.clock.get();
    hostServices.screen = &host.screen;
    hostServices.sounds = &host.sounds;
    hostServices.notifications = host.store.get();
    hostServices.shell = &host.shell;
    hostServices.calls = &host.calls;
}

int RunStrip(QApplication& app, Host& host, InstanceChannel& channel) {
    const HostOptions& options = host.options;
    CreateProgramKeys(host.settings);
    const std::string language = LanguageOfSettings(host.settings).code;
    UseLanguage(language);
    // The menu, the options dialog and the message boxes read from the right too.
    SetReadingDirection(IsRightToLeft(language));
    const std::string exe = ProcessExecutablePath();
    const std::string folder = exe.substr(0, exe.find_last_of('/'));
    // The plug-in makes the user's copy and reports a problem with it; the
    // strip watches the file it reads.
    const UserDataCfg config = PrepareUserDataCfg(InstalledFolderOfProgram(exe) + "/data.cfg");
    if (!config.problem.empty()) std::fprintf(stderr, "orvano-today: %s\n", config.problem.c_str());

    StripOptions stripOptions;
    stripOptions.width = ScaleForDpi(options.width, host.windows.dpiY());
    stripOptions.queryIntervalMs = options.queryIntervalMs;
    stripOptions.configPath = config.path;
    stripOptions.orvanoPath = folder + "/orvano";
    auto strip = std::make_unique<StripWindow>(host.windows, hostServices, *host.store, host.boxes,
                                               stripOptions);
    host.boxes.SetOwner([&strip]() -> QWidget* { return strip.get(); });
    strip->UseCallToPrayer(host.calls);
    const TraceFunction& trace = host.trace;
    const bool findable = channel.Listen(
        [&strip, &trace](QLocalSocket* peer) {
            peer->deleteLater();
            trace("raise requested");
            strip->show();
            strip->raise();
            strip->activateWindow();
        },
        [&trace](long uid) { trace("instance request refused from uid " + std::to_string(uid)); });
    if (!findable) {
        std::fprintf(stderr, "orvano-today: %s\n", Say(kWordNotFindable).toLocal8Bit().constData());
    }

    const std::string prefix = FolderOf(folder);
    const Plugin plugin = LoadPlugin(prefix + "/lib/orvano/libTodayOrvano.so");
    if (plugin.library == nullptr) return 1;
    TodayWindow* item = plugin.createItem != nullptr
                            ? plugin.createItem(strip->descriptor(), strip->hostWindow())
                            : nullptr;
    if (item == nullptr) {
        host.trace("load refused");
        std::fprintf(stderr, "orvano-today: %s\n", Say(kWordLoadRefused).toLocal8Bit().constData());
        // The reader's message says why: it stays until read, then the strip leaves.
        if (host.boxes.Showing()) {
            host.boxes.QuitWhenClosed();
            app.exec();
        }
        strip.reset();
        dlclose(plugin.library);
        return 1;
    }
    host.trace("item created");
    strip->Start(item, plugin.optionsProc);
    strip->ShowInPlace();
    ScheduleTestActions(options, *strip, host.testClock, app);
    const int code = app.exec();
    strip.reset();
    dlclose(plugin.library);  // the plug-in's unload; closes its log
    host.trace("unloaded");
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    // --help and --version answer without a display and without finding the
    // running strip: a core application is enough to parse them.
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h" || arg == "--help-all" || arg == "--version" ||
            arg == "-v") {
            QCoreApplication core(argc, argv);
            QCoreApplication::setApplicationName("orvano-today");
            QCoreApplication::setApplicationVersion(ORVANO_VERSION);
            ParseHostOptions(core);  // prints and exits
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("orvano-today");
    QApplication::setApplicationDisplayName("Orvano Today");
    QApplication::setDesktopFileName(kTodayAppId);
    QApplication::setWindowIcon(QIcon::fromTheme(kAppId, QIcon(":/orvano/icon/111.png")));
    // Hiding the strip behind the tray, or closing the last message, is not quitting.
    QApplication::setQuitOnLastWindowClosed(false);
    const HostOptions options = ParseHostOptions(app);

    std::unique_ptr<std::ofstream> traceFile;
    if (!options.traceFile.isEmpty()) {
        traceFile = std::make_unique<std::ofstream>(options.traceFile.toStdString(), std::ios::app);
    }
    TraceFunction trace = [&traceFile](const std::string& line) {
        if (traceFile && *traceFile) *traceFile << line << '\n' << std::flush;
    };

    Host host(options, trace);
    InstanceChannel channel(InstanceFile());
    if (channel.Ask("raise\n", 300)) {
        std::fprintf(stderr, "orvano-today: %s\n",
                     Say(kWordAlreadyRunning).toLocal8Bit().constData());
        return 0;
    }
    // Ended by a signal, the strip still removes its socket on the way out.
    QuitOnTerminationSignals();

    host.clock = MakeClock(options, host.testClock);
    if (!host.clock) return 2;
    Clock& clock = *host.clock;
    host.store = std::make_unique<NotificationStore>(host.dataFolder + "/notifications",
                                                     host.dataFolder + "/named-events",
                                                     [&clock] { return clock.Now(); });
    LendServices(host);
    return RunStrip(app, host, channel);
}
