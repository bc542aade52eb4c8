#include "platform/file_settings.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "fileio/safe_file.h"
#include "platform/user_files.h"

namespace orvano {

namespace {

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

std::optional<Document> Load(const std::string& file) {
    Document doc;
    const InputFile input = ReadInputFile(file);
    if (input.missing()) return doc;  // no file: no keys
    if (!input.ok()) return std::nullopt;
    std::istringstream in(input.bytes);
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

bool Save(const std::string& file, const Document& doc) {
    std::ostringstream out;
    for (const auto& line : doc.preamble) out << line.text << '\n';
    for (const auto& section : doc.sections) {
        out << '[' << section.path << "]\n";
        for (const auto& line : section.lines) out << line.text << '\n';
    }
    const std::string content = out.str();

    const std::filesystem::path target(file);
    std::error_code ec;
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);
    // Renamed over the target once complete, so a reader never sees half a file.
    ReplacingFile replacing;
    if (!replacing.Create(file, "", true)) return false;
    replacing.Write(content);
    return replacing.Commit();
}

Section* FindSection(Document& doc, const std::string& path) {
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

class FileSettingsKey final : public SettingsKey {
  public:
    FileSettingsKey(std::string file, std::string path)
        : file_(std::move(file)), path_(std::move(path)) {}

    std::optional<std::vector<std::uint8_t>> ReadRaw(const std::string& name) override {
        auto doc = Load(file_);
        if (!doc) return std::nullopt;
        Section* section = FindSection(*doc, path_);
        if (section == nullptr) return std::nullopt;
        for (const auto& line : section->lines) {
            if (!line.name.empty() && SameName(line.name, name)) return ParseBytes(line.text);
        }
        return std::nullopt;
    }

    bool WriteRaw(const std::string& name, const std::vector<std::uint8_t>& bytes) override {
        if (!ValidName(name)) return false;
        auto doc = Load(file_);
        if (!doc) return false;
        Section* section = FindSection(*doc, path_);
        // The key was deleted since it was opened: writing would silently create it again.
        if (section == nullptr) return false;
        const std::string text = FormatBytes(name, bytes);
        bool replaced = false;
        for (auto& line : section->lines) {
            if (!line.name.empty() && SameName(line.name, name)) {
                line = Line{name, text};
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            // Before any trailing blank lines, so sections stay visually apart.
            auto at = section->lines.end();
            while (at != section->lines.begin() && Trim((at - 1)->text).empty()) --at;
            section->lines.insert(at, Line{name, text});
        }
        return Save(file_, *doc);
    }

  private:
    std::string file_;
    std::string path_;
};

}  // namespace

FileSettingsStore::FileSettingsStore(std::string path) : path_(std::move(path)) {}

std::unique_ptr<SettingsKey> FileSettingsStore::OpenKey(const std::string& path) {
    auto doc = Load(path_);
    if (!doc || FindSection(*doc, path) == nullptr) return nullptr;
    return std::make_unique<FileSettingsKey>(path_, path);
}

bool FileSettingsStore::CreateKey(const std::string& path) {
    if (!ValidPath(path)) return false;
    auto doc = Load(path_);
    if (!doc) return false;
    if (FindSection(*doc, path) != nullptr) return true;
    doc->sections.push_back(Section{path, {}});
    return Save(path_, *doc);
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
