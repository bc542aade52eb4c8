// The call to prayer from a sound file, played by GStreamer's playbin
// through the desktop's sound server, so that the mixer shows it and sets
// its level like any other program's.
#pragma once

#include <QTimer>
#include <functional>
#include <string>

namespace orvano {

class AdhanPlayer {
  public:
    // `failed` hears of a file that cannot be played, with why; `ended` of
    // a file played to its end. Both are called from the event loop, or from
    // within Play for a file that cannot even be opened.
    using Failed = std::function<void(const std::string& file, const std::string& reason)>;
    AdhanPlayer(Failed failed, std::function<void()> ended);
    ~AdhanPlayer();
    AdhanPlayer(const AdhanPlayer&) = delete;
    AdhanPlayer& operator=(const AdhanPlayer&) = delete;

    // Stops what plays, then starts `file` at `volume` (0-100, as a mixer
    // shows it) and returns at once.
    void Play(const std::string& file, int volume);
    // Ends the playback at once; the stream leaves the sound server.
    void Stop();
    bool playing() const { return pipeline_ != nullptr; }

  private:
    void Poll();
    void Fail(const std::string& file, const std::string& reason);

    Failed failed_;
    std::function<void()> ended_;
    void* pipeline_ = nullptr;  // a GstElement*, kept out of this header
    std::string file_;
    // The bus is read from the event loop, and only while something plays,
    // so an idle strip costs nothing more.
    QTimer poll_;
};

// Why `file` cannot be played, before trying to: "" when it is a regular
// file the user may read.
std::string UnreadableReason(const std::string& file);

}  // namespace orvano
