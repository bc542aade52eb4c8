#include "app/commands_alarms.h"

#include <algorithm>

namespace orvano {

namespace {

constexpr const char* kOfferText[] = {
    "Orvano can ring and show a notification at the time of each prayer, through the Today "
    "strip. Turn the alarms on for the five prayers?\n\nYou can change them at any time in the "
    "strip's alarm options.",
    "Orvano peut sonner et afficher une notification à l'heure de chaque prière, grâce au "
    "bandeau Aujourd'hui. Activer les alarmes des cinq prières ?\n\nVous pourrez les changer à "
    "tout moment dans les options des alarmes du bandeau."};

}  // namespace

bool OfferAlarmsOnce(SettingsStore& settings, MessageSink& messages, bool french) {
    auto key = settings.OpenKey(kTodaySettingsKey);
    if (!key) return false;
    // Any switch stored means someone chose already (here, or in the strip's options).
    const bool chosen = std::any_of(kAlarmValueNames.begin(), kAlarmValueNames.end(),
                                    [&key](const char* name) { return key->ReadRaw(name); });
    if (chosen) return false;
    const bool on = messages.AskYesNo(kOfferText[french ? 1 : 0], "Orvano");
    // Either answer is stored, so that the question comes once.
    for (const char* name : kAlarmValueNames) key->WriteByte(name, on ? 1 : 0);
    return true;
}

}  // namespace orvano
