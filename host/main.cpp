// orvano-today: the stand-in Today screen. Loads libTodayOrvano.so from its
// own folder and shows its item in a small strip window.
#include <dlfcn.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QCryptographicHash>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <fstream>
#include <memory>

#include "host/strip.h"
#include "platform/file_settings.h"
#include "platform/notification_store.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/sound_canberra.h"
#include "platform/system_services.h"
#include "platform/today_process.h"

namespace {

using namespace orvano;

TodayHostServices hostServices;

// A clock that starts at a given local time and runs at the real rate.
class StartedClock final : public Clock {
  public:
    explicit StartedClock(LocalTime start) : start_(start) { timer_.start(); }
    LocalTime Now() const override {
        LocalTime t = start_;
        const long long ms = t.milliseconds + timer_.elapsed();
        t.second += static_cast<int>(ms / 1000);
        t.milliseconds = static_cast<int>(ms % 1000);
        return NormaliseLocalTime(t);
    }
    std::int64_t Counter() const override { return timer_.nsecsElapsed(); }
    std::int64_t CounterFrequency() const override { return 1000000000; }

  private:
    LocalTime start_;
    QElapsedTimer timer_;
};

// For runs without anyone to press OK: boxes go to standard error and the trace.
class TracedBoxes final : public MessageBoxes {
  public:
    explicit TracedBoxes(TraceFunction trace) : trace_(std::move(trace)) {}
    void ShowOk(const std::string& text, const std::string& caption) override {
        std::fprintf(stderr, "orvano-today: %s: %s\n", caption.c_str(), text.c_str());
        trace_("box " + caption + ": " + text);
    }

  private:
    TraceFunction trace_;
};

class NoSounds final : public Sounds {
  public:
    void PlayNamed(const std::string&) override {}
};

class TracedSounds final : public Sounds {
  public:
    TracedSounds(Sounds& inner, TraceFunction trace) : inner_(inner), trace_(std::move(trace)) {}
    void PlayNamed(const std::string& name) override {
        trace_("sound " + name);
        inner_.PlayNamed(name);
    }

  private:
    Sounds& inner_;
    TraceFunction trace_;
};

bool ParseTime(const QString& text, LocalTime& out) {
    const QDateTime t = QDateTime::fromString(text, "yyyy-MM-dd HH:mm:ss");
    if (!t.isValid()) return false;
    out = {t.date().year(), t.date().month(),  t.date().dayOfWeek() % 7, t.date().day(),
           t.time().hour(), t.time().minute(), t.time().second(),        0};
    return true;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) orvano::TodayHostServices*
OrvanoTodayHostServices() {
    return &hostServices;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Qt takes the user's locale for the C library too; the plug-in's texts
    // and the stores it writes keep a decimal point whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("orvano-today");
    QCommandLineParser parser;
    parser.setApplicationDescription("The Orvano Today strip");
    parser.addHelpOption();
    QCommandLineOption timeOption("time", "Start the clock at this local time.",
                                  "YYYY-MM-DD HH:MM:SS");
    QCommandLineOption exitOption("exit-after", "Quit after this many milliseconds.", "ms");
    QCommandLineOption traceOption("trace", "Append the messages and drawing to this file.",
                                   "file");
    QCommandLineOption grabOption("grab", "Save the strip as a PNG file when quitting.", "file");
    QCommandLineOption grabOptionsOption("grab-options", "Save the options dialog as a PNG file.",
                                         "file");
    QCommandLineOption dpiOption("dpi", "Logical pixels per inch instead of the screen's.", "dpi");
    QCommandLineOption widthOption("width", "Strip width in pixels at 96 dpi.", "pixels", "240");
    QCommandLineOption intervalOption("query-interval", "Refresh query period.", "ms", "2000");
    QCommandLineOption silentOption("silent", "Play no sounds (they are still traced).");
    QCommandLineOption boxesOption("boxes-to-stderr",
                                   "Print message boxes instead of showing them.");
    parser.addOptions({timeOption, exitOption, traceOption, grabOption, grabOptionsOption,
                       dpiOption, widthOption, intervalOption, boxesOption, silentOption});
    parser.process(app);

    std::unique_ptr<std::ofstream> traceFile;
    if (parser.isSet(traceOption)) {
        traceFile =
            std::make_unique<std::ofstream>(parser.value(traceOption).toStdString(), std::ios::app);
    }
    TraceFunction trace = [&traceFile](const std::string& line) {
        if (traceFile && *traceFile) *traceFile << line << '\n' << std::flush;
    };

    // One strip per user (and per data folder, so that tests never meet the user's).
    const QByteArray folderHash =
        QCryptographicHash::hash(QByteArray::fromStdString(UserDataFolder()),
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(12);
    const QString serverName = QString("orvano-today-%1-%2").arg(getuid()).arg(QString(folderHash));
    {
        QLocalSocket socket;
        socket.connectToServer(serverName);
        if (socket.waitForConnected(300)) {
            socket.write("raise\n");
            socket.waitForBytesWritten(300);
            std::fprintf(stderr, "orvano-today: already running\n");
            return 0;
        }
    }
    QLocalServer::removeServer(serverName);
    QLocalServer server;
    server.listen(serverName);

    LocalTime start;
    std::unique_ptr<Clock> clock;
    if (parser.isSet(timeOption)) {
        if (!ParseTime(parser.value(timeOption), start)) {
            std::fprintf(stderr, "orvano-today: bad --time value: %s\n",
                         parser.value(timeOption).toLocal8Bit().constData());
            return 2;
        }
        clock = std::make_unique<StartedClock>(start);
    } else {
        clock = std::make_unique<SystemClock>();
    }
    const int dpiOverride = parser.value(dpiOption).toInt();
    QtScreen screen(dpiOverride);
    const int dpiY = screen.LogicalDpiY() > 0 ? screen.LogicalDpiY() : 96;
    FileSettingsStore settings(DefaultSettingsPath());
    QtMessageBoxes qtBoxes;
    TracedBoxes tracedBoxes(trace);
    std::unique_ptr<Sounds> player;
    if (parser.isSet(silentOption)) {
        player = std::make_unique<NoSounds>();
    } else {
        player = std::make_unique<CanberraSounds>();
    }
    TracedSounds sounds(*player, trace);
    const std::string dataFolder = UserDataFolder();
    NotificationStore store(dataFolder + "/notifications", dataFolder + "/named-events",
                            [&clock] { return clock->Now(); });
    QtShell shell;
    QtTodayWindowSystem windows(dpiY, trace);

    hostServices.windows = &windows;
    hostServices.messages = parser.isSet(boxesOption) ? static_cast<MessageBoxes*>(&tracedBoxes)
                                                      : static_cast<MessageBoxes*>(&qtBoxes);
    hostServices.settings = &settings;
    hostServices.clock = clock.get();
    hostServices.screen = &screen;
    hostServices.sounds = &sounds;
    hostServices.notifications = &store;
    hostServices.shell = &shell;

    const std::string exe = ProcessExecutablePath();
    const std::string folder = exe.substr(0, exe.find_last_of('/'));
    const std::string libraryPath = folder + "/libTodayOrvano.so";

    StripOptions options;
    options.width = (parser.value(widthOption).toInt() * dpiY + 48) / 96;
    options.queryIntervalMs = std::max(50, parser.value(intervalOption).toInt());
    options.configPath = folder + "/data.cfg";
    auto strip = std::make_unique<StripWindow>(windows, hostServices, store, options);
    qtBoxes.SetOwner([&strip]() -> QWidget* { return strip.get(); });
    QObject::connect(&server, &QLocalServer::newConnection, [&server, &strip] {
        while (QLocalSocket* peer = server.nextPendingConnection()) {
            peer->deleteLater();
            strip->show();
            strip->raise();
            strip->activateWindow();
        }
    });

    void* library = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        std::fprintf(stderr, "orvano-today: cannot load %s: %s\n", libraryPath.c_str(), dlerror());
        return 1;
    }
    auto table = reinterpret_cast<TodayExportTable>(dlsym(library, kPluginExportSymbol));
    auto createItem = table ? reinterpret_cast<TodayCreateItem>(table(kExportCreateItem)) : nullptr;
    auto optionsProc =
        table ? reinterpret_cast<TodayDialogProc>(table(kExportOptionsDialog)) : nullptr;
    TodayWindow* item = nullptr;
    if (createItem != nullptr) item = createItem(strip->descriptor(), strip->hostWindow());
    if (item == nullptr) {
        trace("load refused");
        std::fprintf(stderr, "orvano-today: the plug-in refused to load; no item is shown\n");
        strip.reset();
        dlclose(library);
        return 1;
    }
    trace("item created");
    strip->Start(item, optionsProc);
    strip->show();

    if (parser.isSet(grabOptionsOption)) strip->OpenOptions(parser.value(grabOptionsOption));
    if (parser.isSet(exitOption)) {
        QTimer::singleShot(parser.value(exitOption).toInt(), &app, [&] {
            if (parser.isSet(grabOption)) strip->grab().save(parser.value(grabOption));
            app.quit();
        });
    }
    const int code = app.exec();
    strip.reset();
    dlclose(library);  // the plug-in's unload; closes its log
    trace("unloaded");
    return code;
}
