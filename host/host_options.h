// The strip's command line: what a user starts it with, and the switches that
// tests and screenshots use to drive it without anyone at the screen.
#pragma once

#include <QPoint>
#include <QString>
#include <optional>

class QCoreApplication;

namespace orvano {

struct HostOptions {
    QString startTime;  // --time, "" for the system clock
    int exitAfterMs = -1;
    QString traceFile;
    QString grabFile;
    QString grabOptionsFile;
    int dpi = 0;
    int width = 240;  // at 96 dpi
    int queryIntervalMs = 2000;
    bool silent = false;
    bool boxesToStderr = false;
    // A test's clock change during the run: after this many milliseconds,
    // move the clock by this many seconds.
    int jumpAfterMs = -1;
    int jumpBySeconds = 0;
    // Simulated user input for tests: drag the strip by this much, tap the item there.
    std::optional<QPoint> dragBy;
    std::optional<QPoint> tapAt;
    QString menuAction;  // run one of the menu's actions once started
};

// Exits the process with a message on --help or a malformed value (status 2).
HostOptions ParseHostOptions(QCoreApplication& app);

}  // namespace orvano
