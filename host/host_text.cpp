#include "host/host_text.h"

namespace orvano {

QString Say(const char* words) {
    return QString::fromUtf8(Tr(words));
}

namespace {

// "Asr at 14:32, in 1 h 05 min" in the language in use.
QString AtAndIn(const QString& what, int minuteOfDay, int minutesLeft) {
    const QString at = QString("%1:%2")
                           .arg(minuteOfDay / 60 % 24, 2, 10, QChar('0'))
                           .arg(minuteOfDay % 60, 2, 10, QChar('0'));
    const QString left =
        minutesLeft >= 60
            ? Say(N_("%1 h %2 min")).arg(minutesLeft / 60).arg(minutesLeft % 60, 2, 10, QChar('0'))
            : Say(N_("%1 min")).arg(minutesLeft);
    return Say(N_("%1 at %2, in %3")).arg(what, at, left);
}

}  // namespace

QString NextPrayerTip(const char* prayerLabel, int minuteOfDay, int minutesLeft, int iqamaMinute) {
    if (prayerLabel == nullptr || minuteOfDay < 0 || minutesLeft < 0) return "Orvano";
    QString prayer =
        AtAndIn(QString::fromUtf8(Tr("prayer", prayerLabel)), minuteOfDay, minutesLeft);
    if (iqamaMinute >= 0) {
        prayer += Say(N_(" (iqama %1:%2)"))
                      .arg(iqamaMinute / 60 % 24, 2, 10, QChar('0'))
                      .arg(iqamaMinute % 60, 2, 10, QChar('0'));
    }
    return Say(N_("Next prayer: %1")).arg(prayer);
}

QString FastTip(TodayFast fast, int minuteOfDay, int minutesLeft) {
    if (fast == TodayFast::None || minuteOfDay < 0 || minutesLeft < 0) return {};
    // The fast ends at Iftar, named as the Home page names Maghrib in Ramadan;
    // it starts at the night time Imsak.
    const char* what = fast == TodayFast::Iftar ? Tr("prayer", "Iftar") : Tr("Imsak");
    return AtAndIn(QString::fromUtf8(what), minuteOfDay, minutesLeft);
}

}  // namespace orvano
