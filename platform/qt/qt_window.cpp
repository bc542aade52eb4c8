#include "platform/qt/qt_window.h"

#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QFocusEvent>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocalSocket>
#include <QLocale>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimeEdit>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

#include "platform/qt/single_instance.h"

namespace orvano {

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A second copy's request: "forward", then the command to post, if any.
constexpr char kForwardRequest[] = "forward";

// Where a control's notifications go: the window's or a dialog's procedure.
using CommandSink = std::function<void(int id, int code)>;

// A combo box that reports what the window's commands listen to: the
// drop-down opening and closing and the focus coming and going, as well as
// the user's choice of a line.
class NotifyingComboBox final : public QComboBox {
  public:
    NotifyingComboBox(QWidget* parent, CommandSink command, int id)
        : QComboBox(parent), command_(std::move(command)), id_(id) {
        setEditable(true);
        setInsertPolicy(QComboBox::NoInsert);
        connect(this, &QComboBox::activated, this,
                [this](int) { command_(id_, kNotifySelectionChange); });
        connect(lineEdit(), &QLineEdit::textEdited, this,
                [this](const QString&) { command_(id_, kNotifyEditChange); });
        // A long line shows its start, not its end ("uslim World League"), and
        // whole as a tooltip; in the open list, lines that differ only at their
        // ends ("University of Islamic Sciences, Karachi", "…, Hanafi Asr")
        // are shortened in the middle.
        view()->setTextElideMode(Qt::ElideMiddle);
        connect(this, &QComboBox::currentTextChanged, this,
                [this](const QString& text) { setToolTip(text); });
    }

    // The program's own change of the line, or the user leaving the box:
    // the line shows from its start.
    void ShowStart() { lineEdit()->setCursorPosition(0); }

    void showPopup() override {
        command_(id_, kNotifyDropDown);
        QComboBox::showPopup();
    }
    void hidePopup() override {
        QComboBox::hidePopup();
        command_(id_, kNotifyCloseUp);
    }

  protected:
    void focusInEvent(QFocusEvent* event) override {
        QComboBox::focusInEvent(event);
        command_(id_, kNotifySetFocus);
    }
    void focusOutEvent(QFocusEvent* event) override {
        QComboBox::focusOutEvent(event);
        ShowStart();
        command_(id_, kNotifyKillFocus);
    }

  private:
    CommandSink command_;
    int id_;
};

constexpr int kListLinesShown = 8;

// The pickers' locale from a language code; "en" and anything Qt does not
// know read as United States English.
QLocale LocaleFor(const std::string& language) {
    if (language == "fr") return QLocale(QLocale::French, QLocale::France);
    const QLocale locale(QString::fromStdString(language));
    return locale.language() == QLocale::C || locale.language() == QLocale::English
               ? QLocale(QLocale::English, QLocale::UnitedStates)
               : locale;
}

int DayOfWeek(const QDate& date) {
    return date.dayOfWeek() % 7;
}  // Qt: 7 is Sunday

}  // namespace

// One child control. A picker keeps a whole date and time, of which it shows
// and edits half.
class QtControl final : public Control {
  public:
    QtControl(QWidget* window, const CommandSink& command, const ControlSpec& spec)
        : kind_(spec.kind) {
        const int id = spec.id;
        switch (spec.kind) {
            case ControlClass::Button: {
                auto* button = new QPushButton(FromUtf8(spec.text), window);
                QObject::connect(button, &QPushButton::clicked, button,
                                 [command, id] { command(id, kNotifyClicked); });
                widget_ = button;
                break;
            }
            case ControlClass::Edit: {
                auto* edit = new QLineEdit(FromUtf8(spec.text), window);
                QObject::connect(edit, &QLineEdit::textChanged, edit,
                                 [command, id] { command(id, kNotifyEditTextChange); });
                widget_ = edit;
                break;
            }
            case ControlClass::Label:
                widget_ = new QLabel(FromUtf8(spec.text), window);
                break;
            case ControlClass::List: {
                auto* list = new QListWidget(window);
                list->setTextElideMode(Qt::ElideMiddle);
                QObject::connect(list, &QListWidget::currentRowChanged, list,
                                 [command, id](int) { command(id, kNotifySelectionChange); });
                QObject::connect(
                    list, &QListWidget::itemActivated, list,
                    [command, id](QListWidgetItem*) { command(id, kNotifyDoubleClick); });
                widget_ = list;
                break;
            }
            case ControlClass::ComboBox: {
                auto* combo = new NotifyingComboBox(window, command, spec.id);
                if (!spec.text.empty()) combo->setEditText(FromUtf8(spec.text));
                widget_ = combo;
                break;
            }
            case ControlClass::DatePicker: {
                auto* picker = new QDateEdit(window);
                const QLocale locale = LocaleFor(spec.language);
                picker->setLocale(locale);
                picker->setCalendarPopup(true);
                picker->calendarWidget()->setLocale(locale);
                picker->setDisplayFormat(locale.dateFormat(QLocale::LongFormat));
                QObject::connect(picker, &QDateEdit::dateChanged, picker,
                                 [this, command, id](const QDate& date) {
                                     value_.year = date.year();
                                     value_.month = date.month();
                                     value_.day = date.day();
                                     value_.dayOfWeek = DayOfWeek(date);
                                     command(id, kNotifyDateTimeChange);
                                 });
                widget_ = picker;
                break;
            }
            case ControlClass::TimePicker: {
                auto* picker = new QTimeEdit(window);
                picker->setLocale(LocaleFor(spec.language));
                picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
                QObject::connect(picker, &QTimeEdit::timeChanged, picker,
                                 [this, command, id](const QTime& time) {
                                     value_.hour = time.hour();
                                     value_.minute = time.minute();
                                     value_.second = time.second();
                                     command(id, kNotifyDateTimeChange);
                                 });
                widget_ = picker;
                break;
            }
        }
        if (kind_ == ControlClass::DatePicker || kind_ == ControlClass::TimePicker) {
            // Its fields keep their order (hours before minutes) in every language.
            widget_->setLayoutDirection(Qt::LeftToRight);
            // A new picker shows the current date and time.
            const QDateTime now = QDateTime::currentDateTime();
            LocalTime start;
            start.year = now.date().year();
            start.month = now.date().month();
            start.day = now.date().day();
            start.dayOfWeek = DayOfWeek(now.date());
            start.hour = now.time().hour();
            start.minute = now.time().minute();
            start.second = now.time().second();
            SetDateTime(start);
        }
        int height = spec.height;
        if (kind_ == ControlClass::ComboBox) {
            // The closed box keeps its own height. Opened, it shows every line
            // up to eight at once: a drop-down sized for the small screen the
            // heights were chosen for would show one or two lines here.
            auto* combo = static_cast<QComboBox*>(widget_);
            height = combo->sizeHint().height();
            combo->setMaxVisibleItems(kListLinesShown);
        }
        widget_->setGeometry(spec.x, spec.y, spec.width, height);
        widget_->setVisible(spec.visible);
    }

    QWidget* widget() const { return widget_; }

    void SetLanguage(const std::string& language) override {
        if (auto* picker = qobject_cast<QDateTimeEdit*>(widget_)) {
            picker->setLocale(QLocale(QString::fromStdString(language)));
        }
    }

    void SetVisible(bool visible) override { widget_->setVisible(visible); }
    bool IsVisible() const override { return !widget_->isHidden(); }
    void SetEnabled(bool enabled) override { widget_->setEnabled(enabled); }
    void MoveTo(const Box& box) override {
        const int height = kind_ == ControlClass::ComboBox ? widget_->height() : box.height;
        widget_->setGeometry(box.x, box.y, box.width, height);
    }

    void SetText(const std::string& text) override {
        if (auto* edit = qobject_cast<QLineEdit*>(widget_)) {
            edit->setText(FromUtf8(text));
        } else if (auto* combo = dynamic_cast<NotifyingComboBox*>(widget_)) {
            combo->setEditText(FromUtf8(text));
            combo->ShowStart();
        } else if (auto* button = qobject_cast<QPushButton*>(widget_)) {
            button->setText(FromUtf8(text));
        } else if (auto* label = qobject_cast<QLabel*>(widget_)) {
            label->setText(FromUtf8(text));
        }
    }
    std::string GetText() const override {
        if (auto* edit = qobject_cast<QLineEdit*>(widget_)) return edit->text().toStdString();
        if (auto* combo = qobject_cast<QComboBox*>(widget_)) {
            return combo->currentText().toStdString();
        }
        if (auto* button = qobject_cast<QPushButton*>(widget_)) {
            return button->text().toStdString();
        }
        if (auto* label = qobject_cast<QLabel*>(widget_)) return label->text().toStdString();
        return {};
    }

    void RemoveAllLines() override {
        if (auto* combo = qobject_cast<QComboBox*>(widget_)) {
            combo->clear();
            combo->setEditText(QString());
        } else if (auto* list = qobject_cast<QListWidget*>(widget_)) {
            const QSignalBlocker quiet(list);  // emptying is not the user's choice
            list->clear();
        }
    }
    void AddLine(const std::string& text) override {
        if (auto* combo = qobject_cast<QComboBox*>(widget_)) {
            combo->addItem(FromUtf8(text));
            combo->setItemData(combo->count() - 1, FromUtf8(text), Qt::ToolTipRole);
        } else if (auto* list = qobject_cast<QListWidget*>(widget_)) {
            auto* item = new QListWidgetItem(FromUtf8(text), list);
            item->setToolTip(item->text());
        }
    }
    void SelectLine(int index) override {
        if (auto* combo = dynamic_cast<NotifyingComboBox*>(widget_)) {
            combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
            if (combo->currentIndex() < 0) combo->setEditText(QString());
            combo->ShowStart();
        } else if (auto* list = qobject_cast<QListWidget*>(widget_)) {
            const QSignalBlocker quiet(list);
            list->setCurrentRow(index >= 0 && index < list->count() ? index : -1);
        }
    }
    int SelectedLine() const override {
        if (auto* combo = qobject_cast<QComboBox*>(widget_)) return combo->currentIndex();
        if (auto* list = qobject_cast<QListWidget*>(widget_)) return list->currentRow();
        return -1;
    }

    void SetDateTime(const LocalTime& value) override {
        if (auto* date = qobject_cast<QDateEdit*>(widget_)) {
            const QDate d(value.year, value.month, value.day);
            if (!d.isValid()) return;
            value_ = value;
            value_.dayOfWeek = DayOfWeek(d);
            const QSignalBlocker quiet(date);  // setting a picker is not a user's change
            date->setDate(d);
        } else if (auto* time = qobject_cast<QTimeEdit*>(widget_)) {
            const QTime t(value.hour, value.minute, value.second);
            if (!t.isValid()) return;
            value_ = value;
            const QSignalBlocker quiet(time);
            time->setTime(t);
        }
    }
    LocalTime GetDateTime() const override { return value_; }

  private:
    ControlClass kind_;
    QWidget* widget_ = nullptr;  // owned by the window
    LocalTime value_;
};

QtMainWindow::QtMainWindow(const MainWindowSpec& spec, WindowHandler& handler, const Screen& screen)
    : handler_(handler), screen_(screen) {
    setWindowTitle(FromUtf8(spec.caption.empty() ? spec.title : spec.caption));
    setObjectName(FromUtf8(spec.className));
    // A fixed-size window offers nothing to maximise: the buttons are named,
    // so the window manager shows no maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    const QIcon icon(QStringLiteral(":/orvano/icon/%1.png").arg(spec.iconResource));
    if (!icon.isNull()) setWindowIcon(icon);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
    setAutoFillBackground(true);
    setFixedSize(spec.clientWidth, spec.clientHeight);
    // A resolution given instead of the screen's (rendering, tests) is one the
    // desktop's fonts would follow too: the controls' text grows with the layout.
    const int asked = screen.LogicalDpiY();
    const int real = logicalDpiY();
    if (asked > 0 && real > 0 && asked != real) {
        QFont scaled = font();
        if (scaled.pixelSize() > 0) {
            scaled.setPixelSize(scaled.pixelSize() * asked / real);
        } else {
            scaled.setPointSizeF(scaled.pointSizeF() * asked / real);
        }
        setFont(scaled);
    }
}

QtMainWindow::~QtMainWindow() {
    // No command may reach the procedure from a half-destroyed window: the
    // controls' widgets go first, while their wrappers still exist.
    destroyed_ = true;
    for (auto& control : controls_) delete control->widget();
    controls_.clear();
}

Rect QtMainWindow::ClientRect() const {
    return Rect{0, 0, width(), height()};
}

Control* QtMainWindow::CreateControl(const ControlSpec& spec) {
    controls_.push_back(std::make_unique<QtControl>(
        this, [this](int id, int code) { Command(id, code); }, spec));
    return controls_.back().get();
}

namespace {

// A modal dialog over the main window, in its font, its controls placed where
// its handler asks.
class QtDialog final : public QDialog, public Dialog {
  public:
    QtDialog(QWidget* owner, const DialogSpec& spec, DialogHandler& handler)
        : QDialog(owner), handler_(handler) {
        setWindowTitle(FromUtf8(spec.caption));
        setModal(true);
        if (owner != nullptr) setFont(owner->font());
        setFixedSize(spec.clientWidth, spec.clientHeight);
    }
    ~QtDialog() override {
        ended_ = true;  // no command from widgets being destroyed
        for (auto& control : controls_) delete control->widget();
    }
    QtDialog(const QtDialog&) = delete;
    QtDialog& operator=(const QtDialog&) = delete;

    Control* CreateControl(const ControlSpec& spec) override {
        controls_.push_back(std::make_unique<QtControl>(
            this,
            [this](int id, int code) {
                if (!ended_) handler_.OnCommand(*this, id, code);
            },
            spec));
        return controls_.back().get();
    }
    void End(int result) override {
        ended_ = true;
        done(result);
    }

  private:
    DialogHandler& handler_;
    std::vector<std::unique_ptr<QtControl>> controls_;
    bool ended_ = false;
};

}  // namespace

int QtMainWindow::RunDialog(const DialogSpec& spec, DialogHandler& handler) {
    QtDialog dialog(this, spec, handler);
    dialog.setObjectName(QStringLiteral("orvanoDialog"));
    handler.OnCreate(dialog);
    return dialog.exec();
}

void QtMainWindow::PostCommand(int id) {
    QMetaObject::invokeMethod(
        this,
        [this, id] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->raise();
                modal->activateWindow();
                return;
            }
            Command(id, kNotifyClicked);
        },
        Qt::QueuedConnection);
}

void QtMainWindow::Invalidate(const std::optional<Rect>& area, InvalidateFlags flags) {
    // Qt always paints the background (white) under a paint, so erase needs nothing more;
    // the children are separate widgets that repaint themselves when they need it.
    const QRect rect = area ? QRect(area->left, area->top, area->width(), area->height())
                            : QRect(0, 0, width(), height());
    if (flags.paintNow && isVisible()) {
        repaint(rect);
    } else {
        update(rect);
    }
}

void SetReadingDirection(bool rightToLeft) {
    static const QFont kDesktopFont = QApplication::font();
    QFont font = kDesktopFont;
    if (rightToLeft) {
        font.setFamilies({QStringLiteral("Noto Naskh Arabic"), kDesktopFont.family()});
    }
    QApplication::setFont(font);
    QGuiApplication::setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
}

void QtMainWindow::SetRightToLeft(bool rightToLeft) {
    // Application-wide, so that message boxes and dialogs read the same way.
    SetReadingDirection(rightToLeft);
}

void QtMainWindow::StartTimer(int id, int periodMs) {
    QTimer*& timer = timers_[id];
    if (timer == nullptr) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, id] { handler_.OnTimer(*this, id); });
    }
    timer->start(periodMs);
}

void QtMainWindow::ShowAndPaint() {
    show();
    repaint();
}

void QtMainWindow::Close() {
    close();
}

void QtMainWindow::BringForward() {
    ++forwardRequests_;
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

QWidget* QtMainWindow::ControlWidget(size_t index) const {
    return index < controls_.size() ? controls_[index]->widget() : nullptr;
}

void QtMainWindow::Command(int id, int code) {
    if (!destroyed_) handler_.OnCommand(*this, id, code);
}

void QtMainWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect r = event->rect();
    QtSurface surface(painter, screen_.LogicalDpiY(),
                      Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()},
                      &images_);
    handler_.OnPaint(*this, surface);
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (destroyed_) return;
    destroyed_ = true;
    for (auto& [id, timer] : timers_) timer->stop();
    handler_.OnDestroy(*this);
}

void QtMainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !destroyed_) {
        handler_.OnActivate(*this, isActiveWindow());
    }
}

namespace {

// A window made only to be looked at: it paints with `paint` and ignores the rest.
class PaintOnly final : public WindowHandler {
  public:
    explicit PaintOnly(std::function<void(Surface&)> paint) : paint_(std::move(paint)) {}
    void OnCreate(Window&) override {}
    void OnDestroy(Window&) override {}
    void OnActivate(Window&, bool) override {}
    void OnCommand(Window&, int, int) override {}
    void OnPaint(Window&, Surface& surface) override {
        if (paint_) paint_(surface);
    }
    void OnTimer(Window&, int) override {}

  private:
    std::function<void(Surface&)> paint_;
};

class FixedScreen final : public Screen {
  public:
    explicit FixedScreen(int value) : dpi_(value) {}
    int LogicalDpiX() const override { return dpi_; }
    int LogicalDpiY() const override { return dpi_; }

  private:
    int dpi_;
};

}  // namespace

bool GrabToPng(const std::string& file, int width, int height, int dpi,
               const std::vector<ControlSpec>& controls,
               const std::function<void(Surface&)>& paint) {
    PaintOnly handler(paint);
    FixedScreen screen(dpi);
    MainWindowSpec windowSpec;
    windowSpec.clientWidth = width;
    windowSpec.clientHeight = height;
    QtMainWindow window(windowSpec, handler, screen);
    for (const ControlSpec& spec : controls) window.CreateControl(spec);
    return window.grab().save(QString::fromStdString(file), "PNG");
}

bool GrabDialogToPng(const std::string& file, int dpi, const DialogSpec& spec,
                     DialogHandler& handler) {
    // The main window's font at that resolution, which the dialog takes.
    PaintOnly quiet(nullptr);
    FixedScreen screen(dpi);
    MainWindowSpec windowSpec;
    windowSpec.clientWidth = 1;
    windowSpec.clientHeight = 1;
    QtMainWindow owner(windowSpec, quiet, screen);
    QtDialog dialog(&owner, spec, handler);
    handler.OnCreate(dialog);
    return dialog.grab().save(QString::fromStdString(file), "PNG");
}

namespace {

// The room the style leaves a button's or a label's text inside the control.
int TextRoom(const QWidget& widget) {
    if (const auto* button = qobject_cast<const QPushButton*>(&widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        return button->style()
            ->subElementRect(QStyle::SE_PushButtonContents, &option, button)
            .width();
    }
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        return label->contentsRect().width() - 2 * label->margin();
    }
    return 0;
}

}  // namespace

std::vector<PlacedControl> PlaceControls(const std::vector<ControlSpec>& specs, int dpi) {
    PaintOnly quiet(nullptr);
    FixedScreen screen(dpi);
    MainWindowSpec windowSpec;
    windowSpec.clientWidth = 1;
    windowSpec.clientHeight = 1;
    QtMainWindow window(windowSpec, quiet, screen);
    std::vector<PlacedControl> placed;
    for (const ControlSpec& spec : specs) {
        window.CreateControl(spec);
        const QWidget& widget = *window.ControlWidget(window.ControlCount() - 1);
        const QRect g = widget.geometry();
        PlacedControl control{Rect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()}};
        control.textRoom = TextRoom(widget);
        if (control.textRoom > 0) {
            control.textWidth = widget.fontMetrics().horizontalAdvance(FromUtf8(spec.text));
        }
        placed.push_back(control);
    }
    return placed;
}

namespace {

std::string InstanceChannelFile(const std::string& className, const std::string& title) {
    // The names may hold any characters: a short digest keeps the file name plain.
    const QByteArray digest =
        QCryptographicHash::hash(QByteArray::fromStdString(className + '\n' + title),
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    return "orvano-" + digest.toStdString() + ".sock";
}

}  // namespace

std::string InstanceChannelName(const std::string& className, const std::string& title) {
    return InstanceChannel(InstanceChannelFile(className, title)).path();
}

QtWindowSystem::QtWindowSystem(const Screen& screen) : screen_(screen) {
    // The program ends by its own quit request, not when its last window closes.
    QGuiApplication::setQuitOnLastWindowClosed(false);
}

QtWindowSystem::~QtWindowSystem() = default;

bool QtWindowSystem::BringRunningCopyForward(const std::string& className, const std::string& title,
                                             int command) {
    QByteArray request = kForwardRequest;
    if (command != 0) request += ' ' + QByteArray::number(command);
    return InstanceChannel(InstanceChannelFile(className, title)).Ask(request + '\n', 2000);
}

Window* QtWindowSystem::CreateMainWindow(const MainWindowSpec& spec, WindowHandler& handler) {
    window_ = std::make_unique<QtMainWindow>(spec, handler, screen_);
    Listen(spec.className, spec.title);
    handler.OnCreate(*window_);
    return window_.get();
}

void QtWindowSystem::Listen(const std::string& className, const std::string& title) {
    channel_ = std::make_unique<InstanceChannel>(InstanceChannelFile(className, title));
    // Without a channel the window still works; it is just not findable.
    channel_->Listen([this](QLocalSocket* peer) {
        QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        QObject::connect(peer, &QLocalSocket::readyRead, peer, [this, peer] {
            const QList<QByteArray> words = peer->readAll().trimmed().split(' ');
            if (words.value(0) != kForwardRequest || !window_) return;
            window_->BringForward();
            peer->write("ok\n");
            // Posted: the second copy has its answer before a dialog opens.
            bool isNumber = false;
            const int command = words.value(1).toInt(&isNumber);
            if (isNumber && command != 0) window_->PostCommand(command);
        });
    });
}

void QtWindowSystem::PostQuit(int exitCode) {
    // Queued, so that the message being handled finishes first, as with a posted quit.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [exitCode] { QCoreApplication::exit(exitCode); },
        Qt::QueuedConnection);
}

int QtWindowSystem::RunMessageLoop() {
    return QCoreApplication::exec();
}

}  // namespace orvano
