// orvano-cli fit: the convention that reproduces a mosque's timetable, and
// optionally its place in data.cfg.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "astro/json.h"
#include "cli/options.h"
#include "config/methods.h"
#include "config/reader.h"
#include "config/text_encoding.h"
#include "config/writer.h"
#include "engine/fit.h"
#include "fileio/safe_file.h"
#include "language/messages.h"
#include "platform/user_files.h"

namespace orvano::cli {

namespace {

constexpr const char* kPrayerNames[kPrayerCount] = {"Fajr", "Sunrise", "Dhuhr",
                                                    "Asr",  "Maghrib", "Isha"};
// A timetable is a page of text; anything larger is not one.
constexpr std::size_t kMaxTimetableBytes = 1 << 20;

class StderrBoxes final : public MessageSink {
  public:
    void Show(const std::string& text, const std::string& caption) override {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
};

Timetable ReadTimetable(const std::string& path) {
    const InputFile file = ReadInputFile(path, kMaxTimetableBytes);
    switch (file.status) {
        case InputFile::Status::Ok:
            break;
        case InputFile::Status::NotRegular:
            throw UsageError("option '--timetable': cannot read " + path + " (not a regular file)");
        case InputFile::Status::TooLarge:
            throw UsageError("option '--timetable': " + path + " is too large for a timetable");
        case InputFile::Status::OpenFailed:
            if (file.missing()) {
                throw UsageError("option '--timetable': cannot read " + path + " (no such file)");
            }
            [[fallthrough]];
        case InputFile::Status::ReadFailed:
            throw UsageError("option '--timetable': cannot read " + path);
    }
    Timetable table;
    std::vector<std::string> errors;
    if (!ParseTimetable(file.bytes, table, errors)) {
        for (const std::string& e : errors)
            std::fprintf(stderr, "%s: %s\n", path.c_str(), PrintableText(e).c_str());
        throw UsageError("the timetable " + path + " cannot be used; nothing was fitted");
    }
    return table;
}

std::string OneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string ConventionJson(const Convention& c) {
    return JsonObject()
        .add("name", c.Name)
        .add("fajrTwilightAngle", c.FajrTwilightAngle)
        .add("ishaTwilightAngle", c.IshaTwilightAngle)
        .add("sunriseSetAngle", c.SunriseSetAngle)
        .add("asrShafii", c.AsrShafii)
        .add("ishaIsMaghribPlus", c.Isha_is_Maghrib_plus)
        .add("ishaPlusMinutes", c.IshaPlusMinutes)
        .add("zuhrFixe", c.ZuhrFixe)
        .add("zuhrHour", c.ZuhrHour)
        .addRaw("addedMinutes", JsonArray(c.AddedMinutes, [](double m) { return JsonNumber(m); }))
        .str();
}

std::string Verdict(const FitResult& fit) {
    if (fit.reproduces) return "Every time of the table is reproduced within 1 minute.";
    if (fit.within2)
        return "Every time of the table is reproduced within 2 minutes, not all within 1.";
    return "No parameter set reproduces this table within 2 minutes; the best fit is shown.";
}

void PrintText(const FitResult& fit, const ConfigTables& tables, int town, const Timetable& table,
               const std::string& path) {
    const Town& t = tables.Towns[static_cast<size_t>(town)];
    const TimetableDay& first = table.days.front();
    const TimetableDay& last = table.days.back();
    std::printf("Timetable %s: %zu days, %04d-%02d-%02d to %04d-%02d-%02d\n", path.c_str(),
                table.days.size(), first.year, first.month, first.day, last.year, last.month,
                last.day);
    std::printf("Town %s, %s, starting from convention %d \"%s\"\n\n",
                PrintableText(t.Country).c_str(), PrintableText(t.Name).c_str(), t.Convention,
                PrintableText(fit.starting.Name).c_str());
    std::printf("%-8s %4s  %-16s %-16s %s\n", "Prayer", "days", "before mean/max", "after mean/max",
                "parameters");
    for (int p = 0; p < kPrayerCount; ++p) {
        const PrayerFit& f = fit.prayers[static_cast<size_t>(p)];
        if (!f.given) continue;
        std::printf("%-8s %4d  %5s / %-8d %5s / %-8d %s\n", kPrayerNames[p], f.days,
                    OneDecimal(f.meanBefore).c_str(), f.maxBefore, OneDecimal(f.meanAfter).c_str(),
                    f.maxAfter, f.parameters.c_str());
    }
    std::printf("\n%d parameter%s changed. %s\n", fit.changed, fit.changed == 1 ? "" : "s",
                Verdict(fit).c_str());
    if (fit.sameRulesAs >= 0) {
        std::printf(
            "The angles and rules are those of convention %d \"%s\"; only added minutes "
            "differ.\n",
            fit.sameRulesAs,
            PrintableText(tables.Conventions[static_cast<size_t>(fit.sameRulesAs)].Name).c_str());
    }
    for (const PrayerFit& f : fit.prayers) {
        if (!f.pattern.empty()) std::printf("%s\n", f.pattern.c_str());
    }
}

std::string PrayersJson(const FitResult& fit) {
    std::vector<int> given;
    for (int p = 0; p < kPrayerCount; ++p) {
        if (fit.prayers[static_cast<size_t>(p)].given) given.push_back(p);
    }
    return JsonArray(given, [&fit](int p) {
        const PrayerFit& f = fit.prayers[static_cast<size_t>(p)];
        JsonObject o;
        o.add("prayer", kPrayerNames[p])
            .add("days", f.days)
            .add("meanBefore", f.meanBefore)
            .add("maxBefore", f.maxBefore)
            .add("meanAfter", f.meanAfter)
            .add("maxAfter", f.maxAfter)
            .add("parameters", f.parameters);
        if (f.pattern.empty()) {
            o.addRaw("pattern", "null");
        } else {
            o.add("pattern", f.pattern);
        }
        return o.str();
    });
}

// The towns other than `town` that use convention `slot`.
std::vector<std::string> OtherUsers(const ConfigTables& tables, int town, int slot) {
    std::vector<std::string> names;
    for (size_t i = 0; i < tables.Towns.size(); ++i) {
        if (static_cast<int>(i) != town && tables.Towns[i].Convention == slot) {
            names.push_back(PrintableText(tables.Towns[i].Country + "/" + tables.Towns[i].Name));
        }
    }
    return names;
}

// Cuts a name to what data.cfg keeps, without splitting a UTF-8 character.
std::string ConventionName(std::string name) {
    size_t chars = 0;
    for (size_t i = 0; i < name.size(); ++i) {
        if ((static_cast<unsigned char>(name[i]) & 0xC0) != 0x80 && ++chars > kMaxTextChars) {
            name.resize(i);
            break;
        }
    }
    return name;
}

// Writes the fit into slot `slot` of the file and points the town at it. The
// file is read again whole so that everything else in it is written back as
// it was.
void Apply(const std::string& configPath, int town, int slot, const Convention& fitted,
           const std::string& name, bool force) {
    ConfigTables tables;
    CurrentPlace place;
    StderrBoxes boxes;
    // Held from this read to the write, so that a change another program
    // makes meanwhile is not written over.
    FileLock lock;
    if (!LockDataCfg(lock, configPath, boxes)) throw ConfigError("the fit was not applied");
    if (ReadDataCfg(configPath, "", tables, place, boxes, nullptr) != kReadOk) {
        throw ConfigError("cannot read " + configPath + " again to apply the fit");
    }
    if (town >= static_cast<int>(tables.Towns.size())) {
        throw UsageError("option '--apply': the town is not in " + configPath +
                         "; add it first with 'orvano-cli add'");
    }
    const std::vector<std::string> others = OtherUsers(tables, town, slot);
    if (!others.empty() && !force) {
        std::string list;
        for (const std::string& n : others) list += (list.empty() ? "" : ", ") + n;
        throw UsageError("option '--apply': convention " + std::to_string(slot) + " is used by " +
                         list + "; give --force to replace it for them too");
    }
    Convention& target = tables.Conventions[static_cast<size_t>(slot)];
    target = fitted;
    target.Name = ConventionName(name);
    tables.Towns[static_cast<size_t>(town)].Convention = slot;
    if (!WriteDataCfg(configPath, tables, boxes)) throw ConfigError("the fit was not applied");
}

// The catalogue method whose times come closest to the table: the largest
// share within a minute, then the smallest mean difference.
struct NearestMethod {
    const Method* method = nullptr;
    TableAgreement agreement;
};

NearestMethod FindNearestMethod(const MethodCatalogue& catalogue, const ConfigTables& tables,
                                int town, const Timetable& table) {
    NearestMethod nearest;
    for (const Method& m : catalogue.methods) {
        const std::optional<Convention> c = MethodAsConvention(m);
        if (!c) continue;
        const TableAgreement a = CompareWithTable(tables, town, table, *c);
        const bool better = nearest.method == nullptr || a.share() > nearest.agreement.share() ||
                            (a.share() == nearest.agreement.share() &&
                             a.meanMinutes < nearest.agreement.meanMinutes);
        if (better) nearest = {&m, a};
    }
    return nearest;
}

bool BetterFit(const FitResult& a, const FitResult& b) {
    if (a.reproduces != b.reproduces) return a.reproduces;
    if (a.within2 != b.within2) return a.within2;
    return a.changed < b.changed;
}

// The fit from the town's convention, or with --catalogue the best of the fits
// started from each method of the catalogue too; the method's id, or "".
std::pair<FitResult, std::string> BestFit(const ConfigTables& tables, int town,
                                          const Timetable& table,
                                          const MethodCatalogue* catalogue) {
    std::pair<FitResult, std::string> best{FitConvention(tables, town, table), ""};
    if (catalogue == nullptr) return best;
    const int slot = tables.Towns[static_cast<size_t>(town)].Convention;
    for (const Method& m : catalogue->methods) {
        std::optional<Convention> c = MethodAsConvention(m);
        if (!c || m.slot >= 0) continue;
        ConfigTables start = tables;
        start.Conventions[static_cast<size_t>(slot)] = std::move(*c);
        FitResult fit = FitConvention(start, town, table);
        if (BetterFit(fit, best.first)) best = {std::move(fit), m.id};
    }
    return best;
}

// Writes the fit as method `id` into the user's fitted.methods (replacing a
// method of that id there) and points the town at it.
std::string ApplyMethod(const std::string& configPath, int town, const std::string& id,
                        const Convention& fitted, const std::string& name,
                        const std::string& tablePath, const Timetable& table) {
    if (!MethodIdWellFormed(id) || SlotOfMethodId(id) >= 0) {
        throw UsageError(
            "option '--apply-method' needs a method id (lower-case letters, digits, "
            "'-' and '_', starting with a letter), not '" +
            id + "'");
    }
    Method m = MethodFromConvention(fitted);
    m.id = id;
    m.name = name;
    m.authority = "fitted by orvano-cli fit";
    const TimetableDay& first = table.days.front();
    const TimetableDay& last = table.days.back();
    char dates[64];
    std::snprintf(dates, sizeof dates, "%04d-%02d-%02d to %04d-%02d-%02d", first.year, first.month,
                  first.day, last.year, last.month, last.day);
    m.source = "fitted to " + std::filesystem::path(tablePath).filename().string() + ", " + dates;
    const std::string folder = MethodFoldersOf("").back();
    std::string path = folder + "/fitted.methods";
    // The file's other methods stay as they were.
    MethodCatalogue mine;
    const InputFile old = ReadInputFile(path);
    if (old.ok()) ReadMethodText(old.bytes, path, mine);
    if (!old.ok() && !old.missing()) throw ConfigError("cannot read " + path + ": " + old.Reason());
    if (!mine.problems.empty()) {
        throw ConfigError(path +
                          " has lines that cannot be read (orvano-cli methods names them); "
                          "nothing was applied");
    }
    std::string text = "# Methods written by orvano-cli fit --apply-method.\n";
    bool replaced = false;
    for (const Method& kept : mine.methods) {
        text += "\n" + MethodText(kept.id == id ? m : kept);
        replaced = replaced || kept.id == id;
    }
    if (!replaced) text += "\n" + MethodText(m);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    ReplacingFile file;
    if (!file.Create(path, ".fitted.methods.", true)) throw ConfigError("cannot write " + path);
    file.Write(text);
    if (!file.Commit()) throw ConfigError("cannot write " + path);

    ConfigTables tables;
    CurrentPlace place;
    StderrBoxes boxes;
    if (ReadDataCfg(configPath, "", tables, place, boxes, nullptr) != kReadOk) {
        throw ConfigError("cannot read " + configPath + " again to apply the fit");
    }
    tables.Towns[static_cast<size_t>(town)].Method = id;
    if (!WriteDataCfg(configPath, tables, boxes)) throw ConfigError("the fit was not applied");
    return path;
}

void AddMethodsJson(JsonObject& o, const std::string& startMethod, const NearestMethod& nearest,
                    const std::optional<std::string>& methodId, const std::string& methodFile) {
    if (startMethod.empty()) {
        o.addRaw("startMethod", "null");
    } else {
        o.add("startMethod", startMethod);
    }
    if (nearest.method == nullptr) {
        o.addRaw("nearestMethod", "null");
    } else {
        o.addRaw("nearestMethod", JsonObject()
                                      .add("id", nearest.method->id)
                                      .add("name", nearest.method->name)
                                      .add("times", nearest.agreement.times)
                                      .add("within1", nearest.agreement.within)
                                      .add("meanMinutes", nearest.agreement.meanMinutes)
                                      .str());
    }
    if (methodId) {
        o.addRaw("appliedMethod", JsonObject().add("id", *methodId).add("file", methodFile).str());
    } else {
        o.addRaw("appliedMethod", "null");
    }
}

void PrintMethodsText(const std::string& startMethod, const NearestMethod& nearest,
                      const std::optional<std::string>& methodId, const std::string& methodFile) {
    if (!startMethod.empty()) {
        std::printf("The fit started from the catalogue's method %s.\n", startMethod.c_str());
    }
    if (nearest.method != nullptr) {
        std::printf(
            "Nearest method of the catalogue: %s \"%s\", %s %% of the times within 1 "
            "minute (mean %s min).\n",
            nearest.method->id.c_str(), PrintableText(nearest.method->name).c_str(),
            OneDecimal(100.0 * nearest.agreement.share()).c_str(),
            OneDecimal(nearest.agreement.meanMinutes).c_str());
    }
    if (methodId) {
        std::printf("Written as method %s in %s; the town now uses it.\n", methodId->c_str(),
                    PrintableText(methodFile).c_str());
    }
}

int RunFit(const Options& options) {
    const auto& path = options.timetable;
    if (!path) throw UsageError("fit needs --timetable FILE");
    const auto& slot = options.apply;
    if (options.name && !slot && !options.applyMethod) {
        throw UsageError("option '--name' goes with --apply");
    }
    // Stored as it is, a stray byte would make every reader take the whole
    // file as Windows-1252 and garble every other name in it.
    if (!IsValidUtf8(options.name.value_or(""))) {
        throw UsageError("option '--name' is not valid UTF-8 text");
    }
    const Timetable table = ReadTimetable(*path);

    EngineState state;
    ResolvePlace(options, state);
    const int town = state.tables.TownSelected;
    if (town < 0 || town >= static_cast<int>(state.tables.Towns.size())) {
        throw ConfigError("the configuration holds no town to fit");
    }
    const MethodCatalogue catalogue = FullCatalogue(MethodFolders(), state.tables);
    const auto [fit, startMethod] =
        BestFit(state.tables, town, table, options.catalogue ? &catalogue : nullptr);
    const NearestMethod nearest = FindNearestMethod(catalogue, state.tables, town, table);

    const auto& methodId = options.applyMethod;
    if (methodId && slot) throw UsageError("option '--apply-method' goes without --apply");
    std::string appliedName;
    std::string methodFile;
    if (methodId) {
        appliedName =
            options.name.value_or("Fitted " + std::filesystem::path(*path).filename().string());
        methodFile = ApplyMethod(ConfigOption(options), town, *methodId, fit.fitted, appliedName,
                                 *path, table);
    }
    if (slot) {
        appliedName =
            options.name.value_or("Fitted " + std::filesystem::path(*path).filename().string());
        Apply(ConfigOption(options), town, static_cast<int>(*slot), fit.fitted, appliedName,
              options.force);
    }

    if (options.json) {
        JsonObject o;
        o.add("timetable", *path)
            .add("days", static_cast<int>(table.days.size()))
            .add("town", town)
            .add("startingConvention", state.tables.Towns[static_cast<size_t>(town)].Convention)
            .add("changed", fit.changed)
            .add("reproduces", fit.reproduces)
            .add("within2", fit.within2);
        if (fit.sameRulesAs >= 0) {
            o.add("sameRulesAs", fit.sameRulesAs);
        } else {
            o.addRaw("sameRulesAs", "null");
        }
        o.addRaw("prayers", PrayersJson(fit)).addRaw("fitted", ConventionJson(fit.fitted));
        if (slot) {
            o.addRaw(
                "applied",
                JsonObject().add("slot", static_cast<int>(*slot)).add("name", appliedName).str());
        } else {
            o.addRaw("applied", "null");
        }
        AddMethodsJson(o, startMethod, nearest, methodId, methodFile);
        std::printf("%s\n", o.str().c_str());
    } else {
        PrintText(fit, state.tables, town, table, *path);
        if (slot) {
            std::printf("Written as convention %ld \"%s\"; the town now uses it.\n", *slot,
                        PrintableText(ConventionName(appliedName)).c_str());
        }
        PrintMethodsText(startMethod, nearest, methodId, methodFile);
    }
    return 0;
}

}  // namespace

Command FitCommand() {
    return {
        "fit", N_("Find the convention that reproduces a mosque's timetable"),
        WithFilePlace({
            TextOption("timetable", "FILE", "The mosque's timetable to fit (required)",
                       &Options::timetable),
            JsonOption("Print one JSON object"),
            WholeOption("apply", "SLOT", "Write the fitted convention into this slot of data.cfg",
                        &Options::apply, 0, kConventionCount - 1),
            TextOption("name", "TEXT", "The name of the applied convention (with --apply)",
                       &Options::name),
            FlagOption("force", "Replace a convention that other towns use", &Options::force),
            FlagOption("catalogue", "Also start the fit from each method of the catalogue",
                       &Options::catalogue),
            TextOption("apply-method", "ID",
                       "Write the fit as method ID in ~/.config/orvano/methods/fitted.methods "
                       "and point the town at it",
                       &Options::applyMethod),
        }),
        RunFit};
}

}  // namespace orvano::cli
