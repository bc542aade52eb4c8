#include "today/plugin_reader.h"

#include <cerrno>
#include <utility>

#include "config/reader.h"
#include "fileio/safe_file.h"

namespace orvano {

int ReadPluginConfig(const std::string& configPath, EngineState& state, MessageSink& boxes,
                     const std::function<DiagnosticLog&()>& getLog) {
    const InputFile file = ReadInputFile(configPath);
    if (file.status == InputFile::Status::TooLarge) {
        boxes.Show(kTextBadFormat, kCaptionReadError);
        return kReadBadFormat;
    }
    if (!file.ok()) {
        // The log's own start-up must not replace the error being logged.
        getLog().Write("Cannot open data.cfg file");
        DiagnosticLog& log = getLog();
        errno = file.error;
        log.WriteLastError();
        boxes.Show(configPath, kCaptionFileOpenError);
        return kReadOpenError;
    }
    // Read into copies and taken only on success: a failed reload leaves the
    // place and the conventions of the last good read whole.
    ConfigTables tables = state.tables;
    CurrentPlace place = state.place;
    // The application's grammar and checks; the strip keeps no town table, and
    // says everything in a box, the out-of-range town too.
    const int result = ReadDataCfgBytes(file.bytes, tables, place, nullptr, boxes, nullptr,
                                        {.conventionAfterTownOverrides = true});
    tables.Towns.clear();
    if (result == kReadTownOutOfRange) boxes.Show(kTextTownOutOfRange, kCaptionReadError);
    if (result == kReadOk) {
        state.tables = std::move(tables);
        state.place = std::move(place);
    }
    return result;
}

}  // namespace orvano
