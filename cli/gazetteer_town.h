// The gazetteer as orvano-cli uses it: found beside the installed data.cfg,
// read once, and a town of the file's tables made from one of its places.
#pragma once

#include <string>

#include "engine/state.h"
#include "places/gazetteer.h"

namespace orvano::cli {

// The installed gazetteer, read at the first call. Throws ConfigError with
// the reader's message when it cannot be read.
const Gazetteer& InstalledGazetteer();

// Where --town TEXT names no town of the file: the gazetteer's best place
// whose whole name TEXT gives ("Name", "Name, Country", "Name, Region, Country" or "Country/Name")
// joins the tables as the selected town, with its country's convention, and a
// line on standard error says where it came from. False when no place fits,
// or when the gazetteer cannot be read (said on standard error).
bool SelectGazetteerTown(const std::string& text, EngineState& state);

// The current year, for the zone integers of a new town.
int ThisYear();

}  // namespace orvano::cli
