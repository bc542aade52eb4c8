// The application's reader of data.cfg and its transcription read_echo.cfg.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "astro/records.h"
#include "astro/trace.h"
#include "config/grammar.h"
#include "config/records.h"
#include "fileio/message_sink.h"

namespace orvano {

// "data.cfg" and "read_echo.cfg" in `folder` (which ends with its separator).
std::string DataCfgPath(const std::string& folder);
std::string ReadEchoPath(const std::string& folder);
// read_echo.cfg in the folder of the given data.cfg.
std::string ReadEchoBeside(const std::string& dataCfgPath);

// Reads data.cfg at `dataPath` into `tables` and `place`, writing the
// transcription to `echoPath` (none when it is empty). The tables are not
// cleared first: after a failure they hold what was read before it; `place` is
// filled only when every check passes (its Convention also follows each
// convention line read, as it always has). Boxes go to `boxes`; the console
// lines (the out-of-range error, and the place when Verbose is set after
// reading) go to `console`, which may be null. Returns a ReadResult.
// data.cfg must be a regular file of at most 64 MB: anything else (a folder,
// FIFO or device) is an open error, a larger file a bad format. On an open
// error `openReason` (when given) receives why, e.g. "not a regular file".
// `digest` (when given) receives DataCfgDigest of the bytes read.
int ReadDataCfg(const std::string& dataPath, const std::string& echoPath, ConfigTables& tables,
                CurrentPlace& place, MessageSink& boxes, TraceSink* console,
                std::string* openReason = nullptr, std::uint64_t* digest = nullptr);

// What a data.cfg held, to tell later whether another program has changed it
// since: a digest of its bytes (FNV-1a), kUnreadableDigest for a file that
// cannot be read at all.
inline constexpr std::uint64_t kUnreadableDigest = 0;
std::uint64_t DataCfgDigest(std::string_view bytes);
std::uint64_t CurrentDataCfgDigest(const std::string& dataPath);

// The same, for a caller that keeps one transcription whatever file it reads:
// the transcription replaces `echoPath` only after a successful read, and one
// that cannot be written is a failure (kReadEchoOpenError, with the open-error
// box naming it). Nothing is written when the read fails.
int ReadDataCfgWholly(const std::string& dataPath, const std::string& echoPath,
                      ConfigTables& tables, CurrentPlace& place, MessageSink& boxes,
                      TraceSink* console, std::string* openReason = nullptr);

// Where one program's reading of data.cfg may differ from the others'. Every
// file is accepted or refused alike whatever the rules.
struct ReadRules {
    // A convention line after the selected town's line gives the place that
    // convention instead of the town's own (the strip has always read so).
    bool conventionAfterTownOverrides = false;
};

// The same reader over the file's bytes, without files: results 0 and 3 to 6.
// The transcription is appended to `echo` (UTF-8) unless it is null.
int ReadDataCfgBytes(std::string_view bytes, ConfigTables& tables, CurrentPlace& place,
                     std::string* echo, MessageSink& boxes, TraceSink* console,
                     ReadRules rules = {});

}  // namespace orvano
