// A desktop notification server for tests: owns org.freedesktop.Notifications
// on the (private) session bus, writes down every notification it gets, and
// runs the command given after "--" while it listens.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QProcess>
#include <QStringList>
#include <QVariantMap>
#include <cstdio>
#include <fstream>

class NotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

  public:
    explicit NotificationServer(const std::string& path) : out_(path, std::ios::app) {}

  public slots:
    uint Notify(const QString& app, uint, const QString&, const QString& summary,
                const QString& body, const QStringList&, const QVariantMap&, int) {
        QString escaped = body;
        escaped.replace("\\", "\\\\").replace("\n", "\\n");
        out_ << "app=" << app.toStdString() << "\nsummary=" << summary.toStdString()
             << "\nbody=" << escaped.toStdString() << "\n"
             << std::flush;
        return ++id_;
    }
    QStringList GetCapabilities() { return {"body"}; }

  private:
    std::ofstream out_;
    uint id_ = 0;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const qsizetype dashes = args.indexOf("--");
    if (args.size() < 4 || dashes != 2) {
        std::fprintf(stderr, "usage: today_notify_server OUTPUT -- PROGRAM [ARGS...]\n");
        return 2;
    }
    NotificationServer server(args[1].toStdString());
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerService("org.freedesktop.Notifications") ||
        !bus.registerObject("/org/freedesktop/Notifications", &server,
                            QDBusConnection::ExportAllSlots)) {
        std::fprintf(stderr, "today_notify_server: cannot own the notification service\n");
        return 3;
    }
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(&child, &QProcess::finished, &app,
                     [&app](int code, QProcess::ExitStatus) { app.exit(code); });
    QObject::connect(&child, &QProcess::errorOccurred, &app, [&app](QProcess::ProcessError) {
        std::fprintf(stderr, "today_notify_server: cannot start the program\n");
        app.exit(4);
    });
    child.start(args[3], args.mid(4));
    return app.exec();
}

#include "notify_server.moc"
