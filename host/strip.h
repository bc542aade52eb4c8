// The stand-in Today screen: one strip window that holds the plug-in's item,
// drives it with the host's messages, and delivers due notifications. It is
// frameless and stays above other windows where the window system allows,
// can be dragged, and comes back where the user left it.
#pragma once

#include <QFileSystemWatcher>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "host/day_watch.h"
#include "host/host_boxes.h"
#include "host/window_system.h"
#include "platform/notification_store.h"

class QSystemTrayIcon;

namespace orvano {

class CallToPrayer;
struct BusNextPrayer;
class OptionsDialog;

// The strip's own settings: where it was left on the screen.
inline constexpr const char* kStripSettingsKey = "Software\\Orvano\\TodayStrip";

struct StripOptions {
    int width = 240;
    int queryIntervalMs = 2000;
    std::string configPath;  // data.cfg the plug-in reads, watched for changes
    std::string orvanoPath;  // the window program the menu starts
};

class StripWindow final : public QWidget {
  public:
    StripWindow(QtTodayWindowSystem& windows, const TodayHostServices& services,
                NotificationStore& store, HostMessageBoxes& boxes, StripOptions options);
    ~StripWindow() override;

    TodayWindow* hostWindow() const { return hostWindow_; }
    // The host's record of its item: given at creation, read and written by every refresh query.
    TodayItemDescriptor* descriptor() { return &descriptor_; }
    // Places the item, asks its height at once, then starts the timers.
    void Start(TodayWindow* item, TodayDialogProc optionsProc);
    // The adhan and the bus interface; the strip stops it from its menu and a click.
    void UseCallToPrayer(CallToPrayer& calls);
    // Shows the strip where the user left it (or in the top right corner).
    void ShowInPlace();
    void ClearCache(const char* why);
    // Shows the options dialog; with grabFile, grabs it and closes it instead.
    void OpenOptions(const QString& grabFile = QString());
    // Starts the window program, which comes forward if it runs already.
    void OpenOrvano(const std::vector<std::string>& arguments = {});
    void QueryRefresh();
    void DeliverDueNotifications();
    // Runs one of the menu's actions by name: open, options, adhan, reload, quit, stop.
    void RunMenuAction(const QString& name);
    // Drives a drag or a tap as the mouse would.
    void SimulateDrag(QPoint by);
    void SimulateTap(QPoint at);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::intptr_t HostProc(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
    void PaintBackground(QPainter& painter, const QRect& area) const;
    void ConfigMaybeChanged();
    void Tick();
    void NewDay(const std::string& reason);
    void UpdateTip();
    void BuildMenu();
    void SetUpTray();
    void WatchConfig();
    void RearmConfigWatch();
    void SavePosition();
    bool DragEvent(QEvent* event);
    BusNextPrayer NextForBus();

    QtTodayWindowSystem& windows_;
    TodayHostServices services_;
    NotificationStore& store_;
    HostMessageBoxes& boxes_;
    StripOptions options_;
    TodayWindow* hostWindow_ = nullptr;
    TodayWindow* item_ = nullptr;
    TodayDialogProc optionsProc_ = nullptr;
    TodayItemDescriptor descriptor_;
    QTimer tickTimer_;
    QTimer reloadTimer_;    // a burst of file changes makes one reload
    QTimer positionTimer_;  // a burst of moves makes one write
    QFileSystemWatcher watcher_;
    QString configStamp_;
    DayWatch dayWatch_;
    QMenu menu_;
    // The menu's title lines (the Hijri date, and in Ramadan the next of iftar
    // and imsak), then its commands: open, options, adhan, reload, quit.
    QAction* dateLine_ = nullptr;
    QAction* fastLine_ = nullptr;
    QList<QAction*> commands_;
    QSystemTrayIcon* tray_ = nullptr;
    QPointer<OptionsDialog> optionsDialog_;
    CallToPrayer* calls_ = nullptr;
    QAction* stopAction_ = nullptr;  // shown while an adhan plays
    bool placed_ = false;
    int tipMinute_ = -1;  // the minute the tooltip was made in
    bool reloadMessagePending_ = false;
    // Dragging: where the press was, and where the strip was then.
    QPoint pressGlobal_;
    QPoint pressWindow_;
    bool pressed_ = false;
    bool dragging_ = false;
    bool systemMove_ = false;
};

}  // namespace orvano
