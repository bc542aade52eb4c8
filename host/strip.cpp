#include "host/strip.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWindow>

#include "host/call_to_prayer.h"
#include "host/host_text.h"
#include "host/options_dialog.h"
#include "platform/app_id.h"
#include "platform/qt/notify_dbus.h"
#include "platform/screen.h"
#include "today/item_logic.h"

namespace orvano {

namespace {

const QColor kTopColour(0x1d, 0x3b, 0x5c);
const QColor kBottomColour(0x0c, 0x1f, 0x33);
const Colour kTextColour{0xff, 0xff, 0xff};
constexpr int kReloadSettleMs = 100;
constexpr int kPositionSettleMs = 400;
constexpr int kScreenMargin = 16;

QString Stamp(const std::string& path) {
    const QFileInfo info(QString::fromStdString(path));
    if (!info.exists()) return QString();
    return QString::number(info.lastModified().toMSecsSinceEpoch()) + ":" +
           QString::number(info.size()) + ":" +
           QString::number(info.fileTime(QFileDevice::FileMetadataChangeTime).toMSecsSinceEpoch());
}

std::string PointText(QPoint p) {
    return std::to_string(p.x()) + "," + std::to_string(p.y());
}

}  // namespace

StripWindow::StripWindow(QtTodayWindowSystem& windows, const TodayHostServices& services,
                         NotificationStore& store, HostMessageBoxes& boxes, StripOptions options)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      windows_(windows),
      services_(services),
      store_(store),
      boxes_(boxes),
      options_(std::move(options)),
      dayWatch_(*services.clock, [this](const std::string& reason) { NewDay(reason); }) {
    setWindowTitle("Orvano Today");
    setWindowIcon(QApplication::windowIcon());
    setFixedSize(options_.width, std::max(1, ScaleForDpi(32, windows_.dpiY())));
    hostWindow_ = windows_.AdoptHostWindow(
        this,
        [this](std::uint32_t m, std::uintptr_t w, std::intptr_t l) { return HostProc(m, w, l); });
    connect(&tickTimer_, &QTimer::timeout, this, [this] { Tick(); });
    reloadTimer_.setSingleShot(true);
    connect(&reloadTimer_, &QTimer::timeout, this, [this] { ConfigMaybeChanged(); });
    positionTimer_.setSingleShot(true);
    connect(&positionTimer_, &QTimer::timeout, this, [this] { SavePosition(); });
    BuildMenu();
}

StripWindow::~StripWindow() {
    if (calls_ != nullptr) calls_->OnPlayingChanged(nullptr);
    if (positionTimer_.isActive()) SavePosition();
}

void StripWindow::Start(TodayWindow* item, TodayDialogProc optionsProc) {
    item_ = item;
    optionsProc_ = optionsProc;
    item_->widget->setGeometry(0, 0, options_.width, descriptor_.height);
    item_->widget->installEventFilter(this);
    QueryRefresh();
    QStringList texts;
    for (const QAction* action : commands_) texts << action->text();
    windows_.Trace("menu " + texts.join('|').toStdString());
    dayWatch_.Tick();
    dayWatch_.ListenToSystem();
    // One tick does everything periodic: the refresh query, the day watch and
    // the delivery of notifications, so an idle strip wakes up once per period.
    tickTimer_.start(options_.queryIntervalMs);
    DeliverDueNotifications();
    WatchConfig();
    SetUpTray();
    UpdateTip();
}

void StripWindow::UseCallToPrayer(CallToPrayer& calls) {
    calls_ = &calls;
    calls.OnPlayingChanged([this] { stopAction_->setVisible(calls_->playing()); });
    calls.Publish([this] { return NextForBus(); });
}

BusNextPrayer StripWindow::NextForBus() {
    TodayNextPrayer next;
    if (item_ == nullptr ||
        windows_.SendMessageTo(item_, kMsgQueryNextPrayer, reinterpret_cast<std::uintptr_t>(&next),
                               0) == 0) {
        return {};
    }
    const QString time = QString("%1:%2")
                             .arg(next.minuteOfDay / 60 % 24, 2, 10, QChar('0'))
                             .arg(next.minuteOfDay % 60, 2, 10, QChar('0'));
    return {PrayerKey(next.prayer), time.toStdString(),
            next.minutesLeft * 60LL - services_.clock->Now().second};
}

void StripWindow::WatchConfig() {
    if (options_.configPath.empty()) return;
    configStamp_ = Stamp(options_.configPath);
    RearmConfigWatch();
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this,
            [this] { reloadTimer_.start(kReloadSettleMs); });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
        RearmConfigWatch();
        reloadTimer_.start(kReloadSettleMs);
    });
}

// The file is replaced by renaming, so its folder is watched too, and the
// folder's parent, which sees the folder removed and made again: a watch on
// what was removed is gone with it, and is set again here once it is back.
void StripWindow::RearmConfigWatch() {
    const QFileInfo file(QString::fromStdString(options_.configPath));
    const QString folder = file.absolutePath();
    const QString parent = QFileInfo(folder).absolutePath();
    const QStringList watched = watcher_.files() + watcher_.directories();
    for (const QString& path : {parent, folder, file.absoluteFilePath()}) {
        if (!watched.contains(path) && QFileInfo::exists(path)) watcher_.addPath(path);
    }
}

void StripWindow::Tick() {
    dayWatch_.Tick();
    QueryRefresh();
    DeliverDueNotifications();
    // The time left changes once a minute; until the first paint there is no schedule.
    if (services_.clock->Now().minute != tipMinute_) UpdateTip();
}

void StripWindow::NewDay(const std::string& reason) {
    if (item_ == nullptr) return;
    // The item looks at the date when it paints; after a jump or a wake the
    // whole strip is drawn again from its background.
    windows_.Trace("repaint (" + reason + ")");
    const bool onScreen = isVisible() && !isMinimized();
    if (reason == "minute" && onScreen) {
        item_->widget->update();
        return;
    }
    // A window that is hidden, minimised or on another workspace may not be
    // painted for a long time: the new day's refresh and alarms must not
    // wait for it, so the item is painted aside at once, then on screen.
    item_->eraseNeeded = true;
    QPixmap aside(item_->widget->size());
    item_->widget->render(&aside);
    item_->eraseNeeded = true;
    if (onScreen) item_->widget->update();
}

void StripWindow::ConfigMaybeChanged() {
    RearmConfigWatch();
    const QString stamp = Stamp(options_.configPath);
    if (stamp == configStamp_ || stamp.isEmpty()) return;
    configStamp_ = stamp;
    ClearCache("data.cfg changed");
}

void StripWindow::ClearCache(const char* why) {
    if (item_ == nullptr) return;
    windows_.Trace(std::string("clear-cache (") + why + ")");
    const int messages = boxes_.count();
    windows_.SendMessageTo(item_, kMsgClearCache, 0, 0);
    if (boxes_.count() != messages) {
        reloadMessagePending_ = true;
    } else if (reloadMessagePending_) {
        // The file reads again: the complaint about the earlier one is stale.
        reloadMessagePending_ = false;
        boxes_.Close();
    }
    UpdateTip();
}

void StripWindow::QueryRefresh() {
    if (item_ == nullptr) return;
    const std::intptr_t answer = windows_.SendMessageTo(
        item_, kMsgQueryRefresh, reinterpret_cast<std::uintptr_t>(&descriptor_), 0);
    windows_.Trace("query-refresh -> " + std::to_string(answer) + " height " +
                   std::to_string(descriptor_.height));
    if (answer == 0) return;
    const int height = std::max(1, descriptor_.height);
    setFixedSize(options_.width, height);
    item_->widget->setGeometry(0, 0, options_.width, descriptor_.height);
    item_->eraseNeeded = true;
    item_->widget->update();
}

void StripWindow::DeliverDueNotifications() {
    const LocalTime now = services_.clock->Now();
    // Periods already over (the machine was asleep, the clock was moved) are
    // dropped by the store: no burst of stale alarms after a wake.
    for (const auto& due : store_.TakeDue(now)) {
        // The strip goes on painting and blinking while the server answers.
        windows_.Trace("notify sent " + due.trigger.application);
        DesktopNotification notification{"Orvano", due.user.dialogTitle, due.user.dialogText, {}};
        const bool stoppable = calls_ != nullptr && calls_->playing();
        if (stoppable) notification.actions.emplace_back("stop", Say(kWordStop).toStdString());
        ShowDesktopNotification(
            notification, this,
            [this, stoppable, event = due.trigger.application](bool shown, unsigned id) {
                windows_.Trace(std::string("notify ") + (shown ? "shown " : "no-server ") + event);
                if (shown && stoppable && calls_ != nullptr) calls_->Offered(id);
            });
        store_.RecordNamedEvent(due.trigger.application, now);
    }
}

void StripWindow::UpdateTip() {
    if (item_ == nullptr) return;
    TodayNextPrayer next;
    const LocalTime now = services_.clock->Now();
    const bool answered = windows_.SendMessageTo(item_, kMsgQueryNextPrayer,
                                                 reinterpret_cast<std::uintptr_t>(&next), 0) != 0;
    tipMinute_ = answered ? now.minute : -1;
    TodayHijri hijri;
    windows_.SendMessageTo(item_, kMsgQueryHijri, reinterpret_cast<std::uintptr_t>(&hijri), 0);
    const QString date = QString::fromStdString(hijri.date);
    const QString fast = FastTip(hijri.fast, hijri.minuteOfDay, hijri.minutesLeft);
    dateLine_->setText(date);
    dateLine_->setVisible(!date.isEmpty());
    fastLine_->setText(fast);
    fastLine_->setVisible(!fast.isEmpty());
    QString tip =
        NextPrayerTip(next.prayer >= 0 ? AnnouncedLabel(next.prayer, next.jumuah) : nullptr,
                      next.minuteOfDay, next.minutesLeft, next.iqamaMinute);
    for (const QString& line : {date, fast}) {
        if (!line.isEmpty()) tip += '\n' + line;
    }
    if (tip == toolTip()) return;
    setToolTip(tip);
    if (tray_ != nullptr) tray_->setToolTip(tip);
    windows_.Trace("tip " + QString(tip).replace('\n', " | ").toStdString());
    QStringList title;
    for (const QAction* line : {dateLine_, fastLine_}) {
        if (line->isVisible()) title << line->text();
    }
    if (!title.isEmpty()) windows_.Trace("menu title " + title.join(" | ").toStdString());
}

void StripWindow::OpenOptions(const QString& grabFile) {
    if (optionsProc_ == nullptr) return;
    if (!optionsDialog_.isNull()) {
        optionsDialog_->raise();
        optionsDialog_->activateWindow();
        return;
    }
    auto* dialog = new OptionsDialog(optionsProc_, this);
    if (!grabFile.isEmpty()) {
        dialog->show();
        dialog->adjustSize();
        dialog->grab().save(grabFile);
        delete dialog;
        return;
    }
    // Not modal: the strip keeps ticking and reloading while it is open.
    optionsDialog_ = dialog;
    dialog->setModal(false);
    connect(dialog, &QDialog::finished, dialog, &QObject::deleteLater);
    dialog->show();
    windows_.Trace("options shown");
}

void StripWindow::OpenOrvano(const std::vector<std::string>& arguments) {
    const bool started = services_.shell->StartProgram(options_.orvanoPath, arguments);
    std::string line = (started ? "started " : "could not start ") + options_.orvanoPath;
    for (const std::string& argument : arguments) line += " " + argument;
    windows_.Trace(line);
}

void StripWindow::BuildMenu() {
    // Title lines: shown, not chosen; hidden until the item gives them.
    dateLine_ = menu_.addAction(QString());
    fastLine_ = menu_.addAction(QString());
    for (QAction* line : {dateLine_, fastLine_}) {
        line->setEnabled(false);
        line->setVisible(false);
    }
    menu_.addSeparator();
    commands_ = {menu_.addAction(Say(kWordOpenOrvano), this, [this] { OpenOrvano(); }),
                 menu_.addAction(Say(kWordOptions), this, [this] { OpenOptions(); }),
                 menu_.addAction(Say(kWordAdhanSettings), this,
                                 [this] { OpenOrvano({kAdhanSettingsOption}); }),
                 menu_.addAction(Say(kWordReread), this, [this] { ClearCache("menu"); })};
    // Shown only while an adhan plays.
    stopAction_ = menu_.addAction(Say(kWordStopAdhan), this, [this] {
        if (calls_ != nullptr) calls_->Stop("menu");
    });
    stopAction_->setVisible(false);
    menu_.addSeparator();
    commands_ << menu_.addAction(Say(kWordQuit), this, [] { QCoreApplication::quit(); });
}

void StripWindow::RunMenuAction(const QString& name) {
    static const QStringList kNames = {"open", "options", "adhan", "reload", "quit"};
    if (name == "stop") {
        stopAction_->trigger();
        return;
    }
    const auto index = kNames.indexOf(name);
    if (index >= 0 && index < commands_.size()) commands_[index]->trigger();
}

void StripWindow::SetUpTray() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        windows_.Trace("no tray");
        return;
    }
    tray_ = new QSystemTrayIcon(windowIcon(), this);
    tray_->setContextMenu(&menu_);
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r != QSystemTrayIcon::Trigger) return;
        show();
        raise();
    });
    tray_->show();
    windows_.Trace("tray shown");
}

void StripWindow::ShowInPlace() {
    QPoint where;
    bool remembered = false;
    if (auto key = services_.settings->OpenKey(kStripSettingsKey)) {
        const auto x = key->ReadNumber("StripX");
        const auto y = key->ReadNumber("StripY");
        if (x && y) {
            where = QPoint(static_cast<std::int32_t>(*x), static_cast<std::int32_t>(*y));
            // A screen that has gone since (a monitor unplugged) puts it back in the corner.
            remembered = QGuiApplication::screenAt(where + QPoint(4, 4)) != nullptr;
        }
    }
    if (!remembered) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
        where = QPoint(area.right() + 1 - width() - kScreenMargin, area.top() + kScreenMargin);
    }
    move(where);
    show();
    placed_ = true;
    windows_.Trace("strip at " + PointText(pos()));
}

void StripWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (placed_) positionTimer_.start(kPositionSettleMs);
}

void StripWindow::SavePosition() {
    positionTimer_.stop();
    SettingsStore& settings = *services_.settings;
    auto key = settings.OpenKey(kStripSettingsKey);
    // The strip's own key: the host makes it, unlike the program's keys.
    if (!key && settings.CreateKey(kStripSettingsKey)) key = settings.OpenKey(kStripSettingsKey);
    if (!key) return;
    key->WriteNumber("StripX", static_cast<std::uint32_t>(pos().x()));
    key->WriteNumber("StripY", static_cast<std::uint32_t>(pos().y()));
    windows_.Trace("position saved " + PointText(pos()));
}

bool StripWindow::eventFilter(QObject* watched, QEvent* event) {
    if (item_ != nullptr && watched == item_->widget && DragEvent(event)) return true;
    return QWidget::eventFilter(watched, event);
}

// A press and a move beyond the drag distance moves the strip; the release
// that ends a drag is not a tap.
bool StripWindow::DragEvent(QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease) {
        return false;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint global = mouse->globalPosition().toPoint();
    if (type == QEvent::MouseButtonPress) {
        pressed_ = mouse->button() == Qt::LeftButton;
        dragging_ = systemMove_ = false;
        pressGlobal_ = global;
        pressWindow_ = pos();
        return false;
    }
    if (type == QEvent::MouseMove) {
        if (!pressed_ || !(mouse->buttons() & Qt::LeftButton)) return false;
        if (!dragging_) {
            if ((global - pressGlobal_).manhattanLength() < QApplication::startDragDistance()) {
                return false;
            }
            dragging_ = true;
            // The window system moves it where it can (Wayland allows nothing else).
            systemMove_ = windowHandle() != nullptr && windowHandle()->startSystemMove();
        }
        if (!systemMove_) move(pressWindow_ + (global - pressGlobal_));
        return true;
    }
    pressed_ = false;
    if (!dragging_) {
        // A click while the adhan plays stops it, and only that.
        if (calls_ == nullptr || !calls_->playing()) return false;
        calls_->Stop("click");
        return true;
    }
    dragging_ = false;
    SavePosition();
    return true;
}

void StripWindow::SimulateDrag(QPoint by) {
    if (item_ == nullptr) return;
    QWidget* target = item_->widget;
    const QPoint local(target->width() / 2, target->height() / 2);
    const QPoint global = target->mapToGlobal(local);
    auto send = [&](QEvent::Type type, QPoint offset, Qt::MouseButton button,
                    Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(local + offset), QPointF(global + offset), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    };
    send(QEvent::MouseButtonPress, {}, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, by / 2, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, by, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, by, Qt::LeftButton, Qt::NoButton);
}

void StripWindow::SimulateTap(QPoint at) {
    if (item_ == nullptr) return;
    QWidget* target = item_->widget;
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
}

std::intptr_t StripWindow::HostProc(std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
    if (message == kMsgGetColour) {
        if (wParam == kColourTodayText) return static_cast<std::intptr_t>(PackColour(kTextColour));
        if (wParam == kColourTodayBackground) {
            return static_cast<std::intptr_t>(
                PackColour(Colour{static_cast<std::uint8_t>(kTopColour.red()),
                                  static_cast<std::uint8_t>(kTopColour.green()),
                                  static_cast<std::uint8_t>(kTopColour.blue())}));
        }
        return 0;
    }
    if (message == kMsgDrawWatermark) {
        // NOLINTNEXTLINE(performance-no-int-to-ptr): messages carry pointers as integers.
        const auto* request = reinterpret_cast<const TodayWatermark*>(lParam);
        if (request == nullptr || request->window == nullptr ||
            request->window->painter == nullptr) {
            return 0;
        }
        // The strip's own background, continued under the item.
        QPainter& painter = *request->window->painter;
        painter.save();
        const QPoint offset = request->window->widget->pos();
        painter.translate(-offset);
        PaintBackground(painter,
                        QRect(request->rect.left + offset.x(), request->rect.top + offset.y(),
                              request->rect.width(), request->rect.height()));
        painter.restore();
        return 1;
    }
    return 0;
}

void StripWindow::PaintBackground(QPainter& painter, const QRect& area) const {
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, kTopColour);
    gradient.setColorAt(1, kBottomColour);
    painter.fillRect(area, gradient);
}

void StripWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    PaintBackground(painter, event->rect());
}

void StripWindow::contextMenuEvent(QContextMenuEvent* event) {
    menu_.popup(event->globalPos());
}

}  // namespace orvano
