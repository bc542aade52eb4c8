// The plug-in's reading of data.cfg: the application's reader, which accepts
// and refuses the same files, but the plug-in keeps only the selected town,
// transcribes nothing, logs an open failure and reports every failure in a
// message box.
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
