#include "platform/file_settings.h"

#include <sys/stat.h>
#include <time.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <system_error>
#include <vector>

#include "fileio/file_lock.h"
#include "fileio/kept_file.h"
#include "fileio/safe_file.h"
#include "platform/user_files.h"

namespace orvano {

// The file's lines as read, kept so that a write changes only its own line.
namespace ini {

struct Line {
    std::string name;  // empty for comments and blank lines
    std::string text;  // the whole line as written
};

struct Section {
    std::string path;
    std::vector<Line> lines;
};

struct Document {
    std::vector<Line> preamble;  // lines before the first section
    std::vector<Section> sections;
};

// What tells one version of the file from the next without reading it.
struct Identity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const Identity& o) const {
        return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
               changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
    }
};

}  // namespace ini

namespace {

using ini::Document;
using ini::Identity;
using ini::Line;
using ini::Section;

std::string Trim(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

// Key paths and value names compare without regard to ASCII case, as registry names do.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool ValidPath(const std::string& path) {
    if (path.empty() || path != Trim(path)) return false;
    for (char c : path) {
        if (c == '[' || c == ']' || c == '\n' || c == '\r') return false;
    }
    return true;
}

bool ValidName(const std::string& name) {
    if (name.empty() || name != Trim(name) || name[0] == ';' || name[0] == '#' || name[0] == '[')
        return false;
    for (char c : name) {
        if (c == '=' || c == '\n' || c == '\r') return false;
    }
    return true;
}

// A settings file is a few hundred bytes; a larger one is no settings file,
// and reading it at every paint would cost the strip its speed.
constexpr std::size_t kMaxSettingsBytes = std::size_t{1} << 20;

Document Parse(const std::string& bytes) {
    Document doc;
    std::istringstream in(bytes);
    std::string raw;
    while (std::getline(in, raw)) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const std::string text = Trim(raw);
        if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
            doc.sections.push_back(Section{Trim(text.substr(1, text.size() - 2)), {}});
            continue;
        }
        Line line{{}, raw};
        if (!text.empty() && text[0] != ';' && text[0] != '#') {
            const auto eq = text.find('=');
            if (eq != std::string::npos) line.name = Trim(text.substr(0, eq));
        }
        if (doc.sections.empty()) {
            doc.preamble.push_back(line);
        } else {
            doc.sections.back().lines.push_back(line);
        }
    }
    return doc;
}

std::string Serialize(const Document& doc) {
    std::ostringstream out;
    for (const auto& line : doc.preamble) out << line.text << '\n';
    for (const auto& section : doc.sections) {
        out << '[' << section.path << "]\n";
        for (const auto& line : section.lines) out << line.text << '\n';
    }
    return out.str();
}

Identity IdentityOf(const std::string& file) {
    Identity id;
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) return id;
    id.exists = true;
    id.device = info.st_dev;
    id.inode = info.st_ino;
    id.size = info.st_size;
    id.modified = info.st_mtim;
    id.changed = info.st_ctim;
    return id;
}

}  // namespace

// The file as last read: read again only when it has changed, so that values
// another process writes are seen and an unchanged file costs one stat. One
// store (and its keys) serves one thread, as the stores always have.
class SettingsFile {
  public:
    explicit SettingsFile(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }

    // The document, or nothing when the file cannot be used and never could.
    const std::optional<Document>& Current() {
        const Identity id = IdentityOf(path_);
        if (seen_ && *seen_ == id && Settled(id)) return doc_;
        const bool reported = seen_ && *seen_ == id;
        seen_ = id;
        bool tooLarge = false;
        std::optional<Document> loaded = Load(tooLarge);
        if (tooLarge) {
            // As for any file that cannot be used, but what was read before stays.
            if (!reported) {
                std::fprintf(stderr,
                             "orvano: %s is larger than 1 MB and was not read; the settings read "
                             "before stay\n",
                             path_.c_str());
            }
            return doc_;
        }
        doc_ = std::move(loaded);
        return doc_;
    }

    // Reads the file afresh under the settings lock, lets `change` alter it and
    // writes it back; false when any step fails or `change` refuses.
    bool Update(const std::function<bool(Document&)>& change) {
        const std::filesystem::path target(path_);
        std::error_code ec;
        if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);
        FileLock lock;
        if (!lock.Acquire(path_)) return false;
        bool tooLarge = false;
        std::optional<Document> doc = Load(tooLarge);
        if (!doc || !change(*doc)) return false;
        // Renamed over the target once complete, so a reader never sees half a file.
        if (!ReplaceKeptFile(path_, Serialize(*doc), ".")) return false;
        seen_ = IdentityOf(path_);
        doc_ = std::move(doc);
        return true;
    }

  private:
    // File times advance in clock ticks of a few milliseconds: a file written
    // again in place within one tick, to the same size, looks unchanged. Only
    // a file left alone for a while is taken as unchanged by its looks.
    static bool Settled(const Identity& id) {
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        return !id.exists || now.tv_sec - id.changed.tv_sec >= 2;
    }

    std::optional<Document> Load(bool& tooLarge) const {
        const InputFile input = ReadInputFile(path_, kMaxSettingsBytes);
        tooLarge = input.status == InputFile::Status::TooLarge;
        if (input.missing()) return Document{};  // no file: no keys
        if (!input.ok()) return std::nullopt;
        return Parse(input.bytes);
    }

    std::string path_;
    std::optional<ini::Document> doc_;
    std::optional<ini::Identity> seen_;
};

namespace {

template <typename Doc>
auto FindSection(Doc& doc, const std::string& path) -> decltype(&doc.sections.front()) {
    for (auto& section : doc.sections) {
        if (SameName(section.path, path)) return &section;
    }
    return nullptr;
}

std::optional<std::vector<std::uint8_t>> ParseBytes(const std::string& line) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) return std::nullopt;
    const std::string value = Trim(line.substr(eq + 1));
    if (value.rfind("hex:", 0) != 0) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::string rest = value.substr(4);
    if (Trim(rest).empty()) return bytes;
    std::istringstream items(rest);
    std::string item;
    while (std::getline(items, item, ',')) {
        item = Trim(item);
        if (item.empty() || item.size() > 2) return std::nullopt;
        for (char c : item) {
            if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(item, nullptr, 16)));
    }
    return bytes;
}

std::string FormatBytes(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::string text = name + "=hex:";
    char hex[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
        if (i > 0) text += ',';
        text += hex;
    }
    return text;
}

// Replaces the value's line, or adds one for a new value.
void SetValue(Section& section, const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string text = FormatBytes(name, bytes);
    for (auto& line : section.lines) {
        if (!line.name.empty() && SameName(line.name, name)) {
            line = Line{name, text};
            return;
        }
    }
    // Before any trailing blank lines, so sections stay visually apart.
    auto at = section.lines.end();
    while (at != section.lines.begin() && Trim((at - 1)->text).empty()) --at;
    section.lines.insert(at, Line{name, text});
}

class FileSettingsKey final : public SettingsKey {
  public:
    FileSettingsKey(std::shared_ptr<SettingsFile> file, std::string path)
        : file_(std::move(file)), path_(std::move(path)) {}

    std::optional<std::vector<std::uint8_t>> ReadRaw(const std::string& name) override {
        const std::optional<Document>& doc = file_->Current();
        if (!doc) return std::nullopt;
        const Section* section = FindSection(*doc, path_);
        if (section == nullptr) return std::nullopt;
        for (const auto& line : section->lines) {
            if (!line.name.empty() && SameName(line.name, name)) return ParseBytes(line.text);
        }
        return std::nullopt;
    }

    bool WriteRaw(const std::string& name, const std::vector<std::uint8_t>& bytes) override {
        if (!ValidName(name)) return false;
        return file_->Update([&](Document& doc) {
            Section* section = FindSection(doc, path_);
            // The key was deleted since it was opened: writing would silently create it again.
            if (section == nullptr) return false;
            SetValue(*section, name, bytes);
            return true;
        });
    }

  private:
    std::shared_ptr<SettingsFile> file_;
    std::string path_;
};

}  // namespace

FileSettingsStore::FileSettingsStore(std::string path)
    : file_(std::make_shared<SettingsFile>(std::move(path))) {}

FileSettingsStore::~FileSettingsStore() = default;

const std::string& FileSettingsStore::path() const {
    return file_->path();
}

std::unique_ptr<SettingsKey> FileSettingsStore::OpenKey(const std::string& path) {
    const std::optional<Document>& doc = file_->Current();
    if (!doc || FindSection(*doc, path) == nullptr) return nullptr;
    return std::make_unique<FileSettingsKey>(file_, path);
}

bool FileSettingsStore::CreateKey(const std::string& path) {
    if (!ValidPath(path)) return false;
    const std::optional<Document>& doc = file_->Current();
    if (doc && FindSection(*doc, path) != nullptr) return true;
    return file_->Update([&](Document& fresh) {
        if (FindSection(fresh, path) == nullptr) fresh.sections.push_back(Section{path, {}});
        return true;
    });
}

bool FileSettingsStore::WriteTexts(const std::vector<TextSetting>& texts) {
    for (const TextSetting& setting : texts) {
        if (!ValidPath(setting.key) || !ValidName(setting.name)) return false;
    }
    return file_->Update([&](Document& doc) {
        for (const TextSetting& setting : texts) {
            Section* section = FindSection(doc, setting.key);
            if (section == nullptr) section = &doc.sections.emplace_back(Section{setting.key, {}});
            SetValue(*section, setting.name, {setting.text.begin(), setting.text.end()});
        }
        return true;
    });
}

std::string DefaultSettingsPath() {
    std::filesystem::path base;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        base = config;
    } else {
        base = std::filesystem::path(HomeFolder()) / ".config";
    }
    return (base / "orvano" / "settings.ini").string();
}

}  // namespace orvano
