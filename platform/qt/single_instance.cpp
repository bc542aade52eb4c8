#include "platform/qt/single_instance.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSocketNotifier>
#include <cerrno>
#include <cstdlib>

namespace orvano {

namespace {

// A folder of this user's that no other user may list, enter or write.
bool PrivateFolder(const std::string& path, bool followLink) {
    struct stat info {};
    const int found = followLink ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
    return found == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
           (info.st_mode & 077) == 0;
}

int signalPipe[2] = {-1, -1};

void WakeOnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

}  // namespace

std::string PrivateSocketFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/' && PrivateFolder(runtime, true)) return runtime;
    // A predictable name in a shared folder: another user may have made it
    // first, so it is used only when it is ours and closed to others.
    const std::string own =
        QDir::tempPath().toStdString() + "/orvano-" + std::to_string(::getuid());
    if (::mkdir(own.c_str(), 0700) != 0 && errno != EEXIST) return std::string();
    return PrivateFolder(own, false) ? own : std::string();
}

long PeerUid(int socketDescriptor) {
    struct ucred peer {};
    socklen_t size = sizeof peer;
    if (::getsockopt(socketDescriptor, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0) return -1;
    return static_cast<long>(peer.uid);
}

InstanceChannel::InstanceChannel(const std::string& fileName) {
    const std::string folder = PrivateSocketFolder();
    if (!folder.empty()) path_ = folder + "/" + fileName;
}

InstanceChannel::~InstanceChannel() {
    // Closing removes the socket file.
    if (server_) server_->close();
}

bool InstanceChannel::Ask(const QByteArray& request, int timeoutMs) const {
    if (path_.empty()) return false;
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(path_));
    if (!socket.waitForConnected(timeoutMs)) return false;
    if (PeerUid(static_cast<int>(socket.socketDescriptor())) != static_cast<long>(::getuid())) {
        return false;
    }
    // A copy of this user's listens: it is running, even if it hangs up
    // before the request is through.
    socket.write(request);
    if (socket.waitForBytesWritten(timeoutMs)) {
        // The running copy answers, or hangs up, once it has come forward.
        socket.waitForReadyRead(timeoutMs);
    }
    return true;
}

bool InstanceChannel::Listen(std::function<void(QLocalSocket*)> onPeer,
                             std::function<void(long uid)> onRefused) {
    if (path_.empty()) return false;
    const QString name = QString::fromStdString(path_);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name)) {
        // Left behind by a copy that ended without removing it: nobody of this
        // user's answered on it (Ask came first), so it can go.
        QLocalServer::removeServer(name);
        if (!server_->listen(name)) return false;
    }
    QLocalServer* server = server_.get();
    QObject::connect(server, &QLocalServer::newConnection, server,
                     [server, onPeer = std::move(onPeer), onRefused = std::move(onRefused)] {
                         while (QLocalSocket* peer = server->nextPendingConnection()) {
                             const long uid = PeerUid(static_cast<int>(peer->socketDescriptor()));
                             if (uid == static_cast<long>(::getuid())) {
                                 onPeer(peer);
                                 continue;
                             }
                             peer->abort();
                             peer->deleteLater();
                             if (onRefused) onRefused(uid);
                         }
                     });
    return true;
}

void QuitOnTerminationSignals() {
    if (signalPipe[0] >= 0 || ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier =
        new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char byte = 0;
        while (::read(signalPipe[0], &byte, 1) > 0) {
        }
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = WakeOnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

}  // namespace orvano
