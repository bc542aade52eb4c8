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

namespace {

// "Asr at 14:32, in 1 h 05 min" and its French form.
QString AtAndIn(const QString& what, int minuteOfDay, int minutesLeft, bool french) {
    const QString at = QString("%1:%2")
                           .arg(minuteOfDay / 60 % 24, 2, 10, QChar('0'))
                           .arg(minuteOfDay % 60, 2, 10, QChar('0'));
    const QString left =
        minutesLeft >= 60
            ? QString("%1 h %2 min").arg(minutesLeft / 60).arg(minutesLeft % 60, 2, 10, QChar('0'))
            : QString("%1 min").arg(minutesLeft);
    return french ? QString("%1 à %2, dans %3").arg(what, at, left)
                  : QString("%1 at %2, in %3").arg(what, at, left);
}

}  // namespace

QString NextPrayerTip(const char* prayerLabel, int minuteOfDay, int minutesLeft, bool french,
                      int iqamaMinute) {
    if (prayerLabel == nullptr || minuteOfDay < 0 || minutesLeft < 0) return "Orvano";
    QString prayer = AtAndIn(QString::fromUtf8(prayerLabel), minuteOfDay, minutesLeft, french);
    if (iqamaMinute >= 0) {
        prayer += QString(" (iqama %1:%2)")
                      .arg(iqamaMinute / 60 % 24, 2, 10, QChar('0'))
                      .arg(iqamaMinute % 60, 2, 10, QChar('0'));
    }
    return french ? "Prochaine prière : " + prayer : "Next prayer: " + prayer;
}

QString FastTip(TodayFast fast, int minuteOfDay, int minutesLeft, bool french) {
    if (fast == TodayFast::None || minuteOfDay < 0 || minutesLeft < 0) return {};
    return AtAndIn(fast == TodayFast::Iftar ? "Iftar" : "Imsak", minuteOfDay, minutesLeft, french);
}

}  // namespace orvano
