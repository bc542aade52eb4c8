#include "engine/timetable.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>

#include "astro/civil_date.h"

namespace orvano {

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

// One line's cells; a cell in double quotes may hold the separator, and ""
// inside it stands for one quote.
std::vector<std::string> SplitCells(std::string_view line, char separator) {
    std::vector<std::string> cells;
    std::string cell;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == separator) {
            cells.emplace_back(Trim(cell));
            cell.clear();
        } else {
            cell += c;
        }
    }
    cells.emplace_back(Trim(cell));
    return cells;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
            lines.push_back(text.substr(start, i - start));
            if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    return lines;
}

// A run of ASCII digits as a number, or nothing.
std::optional<int> Digits(std::string_view text, size_t minLength, size_t maxLength) {
    if (text.size() < minLength || text.size() > maxLength) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The years the solar formula is meant for.
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2100;

// YYYY-MM-DD (at full width) or DD/MM/YYYY (leading zeros optional); the
// reason it is refused otherwise.
std::optional<std::string> ParseDate(std::string_view text, TimetableDay& day) {
    const bool iso = text.size() == 10 && text[4] == '-' && text[7] == '-';
    const CivilText t = ParseCivilText(text, iso ? "%Y-%m-%d" : "%d/%m/%Y");
    if (t.fault == CivilTextFault::kShape || t.fault == CivilTextFault::kShortYear) {
        return "date \"" + std::string(text) + "\" is neither YYYY-MM-DD nor DD/MM/YYYY";
    }
    if (t.year < kFirstYear || t.year > kLastYear) {
        return "year " + std::to_string(t.year) + " lies outside " + std::to_string(kFirstYear) +
               ".." + std::to_string(kLastYear);
    }
    if (t.fault != CivilTextFault::kNone) return "no such date \"" + std::string(text) + "\"";
    day.year = t.year;
    day.month = t.month;
    day.day = t.day;
    return std::nullopt;
}

// HH:MM (or H:MM), 24-hour.
std::optional<int> ParseTime(std::string_view text) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const std::optional<int> h = Digits(text.substr(0, colon), 1, 2);
    const std::optional<int> m = Digits(text.substr(colon + 1), 2, 2);
    if (!h || !m || *h > 23 || *m > 59) return std::nullopt;
    return *h * 60 + *m;
}

constexpr const char* kPrayerNames[kPrayerCount] = {"Fajr", "Sunrise", "Dhuhr",
                                                    "Asr",  "Maghrib", "Isha"};

bool IsDateHeader(std::string_view cell) {
    const std::string lower = Lower(cell);
    return lower == "date" || lower == "day" || lower == "jour";
}

struct Columns {
    int date = -1;
    std::array<int, kPrayerCount> prayer{-1, -1, -1, -1, -1, -1};
};

bool ReadHeader(const std::vector<std::string>& cells, int line, Columns& columns,
                std::vector<std::string>& errors) {
    for (size_t i = 0; i < cells.size(); ++i) {
        const int column = static_cast<int>(i);
        const int prayer = PrayerColumn(cells[i]);
        if (prayer >= 0) {
            if (columns.prayer[static_cast<size_t>(prayer)] >= 0) {
                errors.push_back("line " + std::to_string(line) + ": two columns for " +
                                 kPrayerNames[prayer]);
                return false;
            }
            columns.prayer[static_cast<size_t>(prayer)] = column;
        } else if (columns.date < 0 && IsDateHeader(cells[i])) {
            columns.date = column;
        }
    }
    // Without a column named for it, the date is the first column that names no prayer.
    for (size_t i = 0; columns.date < 0 && i < cells.size(); ++i) {
        if (PrayerColumn(cells[i]) < 0) columns.date = static_cast<int>(i);
    }
    const bool anyPrayer =
        std::any_of(columns.prayer.begin(), columns.prayer.end(), [](int c) { return c >= 0; });
    if (columns.date < 0 || !anyPrayer) {
        errors.push_back("line " + std::to_string(line) +
                         ": the header must name a date column and at least one prayer");
        return false;
    }
    return true;
}

// One data line; the reason it cannot be used, if any.
std::optional<std::string> ReadDay(const std::vector<std::string>& cells, const Columns& columns,
                                   TimetableDay& day) {
    const auto cell = [&cells](int column) -> std::string_view {
        return static_cast<size_t>(column) < cells.size() ? cells[static_cast<size_t>(column)]
                                                          : std::string_view();
    };
    if (std::optional<std::string> bad = ParseDate(cell(columns.date), day)) return bad;
    int previous = -1;
    int previousPrayer = -1;
    for (int p = 0; p < kPrayerCount; ++p) {
        const int column = columns.prayer[static_cast<size_t>(p)];
        if (column < 0 || cell(column).empty()) continue;
        const std::optional<int> minutes = ParseTime(cell(column));
        if (!minutes) {
            return std::string(kPrayerNames[p]) + " \"" + std::string(cell(column)) +
                   "\" is not a time HH:MM";
        }
        if (*minutes < previous) {
            return std::string(kPrayerNames[p]) + " " + std::string(cell(column)) +
                   " comes before " + kPrayerNames[previousPrayer];
        }
        day.minutes[static_cast<size_t>(p)] = *minutes;
        previous = *minutes;
        previousPrayer = p;
    }
    return std::nullopt;
}

// Cells are split at tabs when the header has one, else at semicolons when it
// has one, else at commas.
char SeparatorOf(std::string_view header) {
    return header.find('\t') != std::string_view::npos  ? '\t'
           : header.find(';') != std::string_view::npos ? ';'
                                                        : ',';
}

// Which prayers the table gives, and whether enough days hold a time.
void Finish(const Columns& columns, Timetable& table, std::vector<std::string>& errors) {
    for (int p = 0; p < kPrayerCount; ++p) {
        table.given[static_cast<size_t>(p)] = columns.prayer[static_cast<size_t>(p)] >= 0;
    }
    const auto usable = std::count_if(table.days.begin(), table.days.end(), [](const auto& d) {
        return std::any_of(d.minutes.begin(), d.minutes.end(), [](int m) { return m != kNoTime; });
    });
    if (errors.empty() && usable < kMinTimetableDays) {
        errors.push_back("only " + std::to_string(usable) + " days with a time; at least " +
                         std::to_string(kMinTimetableDays) + " are needed");
    }
}

}  // namespace

int PrayerColumn(std::string_view header) {
    static const std::map<std::string, int> kNames = {
        {"fajr", Fajr},         {"subh", Fajr},       {"sobh", Fajr},      {"sunrise", Chourouk},
        {"chourouk", Chourouk}, {"shuruq", Chourouk}, {"lever", Chourouk}, {"dhuhr", Zuhr},
        {"zuhr", Zuhr},         {"dohr", Zuhr},       {"asr", Asr},        {"maghrib", Maghrib},
        {"maghreb", Maghrib},   {"isha", Isha},       {"icha", Isha}};
    const auto it = kNames.find(Lower(Trim(header)));
    return it == kNames.end() ? -1 : it->second;
}

bool ParseTimetable(std::string_view text, Timetable& table, std::vector<std::string>& errors) {
    table = Timetable{};
    errors.clear();
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    const std::vector<std::string_view> lines = SplitLines(text);

    Columns columns;
    char separator = ',';
    bool haveHeader = false;
    std::map<CivilDate, int> seen;  // date -> line
    for (size_t i = 0; i < lines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        if (Trim(lines[i]).empty()) continue;
        if (!haveHeader) {
            separator = SeparatorOf(lines[i]);
            if (!ReadHeader(SplitCells(lines[i], separator), line, columns, errors)) return false;
            haveHeader = true;
            continue;
        }
        TimetableDay day;
        day.line = line;
        if (std::optional<std::string> bad =
                ReadDay(SplitCells(lines[i], separator), columns, day)) {
            errors.push_back("line " + std::to_string(line) + ": " + *bad);
            continue;
        }
        const auto [it, fresh] = seen.emplace(CivilDateOf(day.year, day.month, day.day), line);
        if (!fresh) {
            errors.push_back("line " + std::to_string(line) + ": the same date as line " +
                             std::to_string(it->second));
            continue;
        }
        table.days.push_back(day);
    }
    if (!haveHeader) {
        errors.emplace_back("line 1: the file holds no header");
        return false;
    }
    Finish(columns, table, errors);
    return errors.empty();
}

}  // namespace orvano
