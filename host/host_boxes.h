// The message boxes the strip shows for itself and for its plug-in. A box
// never runs an event loop of its own: the strip is driven from its own event
// handlers (file changes, timers, taps), and a modal box there would let the
// next change open the next box inside it. So there is one box, shown without
// blocking; a new message replaces the one on screen.
#pragma once

#include <QPointer>
#include <functional>
#include <string>

#include "fileio/message_sink.h"
#include "host/window_system.h"

class QMessageBox;
class QWidget;

namespace orvano {

class HostMessageBoxes final : public MessageSink {
  public:
    // `toStderr`: print instead of showing (for runs without anyone to press OK).
    HostMessageBoxes(bool toStderr, TraceFunction trace)
        : toStderr_(toStderr), trace_(std::move(trace)) {}
    ~HostMessageBoxes() override;
    void SetOwner(std::function<QWidget*()> owner) { owner_ = std::move(owner); }
    void Show(const std::string& text, const std::string& caption) override;

    // How many messages were given so far (shown or printed).
    int count() const { return count_; }
    bool Showing() const;
    void Close();
    // Ends the application's loop when the box is closed (for a message that
    // must be read before the program exits).
    void QuitWhenClosed();

  private:
    bool toStderr_;
    TraceFunction trace_;
    std::function<QWidget*()> owner_;
    QPointer<QMessageBox> box_;
    int count_ = 0;
};

}  // namespace orvano
