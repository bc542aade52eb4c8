// The gazetteer as orvano-cli uses it: found beside the installed data.cfg,
// read once, and a town of the file's tables made from one of its places.
#pragma once

#include <string>

#include "engine/state.h"
#include "places/gazetteer.h"

namespace orvano::cli {

// The installed gazetteer, read at the first call only. Throws ConfigError
// with the reader's message when it cannot be read.
const Gazetteer& InstalledGazetteer();

// A town at the coordinates that takes what they do not say from the nearest
// place of the gazetteer: its country and zone, and its country's method and
// convention. `nearest` gets that place's display name. Throws ConfigError
// when the gazetteer cannot be read or holds no place.
Town TownNearest(double latitude, double longitude, std::string& nearest);

// Where --town TEXT names no town of the file: the gazetteer's best place
// whose whole name TEXT gives ("Name", "Name, Country", "Name, Region, Country" or "Country/Name")
// joins the tables as the selected town, with its country's convention, and a
// line on standard error says where it came from. False when no place fits,
// or when the gazetteer cannot be read (said on standard error).
bool SelectGazetteerTown(const std::string& text, EngineState& state);

// The current year, for the zone integers of a new town.
int ThisYear();

}  // namespace orvano::cli
