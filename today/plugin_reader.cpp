#include "today/plugin_reader.h"

#include <cerrno>
#include <utility>

#include "config/grammar.h"
#include "config/text_encoding.h"
#include "fileio/safe_file.h"

namespace orvano {

namespace {

int ReadInto(const std::string& bytes, ConfigTables& tables, CurrentPlace& place,
             MessageSink& boxes) {
    const std::string text = DecodeConfigBytes(bytes, tables.encoding);
    CfgScanner scanner(text);
    // The same grammar as the application's reader; only the selected town's
    // line is kept, so the header must come before the town lines.
    int townLines = 0;
    bool afterSelectedTown = false;  // a zone line may follow the selected town's line
    for (bool more = true; more;) {
        const Record r = ReadRecord(scanner);
        const bool zoneMayFollow = afterSelectedTown;
        afterSelectedTown = false;
        switch (r.type) {
            case Record::Type::End:
                more = false;
                break;
            case Record::Type::Header:
                if (r.NumberOfTowns > kMaxNumberOfTowns) {
                    boxes.Show(kTextInvalidTownCount, kCaptionReadError);
                    return kReadInvalidTownCount;
                }
                tables.NumberOfTowns = r.NumberOfTowns;
                tables.TownSelected = r.TownSelected;
                tables.Verbose = r.Verbose;
                if (!ValidNumberOfTowns(r.NumberOfTowns)) {
                    boxes.Show(kTextInvalidTownCount, kCaptionReadError);
                    return kReadInvalidTownCount;
                }
                break;
            case Record::Type::Town:
                if (townLines == tables.TownSelected) {
                    FillCurrentPlace(r.town, place);
                    afterSelectedTown = true;
                }
                ++townLines;
                break;
            case Record::Type::ConventionParams:
                place.Convention = r.conventionIndex;
                ApplyConventionParams(
                    r.params, tables.Conventions[static_cast<std::size_t>(r.conventionIndex)]);
                break;
            case Record::Type::AddedMinutes:
                place.Convention = r.conventionIndex;
                tables.Conventions[static_cast<std::size_t>(r.conventionIndex)].AddedMinutes =
                    r.addedMinutes;
                break;
            case Record::Type::ConventionName:
                place.Convention = r.conventionIndex;
                tables.Conventions[static_cast<std::size_t>(r.conventionIndex)].Name = r.name;
                break;
            case Record::Type::Comment:
                if (zoneMayFollow) {
                    std::string zone = ZoneRecordName(r.rest);
                    if (!zone.empty()) place.Zone = std::move(zone);
                }
                break;
            case Record::Type::BadFormat:
                boxes.Show(kTextBadFormat, kCaptionReadError);
                return kReadBadFormat;
        }
    }

    if (townLines != tables.NumberOfTowns) {
        boxes.Show(kTextTownCount, kCaptionReadError);
        return kReadTownCountError;
    }
    if (tables.TownSelected < 0 || tables.TownSelected >= tables.NumberOfTowns) {
        boxes.Show(kTextTownOutOfRange, kCaptionReadError);
        return kReadTownOutOfRange;
    }
    return kReadOk;
}

}  // namespace

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
    const int result = ReadInto(file.bytes, tables, place, boxes);
    if (result == kReadOk) {
        state.tables = std::move(tables);
        state.place = std::move(place);
    }
    return result;
}

}  // namespace orvano
