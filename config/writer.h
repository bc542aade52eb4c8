// The writer of data.cfg (the application's Save, orvano-cli resave).
#pragma once

#include <array>
#include <string>

#include "config/message_sink.h"
#include "config/records.h"

namespace orvano {

// The reference sources named in the file's comment lines.
extern const std::array<const char*, 6> kSourceUrls;

// The whole file as UTF-8 text. Shows "Invalid number of towns in data.cfg"
// when NumberOfTowns is below 1, and goes on.
std::string DataCfgText(const ConfigTables& tables, MessageSink& boxes);

// Replaces the file at `path` with the tables, in the encoding they were read
// in. The new content goes to a temporary file in the same folder that is
// renamed over the old one only once it is complete, so on any failure the old
// file stays whole; the failure is shown as a box whose text is `path`.
// Returns whether the file was replaced.
bool WriteDataCfg(const std::string& path, const ConfigTables& tables, MessageSink& boxes);

}  // namespace orvano
