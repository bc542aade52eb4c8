// The plug-in's own reader of data.cfg: same grammar and result codes as the
// application's reader, but it keeps only the selected town, transcribes
// nothing, and reports every failure in a message box.
#pragma once

#include <functional>
#include <string>

#include "config/grammar.h"  // the result codes
#include "engine/state.h"
#include "fileio/message_sink.h"
#include "today/diagnostic_log.h"

namespace orvano {

// Reads configPath into state.tables (conventions, NumberOfTowns,
// TownSelected, Verbose; never the town table) and state.place. Nothing is
// cleared first: what an earlier read left stays where this file says nothing.
int ReadPluginConfig(const std::string& configPath, EngineState& state, MessageSink& boxes,
                     const std::function<DiagnosticLog&()>& getLog);

}  // namespace orvano
