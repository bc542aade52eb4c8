// The stand-in Today screen: one strip window that holds the plug-in's item,
// drives it with the host's messages, and delivers due notifications.
#pragma once

#include <QFileSystemWatcher>
#include <QTimer>
#include <QWidget>
#include <string>

#include "host/window_system.h"
#include "platform/notification_store.h"

namespace orvano {

struct StripOptions {
    int width = 240;
    int queryIntervalMs = 2000;
    std::string configPath;  // data.cfg beside the library, watched for changes
};

class StripWindow final : public QWidget {
  public:
    StripWindow(QtTodayWindowSystem& windows, const TodayHostServices& services,
                NotificationStore& store, StripOptions options);

    TodayWindow* hostWindow() const { return hostWindow_; }
    // The host's record of its item: given at creation, read and written by every refresh query.
    TodayItemDescriptor* descriptor() { return &descriptor_; }
    // Places the item, asks its height at once, then starts the timers.
    void Start(TodayWindow* item, TodayDialogProc optionsProc);
    void ClearCache(const char* why);
    // Runs the options dialog; with grabFile, grabs it and closes it instead.
    void OpenOptions(const QString& grabFile = QString());
    void QueryRefresh();
    void DeliverDueNotifications();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    std::intptr_t HostProc(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
    void PaintBackground(QPainter& painter, const QRect& area) const;
    void ConfigMaybeChanged();

    QtTodayWindowSystem& windows_;
    TodayHostServices services_;
    NotificationStore& store_;
    StripOptions options_;
    TodayWindow* hostWindow_ = nullptr;
    TodayWindow* item_ = nullptr;
    TodayDialogProc optionsProc_ = nullptr;
    TodayItemDescriptor descriptor_;
    QTimer queryTimer_;
    QTimer deliveryTimer_;
    QFileSystemWatcher watcher_;
    QString configStamp_;
};

}  // namespace orvano
