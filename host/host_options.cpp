#include "host/host_options.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QPoint>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "astro/plain_number.h"

namespace orvano {

namespace {

[[noreturn]] void BadValue(const QCommandLineOption& option, const QString& value) {
    std::fprintf(stderr, "orvano-today: bad --%s value: %s\n",
                 option.names().constFirst().toLocal8Bit().constData(),
                 value.toLocal8Bit().constData());
    std::exit(2);
}

// Decimal digits only: QString::toInt would also take a sign or spaces.
std::optional<int> PlainInt(const QString& text) {
    const auto value = PlainInteger(text.toStdString(), INT_MIN, INT_MAX);
    if (!value) return std::nullopt;
    return static_cast<int>(*value);
}

int IntValue(const QCommandLineParser& parser, const QCommandLineOption& option, int fallback) {
    if (!parser.isSet(option)) return fallback;
    const auto value = PlainInt(parser.value(option));
    if (!value) BadValue(option, parser.value(option));
    return *value;
}

std::optional<QPoint> PointValue(const QCommandLineParser& parser,
                                 const QCommandLineOption& option) {
    if (!parser.isSet(option)) return std::nullopt;
    const QStringList parts = parser.value(option).split(',');
    const auto x = parts.size() == 2 ? PlainInt(parts[0]) : std::nullopt;
    const auto y = parts.size() == 2 ? PlainInt(parts[1]) : std::nullopt;
    if (!x || !y) BadValue(option, parser.value(option));
    return QPoint(*x, *y);
}

}  // namespace

HostOptions ParseHostOptions(QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription("The Orvano Today strip");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption time("time", "Start the clock at this local time.",
                                  "YYYY-MM-DD HH:MM:SS");
    const QCommandLineOption exitAfter("exit-after", "Quit after this many milliseconds.", "ms");
    const QCommandLineOption trace("trace", "Append the messages and drawing to this file.",
                                   "file");
    const QCommandLineOption grab("grab", "Save the strip as a PNG file when quitting.", "file");
    const QCommandLineOption grabOptions("grab-options", "Save the options dialog as a PNG file.",
                                         "file");
    const QCommandLineOption dpi("dpi", "Logical pixels per inch instead of the screen's.", "dpi");
    const QCommandLineOption width("width", "Strip width in pixels at 96 dpi.", "pixels", "240");
    const QCommandLineOption interval("query-interval", "Refresh query period.", "ms", "2000");
    const QCommandLineOption silent("silent", "Play no sounds (they are still traced).");
    const QCommandLineOption boxes("boxes-to-stderr",
                                   "Print message boxes instead of showing them.");
    const QCommandLineOption jumpAfter("jump-after", "Move the clock after this many milliseconds.",
                                       "ms");
    const QCommandLineOption jumpBy("jump-by", "Seconds to move the clock by (see --jump-after).",
                                    "seconds", "0");
    const QCommandLineOption drag("drag-by", "Drag the strip by this offset once shown.", "dx,dy");
    const QCommandLineOption tap("tap", "Tap the item at this point once shown.", "x,y");
    const QCommandLineOption menu(
        "menu-action", "Run a menu action once shown: open, options, adhan, reload, quit.",
        "action");
    parser.addOptions({time, exitAfter, trace, grab, grabOptions, dpi, width, interval, silent,
                       boxes, jumpAfter, jumpBy, drag, tap, menu});
    parser.process(app);

    HostOptions o;
    o.startTime = parser.value(time);
    o.exitAfterMs = IntValue(parser, exitAfter, -1);
    o.traceFile = parser.value(trace);
    o.grabFile = parser.value(grab);
    o.grabOptionsFile = parser.value(grabOptions);
    o.dpi = IntValue(parser, dpi, 0);
    o.width = IntValue(parser, width, 240);
    o.queryIntervalMs = std::max(50, IntValue(parser, interval, 2000));
    o.silent = parser.isSet(silent);
    o.boxesToStderr = parser.isSet(boxes);
    o.jumpAfterMs = IntValue(parser, jumpAfter, -1);
    o.jumpBySeconds = IntValue(parser, jumpBy, 0);
    o.dragBy = PointValue(parser, drag);
    o.tapAt = PointValue(parser, tap);
    o.menuAction = parser.value(menu);
    if (!o.menuAction.isEmpty() &&
        !QStringList{"open", "options", "adhan", "reload", "quit"}.contains(o.menuAction)) {
        BadValue(menu, o.menuAction);
    }
    return o;
}

}  // namespace orvano
