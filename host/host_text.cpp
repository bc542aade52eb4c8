#include "host/host_text.h"

#include "platform/language.h"

namespace orvano {

bool HostInFrench(SettingsStore& settings) {
    if (auto key = settings.OpenKey(kAppSettingsKey)) {
        if (const auto lang = key->ReadNumber("Lang"))
            return *lang == 0 || LanguageOf(*lang) == Language::French;
    }
    return true;  // the window's first start writes 2
}

QString Say(const HostWords& words, bool french) {
    return QString::fromUtf8(french ? words.french : words.english);
}

QString NextPrayerTip(const char* prayerLabel, int minuteOfDay, int minutesLeft, bool french) {
    if (prayerLabel == nullptr || minuteOfDay < 0 || minutesLeft < 0) return "Orvano";
    const QString at = QString("%1:%2")
                           .arg(minuteOfDay / 60 % 24, 2, 10, QChar('0'))
                           .arg(minuteOfDay % 60, 2, 10, QChar('0'));
    const QString left =
        minutesLeft >= 60
            ? QString("%1 h %2 min").arg(minutesLeft / 60).arg(minutesLeft % 60, 2, 10, QChar('0'))
            : QString("%1 min").arg(minutesLeft);
    const QString prayer = QString::fromUtf8(prayerLabel);
    return french ? QString("Prochaine prière : %1 à %2, dans %3").arg(prayer, at, left)
                  : QString("Next prayer: %1 at %2, in %3").arg(prayer, at, left);
}

}  // namespace orvano
