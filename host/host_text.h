// The strip's own words, in the language the window uses.
#pragma once

#include <QString>

#include "language/messages.h"
#include "platform/today_host.h"

namespace orvano {

inline constexpr const char* kWordOpenOrvano = N_("Open Orvano");
inline constexpr const char* kWordOptions = N_("Alarm options…");
inline constexpr const char* kWordAdhanSettings = N_("Adhan and reminders…");
// The options dialog's button beside the alarm switches, which opens the same.
inline constexpr const char* kWordAdhanButton = N_("Adhan…");
inline constexpr const char* kWordReread = N_("Re-read data.cfg");
inline constexpr const char* kWordQuit = N_("Quit");
inline constexpr const char* kWordStartOrvano = N_("Start Orvano to choose the town");
inline constexpr const char* kWordAlreadyRunning = N_("already running");
inline constexpr const char* kWordNotFindable =
    N_("no private folder for the strip's socket: another start will not find this strip");
inline constexpr const char* kWordLoadRefused = N_("the plug-in refused to load; no item is shown");
inline constexpr const char* kWordCannotLoad = N_("cannot load");

inline constexpr const char* kWordStop = N_("Stop");
inline constexpr const char* kWordStopAdhan = N_("Stop the adhan");
inline constexpr const char* kWordCannotPlayAdhan =
    N_("The adhan file %1 cannot be played (%2); the default sound plays instead.");

// The words in the language in use.
QString Say(const char* words);

// "Next prayer: Asr at 14:32, in 1 h 05 min" in the language in use,
// followed by " (iqama 14:47)" when `iqamaMinute` is one; "Orvano" alone when
// there is no schedule yet.
QString NextPrayerTip(const char* prayerLabel, int minuteOfDay, int minutesLeft,
                      int iqamaMinute = -1);

// In Ramadan, "Iftar at 18:35, in 2 h 22 min" or "Imsak at 05:04, in 8 h 10
// min" in the language in use; "" when nothing is given.
QString FastTip(TodayFast fast, int minuteOfDay, int minutesLeft);

}  // namespace orvano
