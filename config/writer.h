// The writer of data.cfg (the application's Save, orvano-cli resave).
#pragma once

#include <array>
#include <string>

#include "config/records.h"
#include "fileio/file_lock.h"
#include "fileio/message_sink.h"

namespace orvano {

// The reference sources named in the file's comment lines.
extern const std::array<const char*, 6> kSourceUrls;

// The whole file as UTF-8 text. Shows "Invalid number of towns in data.cfg"
// when NumberOfTowns is below 1, and goes on.
std::string DataCfgText(const ConfigTables& tables, MessageSink& boxes);

// What in the tables the reader would refuse, as a text naming the town or
// convention and the field ("Town Cairo, latitude: 200.000000 is outside -90
// to 90"); empty when the tables would read back. Values are judged as they
// will be written. A table without towns is not a problem here: the writer
// reports it with its own box and writes it all the same.
std::string TownProblem(const Town& town);
std::string ConventionProblem(int index, const Convention& convention);
std::string TablesProblem(const ConfigTables& tables);

// Replaces the file at `path` with the tables, in the encoding they were read
// in. Tables with a problem (above) are refused with a box naming it, and a
// read-only file with a box whose text is `path`; nothing is written then.
// The new content is made without a name in the same folder and renamed over
// the old file only once it is complete and on the disk, so on any failure the
// old file stays whole; the failure is shown as a box whose text is `path`.
// Temporary files that earlier saves killed at the wrong instant left behind
// are removed once they are ten minutes old. Returns whether the file was
// replaced.
// A full disk is shown with kCaptionDiskFull instead. The text is written in
// the tables' encoding unless the reader would decode those bytes otherwise
// (then as UTF-8); tables that no encoding carries faithfully are refused.
// The caller holds the data.cfg lock (LockDataCfg) from its read to here.
bool WriteDataCfg(const std::string& path, const ConfigTables& tables, MessageSink& boxes);

// Takes the lock that every writer of data.cfg holds from the read its change
// is based on to the write, waiting at most kLockWaitMilliseconds; on failure
// shows a box saying another program is changing the file (or, when the lock
// cannot be made in the folder, the write error box).
bool LockDataCfg(FileLock& lock, const std::string& path, MessageSink& boxes);

}  // namespace orvano
