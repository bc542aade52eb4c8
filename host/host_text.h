// The strip's own words, in the language the window uses ("Lang" in the
// application's settings: 2 or missing is French, anything else English).
#pragma once

#include <QString>

#include "platform/settings.h"
#include "platform/today_host.h"

namespace orvano {

struct HostWords {
    const char* english;
    const char* french;
};

inline constexpr HostWords kWordOpenOrvano = {"Open Orvano", "Ouvrir Orvano"};
inline constexpr HostWords kWordOptions = {"Alarm options…", "Options des alarmes…"};
inline constexpr HostWords kWordReread = {"Re-read data.cfg", "Relire data.cfg"};
inline constexpr HostWords kWordQuit = {"Quit", "Quitter"};
inline constexpr HostWords kWordStartOrvano = {"Start Orvano to choose the town",
                                               "Lance Orvano pour configurer la ville"};
inline constexpr HostWords kWordAlreadyRunning = {"already running", "déjà lancé"};
inline constexpr HostWords kWordNotFindable = {
    "no private folder for the strip's socket: another start will not find this strip",
    "aucun dossier privé pour la prise du bandeau : un autre lancement ne le trouvera pas"};
inline constexpr HostWords kWordLoadRefused = {
    "the plug-in refused to load; no item is shown",
    "le module a refusé de se charger ; rien n'est affiché"};
inline constexpr HostWords kWordStop = {"Stop", "Arrêter"};
inline constexpr HostWords kWordStopAdhan = {"Stop the adhan", "Arrêter l'adhan"};
inline constexpr HostWords kWordCannotPlayAdhan = {
    "The adhan file %1 cannot be played (%2); the default sound plays instead.",
    "Le fichier d'adhan %1 ne peut pas être joué (%2) ; le son par défaut le remplace."};
inline constexpr HostWords kWordCannotLoad = {"cannot load", "impossible de charger"};

bool HostInFrench(SettingsStore& settings);
QString Say(const HostWords& words, bool french);

// "Next prayer: Asr at 14:32, in 1 h 05 min" and its French form, followed
// by " (iqama 14:47)" when `iqamaMinute` is one; "Orvano" alone when there is
// no schedule yet.
QString NextPrayerTip(const char* prayerLabel, int minuteOfDay, int minutesLeft, bool french,
                      int iqamaMinute = -1);

// In Ramadan, "Iftar at 18:35, in 2 h 22 min" or "Imsak at 05:04, in 8 h 10
// min" and their French forms; "" when nothing is given.
QString FastTip(TodayFast fast, int minuteOfDay, int minutesLeft, bool french);

}  // namespace orvano
