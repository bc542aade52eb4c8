// The top-level window, its child controls, its timer and its message loop.
#pragma once

#include <optional>
#include <string>

#include "platform/geometry.h"

namespace orvano {

class Surface;

enum class ControlClass {
    Button,      // push button, centred text
    Edit,        // single line, border, horizontal auto-scroll
    ComboBox,    // drop-down list with an edit part
    DatePicker,  // date-and-time picker, long date format
    TimePicker,  // date-and-time picker, time format
    Label,       // static text, left aligned, on one line
    List,        // a list that stays open, one line selected
};

struct ControlSpec {
    ControlClass kind = ControlClass::Button;
    std::string text;  // UTF-8 label or initial text; empty for none
    int id = 0;        // the command identifier its notifications carry
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;  // for combo boxes, the height of the open drop-down part
    bool visible = false;
    bool verticalScroll = false;  // combo boxes only
    // The locale the pickers write dates and times in ("en", "fr", "tr", ...).
    std::string language;
    friend bool operator==(const ControlSpec&, const ControlSpec&) = default;
};

// Notification codes carried with a command: what happened to the control.
inline constexpr int kNotifyClicked = 0;             // button
inline constexpr int kNotifySelectionChange = 1;     // combo box, list
inline constexpr int kNotifyDoubleClick = 2;         // list: a line chosen (double click, Enter)
inline constexpr int kNotifySetFocus = 3;            // combo box
inline constexpr int kNotifyKillFocus = 4;           // combo box
inline constexpr int kNotifyEditChange = 5;          // combo box's edit part
inline constexpr int kNotifyDropDown = 7;            // combo box
inline constexpr int kNotifyCloseUp = 8;             // combo box
inline constexpr int kNotifyDateTimeChange = 9;      // date-and-time picker
inline constexpr int kNotifyEditTextChange = 0x300;  // edit field

// A child control. Operations that do not apply to its class do nothing.
class Control {
  public:
    virtual ~Control() = default;
    virtual void SetVisible(bool visible) = 0;
    virtual bool IsVisible() const = 0;
    // A disabled control is shown greyed and takes no input.
    virtual void SetEnabled(bool enabled) = 0;
    // To another place, as when the language changes the side the pages start
    // from; a combo box keeps the height it gave itself.
    virtual void MoveTo(const Box& box) = 0;

    // Edit fields (and a combo box's edit part).
    virtual void SetText(const std::string& text) = 0;
    virtual std::string GetText() const = 0;

    // Combo boxes. SelectLine with an index outside the lines leaves none selected.
    virtual void RemoveAllLines() = 0;
    virtual void AddLine(const std::string& text) = 0;
    virtual void SelectLine(int index) = 0;
    // -1 when no line is selected.
    virtual int SelectedLine() const = 0;

    // Date and time pickers. The date picker uses year, month and day; the time
    // picker hour, minute and second; both keep the other fields as set.
    virtual void SetDateTime(const LocalTime& value) = 0;
    virtual LocalTime GetDateTime() const = 0;
    // Pickers: the locale they write dates and times in, as ControlSpec::language.
    virtual void SetLanguage(const std::string& language) = 0;
};

// A modal dialog of the main window, its controls made by its handler.
class Dialog {
  public:
    virtual ~Dialog() = default;
    // The dialog owns the control. nullptr when it cannot be made.
    virtual Control* CreateControl(const ControlSpec& spec) = 0;
    // Closes the dialog: RunDialog returns `result`.
    virtual void End(int result) = 0;
};

class DialogHandler {
  public:
    virtual ~DialogHandler() = default;
    // Before the dialog is shown: the place to make its controls.
    virtual void OnCreate(Dialog& dialog) = 0;
    virtual void OnCommand(Dialog& dialog, int id, int code) = 0;
};

struct DialogSpec {
    std::string caption;
    int clientWidth = 0;  // fixed size, pixels
    int clientHeight = 0;
};

struct InvalidateFlags {
    bool erase = true;      // erase the background before the paint
    bool paintNow = false;  // paint before returning instead of when the queue is empty
    bool children = true;   // child controls are redrawn too
};

class Window {
  public:
    virtual ~Window() = default;
    virtual Rect ClientRect() const = 0;
    // The window owns the control. nullptr when it cannot be made.
    virtual Control* CreateControl(const ControlSpec& spec) = 0;
    // The whole client area when no rectangle is given.
    virtual void Invalidate(const std::optional<Rect>& area, InvalidateFlags flags) = 0;
    // Calls the handler's OnTimer(id) every periodMs milliseconds.
    virtual void StartTimer(int id, int periodMs) = 0;
    // Shows the window and paints it at once.
    virtual void ShowAndPaint() = 0;
    // Asks the window to close; it is then destroyed (the handler's OnDestroy).
    virtual void Close() = 0;
    // Shows a modal dialog until its handler ends it (its result) or the user
    // closes it (0).
    virtual int RunDialog(const DialogSpec& spec, DialogHandler& handler) = 0;
    // Sends the handler the command `id`, as a click on a button would, once
    // the messages waiting are handled. While a modal dialog or message box is
    // open it is brought forward instead: the window's commands never run
    // under it, as a user cannot click there either.
    virtual void PostCommand(int id) = 0;
    // The reading direction of the controls, the dialogs and the painted
    // texts: right to left for Arabic, Urdu and Persian.
    virtual void SetRightToLeft(bool rightToLeft) = 0;
};

// What the window procedure reacts to.
class WindowHandler {
  public:
    virtual ~WindowHandler() = default;
    // During creation, before the window is shown.
    virtual void OnCreate(Window& window) = 0;
    virtual void OnDestroy(Window& window) = 0;
    virtual void OnActivate(Window& window, bool active) = 0;
    virtual void OnCommand(Window& window, int id, int code) = 0;
    virtual void OnPaint(Window& window, Surface& surface) = 0;
    virtual void OnTimer(Window& window, int timerId) = 0;
};

struct MainWindowSpec {
    std::string className;  // identifies the program to a second copy
    std::string title;      // with the class, the single-instance key
    std::string caption;    // the title the desktop shows; empty: `title`
    int iconResource = 0;
    int clientWidth = 0;  // fixed size, pixels
    int clientHeight = 0;
};

class WindowSystem {
  public:
    virtual ~WindowSystem() = default;
    // When a copy with this class and title already runs, asks it to come to the
    // front and, when `command` is not 0, to post itself that command
    // (Window::PostCommand); returns true.
    virtual bool BringRunningCopyForward(const std::string& className, const std::string& title,
                                         int command) = 0;
    // Creates the (hidden) window and sends the handler OnCreate. nullptr on failure.
    virtual Window* CreateMainWindow(const MainWindowSpec& spec, WindowHandler& handler) = 0;
    // Ends the message loop with this code once the current message is handled.
    virtual void PostQuit(int exitCode) = 0;
    // Runs until PostQuit; returns its code.
    virtual int RunMessageLoop() = 0;
};

}  // namespace orvano
