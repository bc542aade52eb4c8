// Recording doubles of the platform interfaces: they keep every request so tests
// can check what the program asked for, and answer from values the test sets.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/prayer_calls.h"
#include "platform/sound.h"
#include "tests/support/recording_messages.h"

namespace orvano::testing {

class FakeClock final : public Clock {
  public:
    LocalTime now{2024, 3, 5, 15, 13, 45, 30, 0};  // Friday 15 March 2024, 13:45:30
    std::int64_t counter = 0;
    mutable int readings = 0;

    LocalTime Now() const override {
        ++readings;
        return now;
    }
    std::int64_t Counter() const override { return counter; }
    std::int64_t CounterFrequency() const override { return 1000; }
};

class RecordingConsole final : public Console {
  public:
    std::string printed;
    std::vector<std::string> debug;

    void Print(std::string_view text) override { printed.append(text); }
    void Debug(std::string_view text) override { debug.emplace_back(text); }
};

class FakeScreen final : public Screen {
  public:
    int dpiX = 96;
    int dpiY = 96;
    mutable int asksX = 0;
    mutable int asksY = 0;

    int LogicalDpiX() const override {
        ++asksX;
        return dpiX;
    }
    int LogicalDpiY() const override {
        ++asksY;
        return dpiY;
    }
};

// Keys and values in memory. Every open, close and write is logged in order.
class MemorySettingsStore final : public SettingsStore {
  public:
    using Values = std::map<std::string, std::vector<std::uint8_t>>;
    std::map<std::string, Values> keys;
    // "open PATH", "open-missing PATH", "write PATH NAME", "close PATH",
    // "write-texts COUNT" (one batch)
    std::vector<std::string> log;
    bool failWrites = false;

    std::unique_ptr<SettingsKey> OpenKey(const std::string& path) override;
    bool CreateKey(const std::string& path) override {
        keys.try_emplace(path);
        return true;
    }
    // All or nothing, as the file store.
    bool WriteTexts(const std::vector<TextSetting>& texts) override;
    // The value's bytes, or nothing when the key or value is missing.
    std::optional<std::vector<std::uint8_t>> Value(const std::string& path,
                                                   const std::string& name) const;
    int OpenCount() const;
    int CloseCount() const;
};

class RecordingShell final : public Shell {
  public:
    std::vector<std::string> opened;
    std::vector<std::pair<std::string, std::vector<std::string>>> started;
    std::vector<bool> inputPanel;  // each request, true for show
    std::string modulePath = "/opt/orvano/lib/orvano/orvano";
    bool openSucceeds = true;
    bool startSucceeds = true;

    bool OpenDocument(const std::string& pathOrUrl) override {
        opened.push_back(pathOrUrl);
        return openSucceeds;
    }
    bool StartProgram(const std::string& program,
                      const std::vector<std::string>& arguments) override {
        started.emplace_back(program, arguments);
        return startSucceeds;
    }
    std::string ModulePath() const override { return modulePath; }
    void ShowInputPanelButton(bool shown) override { inputPanel.push_back(shown); }
};

class FakeStringTable final : public StringTable {
  public:
    std::map<int, std::string> strings{{1, "orvano"}, {2, "ORVANO"}};

    std::optional<std::string> Load(int id) const override {
        const auto it = strings.find(id);
        if (it == strings.end()) return std::nullopt;
        return it->second;
    }
};

class RecordingSounds final : public Sounds {
  public:
    std::vector<std::string> played;
    void PlayNamed(const std::string& name) override { played.push_back(name); }
};

// Each call as a line: "stop", "announce asr 16:20", "play FILE 60".
class RecordingPrayerCalls final : public PrayerCalls {
  public:
    std::vector<std::string> calls;
    void PlayAdhan(const std::string& file, int volume) override {
        calls.push_back("play " + file + " " + std::to_string(volume));
    }
    void StopAdhan() override { calls.emplace_back("stop"); }
    void AnnouncePrayer(int prayer, const std::string& time) override {
        calls.push_back("announce " + std::to_string(prayer) + " " + time);
    }
};

class FakeControl final : public Control {
  public:
    explicit FakeControl(ControlSpec made) : spec(std::move(made)), visible(spec.visible) {
        text = spec.text;
        language = spec.language;
    }

    ControlSpec spec;  // as created; its place as moved since
    bool visible = false;
    std::string text;
    std::vector<std::string> lines;
    int selected = -1;
    LocalTime dateTime{};
    std::vector<bool> visibilityChanges;  // every SetVisible call, in order
    int removeAllCount = 0;

    void SetVisible(bool shown) override {
        visible = shown;
        visibilityChanges.push_back(shown);
    }
    bool IsVisible() const override { return visible; }
    void SetEnabled(bool on) override { enabled = on; }
    void MoveTo(const Box& box) override {
        spec.x = box.x;
        spec.y = box.y;
        spec.width = box.width;
        spec.height = box.height;
    }
    bool enabled = true;
    void SetText(const std::string& value) override { text = value; }
    std::string GetText() const override { return text; }
    void RemoveAllLines() override {
        lines.clear();
        selected = -1;
        ++removeAllCount;
    }
    void AddLine(const std::string& line) override { lines.push_back(line); }
    void SelectLine(int index) override {
        selected = (index >= 0 && index < static_cast<int>(lines.size())) ? index : -1;
    }
    int SelectedLine() const override { return selected; }
    void SetDateTime(const LocalTime& value) override { dateTime = value; }
    LocalTime GetDateTime() const override { return dateTime; }
    void SetLanguage(const std::string& value) override { language = value; }
    std::string language;
};

// A dialog whose controls are fakes; the test plays the user through `script`.
class FakeDialog final : public Dialog {
  public:
    FakeDialog(DialogSpec made, DialogHandler& dialogHandler)
        : spec(std::move(made)), handler(dialogHandler) {}
    DialogSpec spec;
    DialogHandler& handler;
    std::vector<std::unique_ptr<FakeControl>> controls;  // in creation order
    std::optional<int> result;                           // once ended

    Control* CreateControl(const ControlSpec& made) override {
        controls.push_back(std::make_unique<FakeControl>(made));
        return controls.back().get();
    }
    void End(int value) override {
        if (!result) result = value;
    }
    // The first control made with this identifier, or nullptr.
    FakeControl* ById(int id) const;
    // What the dialog's procedure gets for a user action.
    void SendCommand(int id, int code = kNotifyClicked) { handler.OnCommand(*this, id, code); }
    // Types `text` into the edit field `id`, as the toolkit reports it.
    void Type(int id, const std::string& text);
};

class FakeWindow final : public Window {
  public:
    struct Invalidation {
        std::optional<Rect> area;
        InvalidateFlags flags;
    };

    FakeWindow(Rect clientRect, WindowHandler* windowHandler)
        : client(clientRect), handler(windowHandler) {}

    Rect client;
    WindowHandler* handler;
    std::vector<std::unique_ptr<FakeControl>> controls;  // in creation order
    std::vector<int> failingControls;                    // identifiers whose creation fails
    std::vector<Invalidation> invalidations;
    std::vector<std::pair<int, int>> timers;  // id, period
    int showCount = 0;
    bool closed = false;
    bool rightToLeft = false;

    Rect ClientRect() const override { return client; }
    Control* CreateControl(const ControlSpec& spec) override;
    void Invalidate(const std::optional<Rect>& area, InvalidateFlags flags) override {
        invalidations.push_back({area, flags});
    }
    void StartTimer(int id, int periodMs) override { timers.emplace_back(id, periodMs); }
    void ShowAndPaint() override { ++showCount; }
    void SetRightToLeft(bool value) override { rightToLeft = value; }
    void Close() override;
    // Makes the dialog, then plays `dialogScript` on it (the user closes it
    // at once when there is none); every dialog run is kept.
    int RunDialog(const DialogSpec& spec, DialogHandler& dialogHandler) override;
    std::function<void(FakeDialog&)> dialogScript;
    std::vector<std::unique_ptr<FakeDialog>> dialogs;
    // Posted commands wait here; SendCommand delivers one.
    void PostCommand(int id) override { posted.push_back(id); }
    std::vector<int> posted;

    // The first control made with this identifier (several share 0 and 1018).
    FakeControl* ById(int id) const;
    // The control made n-th (0-based), or nullptr.
    FakeControl* At(size_t index) const;
    // Creation indices (0-based) of the visible controls: identifiers alone cannot
    // tell apart the controls that share 0 or 1018.
    std::vector<size_t> VisibleIndices() const;
    // What the window procedure gets for a user action.
    void SendCommand(int id, int code = kNotifyClicked) { handler->OnCommand(*this, id, code); }
    void SendTimer(int id) { handler->OnTimer(*this, id); }
};

class FakeWindowSystem final : public WindowSystem {
  public:
    bool runningCopy = false;  // another copy is already running
    std::vector<std::pair<std::string, std::string>> forwardRequests;
    std::vector<int> forwardCommands;  // the command each request carried
    bool failCreate = false;
    std::optional<Rect> clientOverride;  // else the requested size at (0, 0)
    std::optional<MainWindowSpec> created;
    std::unique_ptr<FakeWindow> window;
    std::optional<int> quitCode;
    int loopRuns = 0;

    bool BringRunningCopyForward(const std::string& className, const std::string& title,
                                 int command) override {
        forwardRequests.emplace_back(className, title);
        forwardCommands.push_back(command);
        return runningCopy;
    }
    Window* CreateMainWindow(const MainWindowSpec& spec, WindowHandler& handler) override;
    void PostQuit(int exitCode) override {
        if (!quitCode) quitCode = exitCode;
    }
    int RunMessageLoop() override {
        ++loopRuns;
        return quitCode.value_or(0);
    }
};

// Every double with the bundle the program takes.
struct FakePlatform {
    FakeWindowSystem windows;
    FakeScreen screen;
    RecordingMessageSink messages;
    MemorySettingsStore settings;
    RecordingShell shell;
    FakeClock clock;
    RecordingConsole console;
    FakeStringTable strings;

    Platform platform() {
        return Platform{windows, screen, messages, settings, shell, clock, console, strings};
    }
};

}  // namespace orvano::testing
