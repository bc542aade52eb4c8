// A desktop notification server for tests: owns org.freedesktop.Notifications
// on the (private) session bus, writes down every notification it gets, and
// runs the command given after "--" while it listens. With --never-answer it
// takes each call and never replies, as a hung server does.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QProcess>
#include <QStringList>
#include <QVariantMap>
#include <cstdio>
#include <fstream>

class NotificationServer : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

  public:
    NotificationServer(const std::string& path, bool answer)
        : out_(path, std::ios::app), answer_(answer) {}

  public slots:
    uint Notify(const QString& app, uint, const QString&, const QString& summary,
                const QString& body, const QStringList&, const QVariantMap&, int) {
        QString escaped = body;
        escaped.replace("\\", "\\\\").replace("\n", "\\n");
        out_ << "app=" << app.toStdString() << "\nsummary=" << summary.toStdString()
             << "\nbody=" << escaped.toStdString() << "\n"
             << std::flush;
        if (!answer_) setDelayedReply(true);  // and the reply never comes
        return ++id_;
    }
    QStringList GetCapabilities() { return {"body"}; }

  private:
    std::ofstream out_;
    bool answer_ = true;
    uint id_ = 0;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool answer = args.size() < 3 || args[2] != "--never-answer";
    if (!answer) args.removeAt(2);
    const qsizetype dashes = args.indexOf("--");
    if (args.size() < 4 || dashes != 2) {
        std::fprintf(stderr,
                     "usage: today_notify_server OUTPUT [--never-answer] -- PROGRAM [ARGS...]\n");
        return 2;
    }
    NotificationServer server(args[1].toStdString(), answer);
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
