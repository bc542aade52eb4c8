// The platform services one program uses, gathered so they can be passed as one.
#pragma once

#include "fileio/message_sink.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/screen.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "platform/strings.h"
#include "platform/window.h"

namespace orvano {

struct Platform {
    WindowSystem& windows;
    Screen& screen;
    MessageSink& messages;
    SettingsStore& settings;
    Shell& shell;
    Clock& clock;
    Console& console;
    StringTable& strings;
};

}  // namespace orvano
