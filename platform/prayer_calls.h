// What the host does at a prayer's minute beyond the blink and the named
// sounds: the call to prayer from a file the user chose, and the word to
// other programs on the desktop that the minute has come.
#pragma once

#include <string>

namespace orvano {

class PrayerCalls {
  public:
    virtual ~PrayerCalls() = default;
    // Starts `file` playing at `volume` (0-100) and returns at once. A file
    // that cannot be played is the host's to report; it plays the default
    // sounds instead.
    virtual void PlayAdhan(const std::string& file, int volume) = 0;
    // Starts a reminder's sound the same way; a file that cannot be played
    // is reported, and nothing plays instead.
    virtual void PlayReminder(const std::string& file, int volume) = 0;
    // Ends a call to prayer that is still playing; nothing when none is.
    virtual void StopAdhan() = 0;
    // The minute of `prayer` (PrayerIndex) has come; `time` is its "HH:MM".
    virtual void AnnouncePrayer(int prayer, const std::string& time) = 0;
};

}  // namespace orvano
