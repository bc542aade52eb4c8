// The real window on Qt's offscreen platform: sizes, visible controls, page
// arrows, painting, and the single-instance channel, in this process and
// between two runs of the installed-like program.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

#include "app/app.h"
#include "language/messages.h"
#include "platform/file_settings.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/qt_window.h"
#include "platform/qt/standard_buttons.h"
#include "platform/system_services.h"
#include "tests/app/app_fixture.h"
#include "tests/support/recording_platform.h"
#include "tests/support/temp_folder.h"

namespace orvano::testing {

namespace fs = std::filesystem;

// Everything the window and the program could touch lives under one temporary folder.
class Sandbox {
  public:
    Sandbox() {
        root_ = fs::temp_directory_path() / ("orvano_window_test_" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "config");
        fs::create_directories(root_ / "run");
        fs::create_directories(root_ / "program");
        ::chmod((root_ / "run").c_str(), 0700);
        setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (root_ / "run").c_str(), 1);
        setenv("XDG_STATE_HOME", (root_ / "state").c_str(), 1);
        setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        fs::copy_file(fs::path(ORVANO_SOURCE_DIR) / "resources/data.cfg",
                      root_ / "program/data.cfg");
    }
    ~Sandbox() { fs::remove_all(root_); }
    const fs::path& root() const { return root_; }

  private:
    fs::path root_;
};

Sandbox& TheSandbox() {
    static Sandbox sandbox;
    return sandbox;
}

namespace {

// Made by main() below, before any test, and destroyed after them all.
QApplication& TheApplication() {
    return *static_cast<QApplication*>(QCoreApplication::instance());
}

// The application on the Qt window system, with doubles for what must stay
// inside the test (boxes, shell, console) and a settings file in the sandbox.
struct RealWindow {
    explicit RealWindow(int dpi, const std::string& settingsName = "settings.ini")
        : screen(dpi),
          windows(screen),
          settings((TheSandbox().root() / "config" / settingsName).string()) {
        TheApplication();
        shell.modulePath = (TheSandbox().root() / "program/orvano").string();
        settings.CreateKey(kAppSettingsKey);
        app = std::make_unique<App>(
            Platform{windows, screen, messages, settings, shell, clock, console, strings});
        app->files = UserFilesIn((TheSandbox().root() / "program").string());
        app->updateUrl = "https://orvano.example.net/";
    }
    ~RealWindow() {
        if (windows.mainWindow() != nullptr) windows.mainWindow()->close();
        app.reset();
    }

    QtMainWindow& window() { return *windows.mainWindow(); }
    std::vector<size_t> Visible() {
        std::vector<size_t> visible;
        for (size_t i = 0; i < window().ControlCount(); ++i) {
            if (window().ControlWidget(i)->isVisible()) visible.push_back(i);
        }
        return visible;
    }
    void Click(size_t index) {
        auto* button = qobject_cast<QPushButton*>(window().ControlWidget(index));
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    QtScreen screen;
    QtWindowSystem windows;
    RecordingMessageSink messages;
    FileSettingsStore settings;
    RecordingShell shell;
    SystemClock clock;
    RecordingConsole console;
    QtStringTable strings;
    std::unique_ptr<App> app;
};

TEST(RealWindowTest, StartsOnTheHomePageAndTheArrowsChangePages) {
    RealWindow real(96);
    ASSERT_TRUE(StartApplication(*real.app, 1));
    QtMainWindow& w = real.window();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.width(), 240);
    EXPECT_EQ(w.height(), 300);
    // Shown as "Orvano", fixed in size, with no maximise button.
    EXPECT_EQ(w.windowTitle().toStdString(), "Orvano");
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_EQ(w.ControlCount(), 28u);  // the 22, zone chooser, method, search, delete, Night, Adhan
    EXPECT_TRUE(real.messages.shown.empty());

    const auto& visible = kVisibleOnPage;
    EXPECT_EQ(real.Visible(), visible[0]);
    EXPECT_EQ(qobject_cast<QPushButton*>(w.ControlWidget(4))->text().toStdString(), "Maintenant");
    for (int page = 1; page <= 4; ++page) {
        real.Click(1);  // Next
        EXPECT_EQ(real.app->ui.currentPage, page);
        EXPECT_EQ(real.Visible(), visible[static_cast<size_t>(page)]) << page;
    }
    for (int page = 3; page >= 0; --page) {
        real.Click(0);  // Previous
        EXPECT_EQ(real.Visible(), visible[static_cast<size_t>(page)]) << page;
    }

    // The first run stored French in the existing key.
    const auto key = real.settings.OpenKey(kAppSettingsKey);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ReadNumber("Lang"), std::optional<std::uint32_t>(2));
}

TEST(RealWindowTest, HomePageIsPainted) {
    RealWindow real(96);
    ASSERT_TRUE(StartApplication(*real.app, 1));
    const QImage image = real.window().grab().toImage();
    ASSERT_EQ(image.width(), 240);
    ASSERT_EQ(image.height(), 300);
    // The clock strip holds dark text on the white background.
    int inked = 0;
    for (int y = 46; y < 66; ++y) {
        for (int x = 60; x < 180; ++x) {
            if (qGray(image.pixel(x, y)) < 128) ++inked;
        }
    }
    EXPECT_GT(inked, 20);
}

TEST(RealWindowTest, DoubleResolutionDoublesTheWindowAndItsButtons) {
    RealWindow real(192, "settings192.ini");
    ASSERT_TRUE(StartApplication(*real.app, 1));
    QtMainWindow& w = real.window();
    EXPECT_EQ(w.width(), 480);
    EXPECT_EQ(w.height(), 600);
    EXPECT_EQ(real.app->ui.clockBand, (Rect{0, 92, 480, 132}));
    real.Click(1);
    const QRect previous = w.ControlWidget(0)->geometry();
    EXPECT_EQ(previous, QRect(10, 520, 128, 64));
}

// Each list opens showing all its lines, up to eight; the pickers write
// dates in the language the window started in (French here).
TEST(RealWindowTest, ListsOpenTallEnoughAndPickersSpeakTheWindowsLanguage) {
    RealWindow real(96, "settings_lists.ini");
    ASSERT_TRUE(StartApplication(*real.app, 1));
    for (int page = 1; page <= 3; ++page) real.Click(1);
    ASSERT_EQ(real.app->ui.currentPage, 3);
    for (size_t index : {8u, 9u, 17u, 18u, 19u}) {
        auto* combo = qobject_cast<QComboBox*>(real.window().ControlWidget(index));
        ASSERT_NE(combo, nullptr);
        ASSERT_GT(combo->count(), 0);
        // The start of the line shows, and the whole of it is the tooltip.
        EXPECT_EQ(combo->lineEdit()->cursorPosition(), 0) << index;
        EXPECT_EQ(combo->toolTip(), combo->currentText()) << index;
        combo->showPopup();
        QAbstractItemView* view = combo->view();
        // Rows in another script may be a pixel taller or shorter.
        const int lines = std::min(combo->count(), 8);
        int shown = 0;
        for (int line = 0; line < lines; ++line) shown += view->sizeHintForRow(line);
        EXPECT_GE(view->viewport()->height(), shown) << index << " " << combo->count();
        EXPECT_LT(view->viewport()->height(), shown + view->sizeHintForRow(0)) << index;
        combo->hidePopup();
        // The open list shortens long lines in the middle, and tells them whole.
        EXPECT_EQ(combo->itemData(0, Qt::ToolTipRole).toString(), combo->itemText(0)) << index;
        EXPECT_EQ(view->textElideMode(), Qt::ElideMiddle) << index;
    }
    auto* date = qobject_cast<QDateEdit*>(real.window().ControlWidget(2));
    ASSERT_NE(date, nullptr);
    const QLocale french(QLocale::French);
    EXPECT_TRUE(date->text().contains(french.monthName(date->date().month())))
        << date->text().toStdString();
    EXPECT_EQ(date->calendarWidget()->locale().language(), QLocale::French);
}

// What a second copy's check finds for each title, run on another thread while
// this one's event loop answers; each check carries `command`.
std::vector<bool> SecondCopyFinds(const std::vector<std::string>& titles, int command = 0) {
    std::atomic<bool> done{false};
    std::vector<bool> found;
    std::thread second([&] {
        QtScreen screen(96);
        QtWindowSystem windows(screen);
        for (const std::string& title : titles) {
            found.push_back(windows.BringRunningCopyForward("ORVANO", title, command));
        }
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 20000));
    second.join();
    return found;
}

// Qt's Yes, No and OK in every language the program speaks; English keeps
// Qt's own labels.
TEST(StandardButtons, SpeakTheLanguageInUse) {
    const struct {
        const char* language;
        const char* yes;
        const char* no;
        const char* ok;
    } cases[] = {
        {"fr", "&Oui", "&Non", "OK"},   {"tr", "&Evet", "&Hayır", "&Tamam"},
        {"id", "&Ya", "&Tidak", "OK"},  {"ms", "&Ya", "&Tidak", "OK"},
        {"bn", "হ্যাঁ", "না", "ঠিক আছে"},
    };
    for (const auto& c : cases) {
        const ScopedLanguage language(c.language);
        QMessageBox question(QMessageBox::Question, "", "", QMessageBox::Yes | QMessageBox::No);
        LabelStandardButtons(question);
        EXPECT_EQ(question.button(QMessageBox::Yes)->text().toStdString(), c.yes) << c.language;
        EXPECT_EQ(question.button(QMessageBox::No)->text().toStdString(), c.no) << c.language;
        QDialogButtonBox done(QDialogButtonBox::Ok);
        LabelStandardButtons(done);
        EXPECT_EQ(done.button(QDialogButtonBox::Ok)->text().toStdString(), c.ok) << c.language;
    }
    const ScopedLanguage english("en");
    QMessageBox question(QMessageBox::Question, "", "", QMessageBox::Yes | QMessageBox::No);
    const QString yes = question.button(QMessageBox::Yes)->text();
    LabelStandardButtons(question);
    EXPECT_EQ(question.button(QMessageBox::Yes)->text(), yes);
}

TEST(RealWindowTest, SecondCopyBringsTheFirstForward) {
    RealWindow first(96);
    ASSERT_TRUE(StartApplication(*first.app, 1));
    EXPECT_EQ(first.window().forwardRequests(), 0);
    EXPECT_EQ(SecondCopyFinds({"orvano", "another title"}), (std::vector<bool>{true, false}));
    EXPECT_EQ(first.window().forwardRequests(), 1);
}

// Closes each modal dialog as soon as it shows, keeping its caption and
// whether the main window was shown under it; `after` runs once it is closed.
struct DialogWatch {
    explicit DialogWatch(std::function<void()> then = nullptr) : after(std::move(then)) {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            captions << dialog->windowTitle();
            overShownWindow.push_back(dialog->parentWidget() != nullptr &&
                                      dialog->parentWidget()->isVisible());
            dialog->reject();
            if (after) after();
        });
        timer.start(20);
    }
    QTimer timer;
    QStringList captions;
    std::vector<bool> overShownWindow;
    std::function<void()> after;
};

// Each window an earlier test closed asked the application to quit, which
// ends at once every event loop begun since, a dialog's too; a short run of
// the application's loop takes that back.
void ForgetEarlierQuits() {
    QCoreApplication::processEvents();
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    QCoreApplication::exec();
}

TEST(RealWindowTest, SecondCopyAsksTheFirstToOpenTheAdhanDialog) {
    const struct {
        int command;
        qsizetype dialogs;
    } cases[] = {{0, 0}, {kIdAdhan, 1}};
    RealWindow first(96);
    ASSERT_TRUE(StartApplication(*first.app, 1));
    ForgetEarlierQuits();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        DialogWatch watch;
        EXPECT_EQ(SecondCopyFinds({"orvano"}, c.command), (std::vector<bool>{true}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return watch.captions.size() >= c.dialogs; }, 5000));
        QTest::qWait(100);  // nothing more opens
        EXPECT_EQ(watch.captions,
                  QStringList(c.dialogs, QString::fromStdString(Tr("Adhan and reminders"))));
    }
    EXPECT_EQ(first.window().forwardRequests(), 2);
}

TEST(RealWindowTest, StartedForTheAdhanSettingsOpensTheDialogOverTheShownWindow) {
    ForgetEarlierQuits();
    RealWindow real(96);
    real.app->startCommand = kIdAdhan;
    DialogWatch watch([&real] { real.windows.PostQuit(0); });
    // Should the dialog never come, the loop still ends.
    QTimer::singleShot(10000, [&real] { real.windows.PostQuit(1); });
    EXPECT_EQ(RunApplication(*real.app, 1), 0);
    EXPECT_EQ(watch.captions, QStringList{QString::fromStdString(Tr("Adhan and reminders"))});
    EXPECT_EQ(watch.overShownWindow, std::vector<bool>{true});
}

TEST(RealWindowTest, ChannelLeftByACopyThatDiedIsTakenOver) {
    TheApplication();
    const std::string channel = InstanceChannelName("ORVANO", "orvano");
    fs::remove(channel);
    std::ofstream(channel) << "left behind";
    {
        QtScreen screen(96);
        QtWindowSystem probe(screen);
        EXPECT_FALSE(probe.BringRunningCopyForward("ORVANO", "orvano", 0));
    }
    RealWindow first(96);
    ASSERT_TRUE(StartApplication(*first.app, 1));
    EXPECT_EQ(SecondCopyFinds({"orvano"}), (std::vector<bool>{true}));
    EXPECT_EQ(first.window().forwardRequests(), 1);
}

TEST(ProgramTest, SecondStartExitsWithZeroAndTheFirstKeepsRunning) {
    TheApplication();
    // This test's own configuration folder, empty: a first start.
    const fs::path config = TheSandbox().root() / "program-config";
    fs::create_directories(config);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(config.string()));
    env.insert("QT_QPA_PLATFORM", "offscreen");

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(ORVANO_PROGRAM, {"--verbose"});
    ASSERT_TRUE(first.waitForStarted(10000));
    const QString channel = QString::fromStdString(InstanceChannelName("ORVANO", "orvano"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(channel); }, 20000));

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(ORVANO_PROGRAM, {});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    // The second copy stopped before reading anything: it printed nothing.
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty());

    // --help and --version print and exit, with no display and the window running.
    QProcessEnvironment bare = env;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) bare.remove(name);
    const std::string today = fs::path(ORVANO_PROGRAM).parent_path() / "orvano-today";
    struct Asked {
        std::string program;
        QString option;
        QByteArray starts;
    };
    const Asked asked[] = {{ORVANO_PROGRAM, "--help", "Usage: orvano "},
                           {ORVANO_PROGRAM, "--version", "orvano 1."},
                           {today, "--help", "Usage: "},
                           {today, "--version", "orvano-today 1."}};
    for (const Asked& a : asked) {
        QProcess help;
        help.setProcessEnvironment(bare);
        help.start(QString::fromStdString(a.program), {a.option});
        ASSERT_TRUE(help.waitForFinished(20000)) << a.program;
        EXPECT_EQ(help.exitCode(), 0) << a.program << " " << a.option.toStdString();
        EXPECT_TRUE(help.readAllStandardOutput().startsWith(a.starts))
            << a.program << " " << a.option.toStdString();
    }

    EXPECT_EQ(first.state(), QProcess::Running);
    first.waitForReadyRead(2000);
    EXPECT_TRUE(first.readAllStandardOutput().startsWith("Entrez la date d'observation (d/m/a)\n"));
    first.terminate();
    ASSERT_TRUE(first.waitForFinished(10000));

    // The first start made the user's files: the settings keys and a copy of
    // the installed data.cfg.
    FileSettingsStore made((config / "orvano" / "settings.ini").string());
    EXPECT_NE(made.OpenKey(kAppSettingsKey), nullptr);
    EXPECT_NE(made.OpenKey(kTodaySettingsKey), nullptr);
    const fs::path installed =
        fs::path(ORVANO_PROGRAM).parent_path().parent_path() / "share/orvano/data.cfg";
    ASSERT_FALSE(ReadFile(installed.string()).empty());
    EXPECT_EQ(ReadFile((config / "orvano" / "data.cfg").string()), ReadFile(installed.string()));
}

}  // namespace
}  // namespace orvano::testing

// The application object must outlive every window and go before the static
// objects of Qt itself, so it lives in main() rather than in a static.
int main(int argc, char** argv) {
    orvano::testing::TheSandbox();  // the environment first: Qt reads it at start
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
