#include "host/strip.h"

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>

#include "host/options_dialog.h"
#include "platform/qt/notify_dbus.h"

namespace orvano {

namespace {

const QColor kTopColour(0x1d, 0x3b, 0x5c);
const QColor kBottomColour(0x0c, 0x1f, 0x33);
const Colour kTextColour{0xff, 0xff, 0xff};

QString Stamp(const std::string& path) {
    const QFileInfo info(QString::fromStdString(path));
    if (!info.exists()) return QString();
    return QString::number(info.lastModified().toMSecsSinceEpoch()) + ":" +
           QString::number(info.size()) + ":" +
           QString::number(info.fileTime(QFileDevice::FileMetadataChangeTime).toMSecsSinceEpoch());
}

}  // namespace

StripWindow::StripWindow(QtTodayWindowSystem& windows, const TodayHostServices& services,
                         NotificationStore& store, StripOptions options)
    : windows_(windows), services_(services), store_(store), options_(std::move(options)) {
    setWindowTitle("Orvano Today");
    setFixedSize(options_.width, std::max(1, (windows_.dpiY() * 32 + 48) / 96));
    hostWindow_ = windows_.AdoptHostWindow(
        this,
        [this](std::uint32_t m, std::uintptr_t w, std::intptr_t l) { return HostProc(m, w, l); });
    connect(&queryTimer_, &QTimer::timeout, this, [this] { QueryRefresh(); });
    connect(&deliveryTimer_, &QTimer::timeout, this, [this] { DeliverDueNotifications(); });
}

void StripWindow::Start(TodayWindow* item, TodayDialogProc optionsProc) {
    item_ = item;
    optionsProc_ = optionsProc;
    item_->widget->setGeometry(0, 0, options_.width, descriptor_.height);
    QueryRefresh();
    queryTimer_.start(options_.queryIntervalMs);
    deliveryTimer_.start(1000);
    DeliverDueNotifications();
    if (!options_.configPath.empty()) {
        // The file is replaced by renaming, so its folder is watched too.
        configStamp_ = Stamp(options_.configPath);
        watcher_.addPath(QFileInfo(QString::fromStdString(options_.configPath)).absolutePath());
        if (QFileInfo::exists(QString::fromStdString(options_.configPath))) {
            watcher_.addPath(QString::fromStdString(options_.configPath));
        }
        connect(&watcher_, &QFileSystemWatcher::fileChanged, this,
                [this] { ConfigMaybeChanged(); });
        connect(&watcher_, &QFileSystemWatcher::directoryChanged, this,
                [this] { ConfigMaybeChanged(); });
    }
}

void StripWindow::ConfigMaybeChanged() {
    const QString path = QString::fromStdString(options_.configPath);
    if (QFileInfo::exists(path) && !watcher_.files().contains(path)) watcher_.addPath(path);
    const QString stamp = Stamp(options_.configPath);
    if (stamp == configStamp_ || stamp.isEmpty()) return;
    configStamp_ = stamp;
    ClearCache("data.cfg changed");
}

void StripWindow::ClearCache(const char* why) {
    if (item_ == nullptr) return;
    windows_.Trace(std::string("clear-cache (") + why + ")");
    windows_.SendMessageTo(item_, kMsgClearCache, 0, 0);
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
    for (const auto& due : store_.TakeDue(now)) {
        const bool shown =
            ShowDesktopNotification("Orvano", due.user.dialogTitle, due.user.dialogText);
        store_.RecordNamedEvent(due.trigger.application, now);
        windows_.Trace(std::string("notify ") + (shown ? "shown " : "no-server ") +
                       due.trigger.application);
    }
}

void StripWindow::OpenOptions(const QString& grabFile) {
    if (optionsProc_ == nullptr) return;
    OptionsDialog dialog(optionsProc_, this);
    if (!grabFile.isEmpty()) {
        dialog.show();
        dialog.adjustSize();
        dialog.grab().save(grabFile);
        return;
    }
    dialog.exec();
}

std::intptr_t StripWindow::HostProc(std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
    if (message == kMsgGetColour) {
        return wParam == kColourTodayText ? static_cast<std::intptr_t>(PackColour(kTextColour)) : 0;
    }
    if (message == kMsgDrawWatermark) {
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
    QMenu menu(this);
    menu.addAction("Options…", this, [this] { OpenOptions(); });
    menu.addAction("Relire data.cfg", this, [this] { ClearCache("menu"); });
    menu.addSeparator();
    menu.addAction("Quitter", this, [this] { close(); });
    menu.exec(event->globalPos());
}

}  // namespace orvano
