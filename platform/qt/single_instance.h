// One copy per user: the local socket a running copy listens on, kept where
// no other user can create or replace it, and answering only its own user.
#pragma once

#include <QByteArray>
#include <functional>
#include <memory>
#include <string>

class QLocalServer;
class QLocalSocket;

namespace orvano {

// The folder for this user's sockets: $XDG_RUNTIME_DIR when it is a folder of
// this user's that nobody else may enter; else "orvano-UID" in the temporary
// folder, made with mode 0700 and used only while it is a real folder (not a
// link) of this user's with no access for anyone else. Empty when there is none.
std::string PrivateSocketFolder();

// The uid at the other end of a connected local socket, or -1.
long PeerUid(int socketDescriptor);

// The channel `fileName` in the private socket folder.
class InstanceChannel {
  public:
    explicit InstanceChannel(const std::string& fileName);
    ~InstanceChannel();  // stops listening and removes the socket
    InstanceChannel(const InstanceChannel&) = delete;
    InstanceChannel& operator=(const InstanceChannel&) = delete;

    // The socket's path; empty when there is no private folder.
    const std::string& path() const { return path_; }

    // Sends `request` to a running copy of this user's and waits for its
    // answer or its hanging up. False when none listens, or when what listens
    // belongs to another user.
    bool Ask(const QByteArray& request, int timeoutMs) const;

    // Listens, taking over a socket left by a copy that ended without removing
    // it (Ask found nobody on it). Each connection of this user's is handed to
    // `onPeer`; any other is closed unread, and `onRefused` told its uid.
    bool Listen(std::function<void(QLocalSocket*)> onPeer,
                std::function<void(long uid)> onRefused = nullptr);

  private:
    std::string path_;
    std::unique_ptr<QLocalServer> server_;
};

// SIGTERM, SIGINT and SIGHUP end the event loop as a quit does, so that what
// the program undoes on the way out (its socket) is undone.
void QuitOnTerminationSignals();

}  // namespace orvano
