#include "config/reader.h"

#include <filesystem>
#include <vector>

#include "astro/angle_text.h"
#include "config/text_encoding.h"
#include "fileio/safe_file.h"

namespace orvano {

namespace {

void Print(TraceSink* console, const std::string& text) {
    if (console != nullptr) console->Write(text);
}

// What the reading has seen so far of the town lines.
struct TownCount {
    // Town lines are counted whatever happens to them; a line that finds no
    // slot (before the header, or beyond NumberOfTowns) is stored nowhere and
    // fails the count check, so no town is silently dropped.
    long long lines = 0;
    long long stray = 0;
    bool headerSeen = false;
    // The number of the record each stored town came from, slot by slot.
    std::vector<long long> recordOf;
};

// A header record; kReadOk, or the refusal already shown.
int ApplyHeader(const Record& r, ConfigTables& tables, TownCount& towns, MessageSink& boxes) {
    if (r.NumberOfTowns > kMaxNumberOfTowns) {
        // Refused whole: the table in memory stays as it was.
        boxes.Show(kTextInvalidTownCount, kCaptionReadError);
        return kReadInvalidTownCount;
    }
    tables.NumberOfTowns = r.NumberOfTowns;
    tables.TownSelected = r.TownSelected;
    tables.Verbose = r.Verbose;
    if (!ValidNumberOfTowns(r.NumberOfTowns)) {
        tables.Towns.clear();
        boxes.Show(kTextInvalidTownCount, kCaptionReadError);
        return kReadInvalidTownCount;
    }
    // A second header keeps the towns already read that still fit.
    tables.Towns.resize(static_cast<size_t>(r.NumberOfTowns));
    towns.recordOf.resize(tables.Towns.size(), -1);
    towns.headerSeen = true;
    return kReadOk;
}

// A town record: the slot it was stored in, or nullptr for a stray line.
Town* StoreTown(const Record& r, long long recordNumber, ConfigTables& tables, TownCount& towns) {
    Town* slot = nullptr;
    if (towns.headerSeen && towns.lines < static_cast<long long>(tables.Towns.size())) {
        slot = &tables.Towns[static_cast<size_t>(towns.lines)];
        *slot = r.town;
        towns.recordOf[static_cast<size_t>(towns.lines)] = recordNumber;
    } else {
        ++towns.stray;
    }
    ++towns.lines;
    return slot;
}

// The town whose line was just read, while its zone and method records may
// still follow.
struct TownTail {
    Town* town = nullptr;
    TownRecordsSeen seen;
};

// A zone or method record names the zone or method of the town line before it.
void ApplyComment(const Record& r, TownTail& tail) {
    if (tail.town == nullptr ||
        !ApplyTownRecord(r.rest, tail.town->Zone, tail.town->Method, tail.seen)) {
        tail = {};
    }
}

void PrintPlace(TraceSink* console, const CurrentPlace& place) {
    Print(console, "Lieu actuel : \n");
    Print(console,
          "Lieu : " + PrintableText(place.Country) + ", " + PrintableText(place.Name) + "\n");
    Print(console, "latitude=" + AngleToDmsText(place.latitude.Radians()) +
                       "   longitude=" + AngleToDmsText(place.longitude.Radians()) + "\n");
    Print(console, "Convention " + IntText(place.Convention) + "\n");
}

}  // namespace

std::string DataCfgPath(const std::string& folder) {
    return folder + "data.cfg";
}

std::string ReadEchoPath(const std::string& folder) {
    return folder + "read_echo.cfg";
}

std::string ReadEchoBeside(const std::string& dataCfgPath) {
    const std::filesystem::path folder = std::filesystem::path(dataCfgPath).parent_path();
    return (folder / "read_echo.cfg").string();
}

int ReadDataCfgBytes(std::string_view bytes, ConfigTables& tables, CurrentPlace& place,
                     std::string* echo, MessageSink& boxes, TraceSink* console, ReadRules rules) {
    std::string unused;
    std::string& out = echo != nullptr ? *echo : unused;
    const std::string text = DecodeConfigBytes(bytes, tables.encoding);
    out += kEchoTitleLine;

    TownCount towns;
    TownTail tail;
    // The last convention line: its record number and index.
    long long conventionRecord = -1;
    int conventionIndex = 0;

    CfgScanner scanner(text);
    for (long long recordNumber = 0;; ++recordNumber) {
        const Record r = ReadRecord(scanner);
        if (r.type == Record::Type::End) break;
        if (r.type == Record::Type::ConventionParams || r.type == Record::Type::AddedMinutes ||
            r.type == Record::Type::ConventionName) {
            conventionRecord = recordNumber;
            conventionIndex = r.conventionIndex;
        }
        if (r.kindRead) out += IntText(r.kind) + " ";
        if (r.type != Record::Type::Comment) tail = {};
        switch (r.type) {
            case Record::Type::Header: {
                out += HeaderFields(r.NumberOfTowns, r.TownSelected, r.Verbose);
                const int result = ApplyHeader(r, tables, towns, boxes);
                if (result != kReadOk) return result;
                break;
            }
            case Record::Type::Town:
                out += TownFields(r.town);
                tail.town = StoreTown(r, recordNumber, tables, towns);
                break;
            case Record::Type::ConventionParams:
                place.Convention = r.conventionIndex;
                out += ConventionParamsFields(r.params);
                ApplyConventionParams(
                    r.params, tables.Conventions[static_cast<std::size_t>(r.conventionIndex)]);
                break;
            case Record::Type::AddedMinutes:
                place.Convention = r.conventionIndex;
                tables.Conventions[static_cast<std::size_t>(r.conventionIndex)].AddedMinutes =
                    r.addedMinutes;
                out += AddedMinutesFields(r.conventionIndex, r.addedMinutes);
                break;
            case Record::Type::ConventionName:
                place.Convention = r.conventionIndex;
                tables.Conventions[static_cast<std::size_t>(r.conventionIndex)].Name = r.name;
                out += ConventionNameFields(r.conventionIndex, r.name);
                break;
            case Record::Type::Comment:
                // Back over the space after the kind: the line is copied as it was.
                out.pop_back();
                out += r.rest + "\n";
                ApplyComment(r, tail);
                break;
            case Record::Type::BadFormat:
                boxes.Show(kTextBadFormat, kCaptionReadError);
                return kReadBadFormat;
            case Record::Type::End:
                break;
        }
    }

    if (towns.lines != tables.NumberOfTowns || towns.stray != 0) {
        boxes.Show(kTextTownCount, kCaptionReadError);
        return kReadTownCountError;
    }
    if (tables.TownSelected < 0 || tables.TownSelected >= tables.NumberOfTowns ||
        static_cast<size_t>(tables.TownSelected) >= tables.Towns.size()) {
        Print(console, kConsoleTownOutOfRange);
        return kReadTownOutOfRange;
    }
    const auto selected = static_cast<size_t>(tables.TownSelected);
    FillCurrentPlace(tables.Towns[selected], place);
    if (rules.conventionAfterTownOverrides && conventionRecord > towns.recordOf[selected]) {
        place.Convention = conventionIndex;
    }
    if (tables.Verbose != 0) PrintPlace(console, place);
    return kReadOk;
}

namespace {

// Reads an opened data.cfg into the tables and its transcription into `echo`.
int ReadWithEcho(const InputFile& data, ConfigTables& tables, CurrentPlace& place,
                 std::string& echo, MessageSink& boxes, TraceSink* console) {
    if (data.status == InputFile::Status::TooLarge) {
        echo = kEchoTitleLine;
        boxes.Show(kTextBadFormat, kCaptionReadError);
        return kReadBadFormat;
    }
    return ReadDataCfgBytes(data.bytes, tables, place, &echo, boxes, console);
}

InputFile OpenDataCfg(const std::string& dataPath, MessageSink& boxes, std::string* openReason) {
    InputFile data = ReadInputFile(dataPath);
    if (!data.ok() && data.status != InputFile::Status::TooLarge) {
        if (openReason != nullptr) *openReason = data.Reason();
        boxes.Show(dataPath, kCaptionFileOpenError);
    }
    return data;
}

bool Opened(const InputFile& data) {
    return data.ok() || data.status == InputFile::Status::TooLarge;
}

}  // namespace

int ReadDataCfg(const std::string& dataPath, const std::string& echoPath, ConfigTables& tables,
                CurrentPlace& place, MessageSink& boxes, TraceSink* console,
                std::string* openReason, std::uint64_t* digest) {
    const InputFile data = OpenDataCfg(dataPath, boxes, openReason);
    if (digest != nullptr) *digest = data.ok() ? DataCfgDigest(data.bytes) : kUnreadableDigest;
    if (!Opened(data)) return kReadOpenError;
    // Made beside its final name and renamed over it, so a link planted there
    // is replaced, never written through.
    ReplacingFile echoFile;
    const bool echoWanted = !echoPath.empty();
    if (echoWanted && !echoFile.Create(echoPath, ".read_echo.cfg.", false)) {
        boxes.Show(echoPath, kCaptionFileOpenError);
        return kReadEchoOpenError;
    }
    std::string echo;
    const int result = ReadWithEcho(data, tables, place, echo, boxes, console);
    if (echoWanted) {
        // The transcription is written in the encoding the file was read in.
        echoFile.Write(EncodeConfigText(echo, tables.encoding));
        echoFile.Commit();
    }
    return result;
}

int ReadDataCfgWholly(const std::string& dataPath, const std::string& echoPath,
                      ConfigTables& tables, CurrentPlace& place, MessageSink& boxes,
                      TraceSink* console, std::string* openReason) {
    const InputFile data = OpenDataCfg(dataPath, boxes, openReason);
    if (!Opened(data)) return kReadOpenError;
    std::string echo;
    const int result = ReadWithEcho(data, tables, place, echo, boxes, console);
    if (result != kReadOk) return result;
    ReplacingFile echoFile;
    if (!echoFile.Create(echoPath, ".read_echo.cfg.", false)) {
        boxes.Show(echoPath, kCaptionFileOpenError);
        return kReadEchoOpenError;
    }
    echoFile.Write(EncodeConfigText(echo, tables.encoding));
    if (!echoFile.Commit()) {
        boxes.Show(echoPath, kCaptionFileOpenError);
        return kReadEchoOpenError;
    }
    return kReadOk;
}

std::uint64_t DataCfgDigest(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash == kUnreadableDigest ? 1 : hash;
}

std::uint64_t CurrentDataCfgDigest(const std::string& dataPath) {
    const InputFile data = ReadInputFile(dataPath);
    return data.ok() ? DataCfgDigest(data.bytes) : kUnreadableDigest;
}

}  // namespace orvano
