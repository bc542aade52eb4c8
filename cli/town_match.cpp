#include "cli/town_match.h"

#include <unicase.h>
#include <unictype.h>
#include <uninorm.h>
#include <unistr.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "cli/options.h"

namespace orvano::cli {

namespace {

std::string AsciiLower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool IsIndex(const std::string& text) {
    if (text.empty()) return false;
    size_t i = text[0] == '-' || text[0] == '+' ? 1 : 0;
    if (i == text.size()) return false;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    return true;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Letters that carry their stroke or ligature in the letter itself rather
// than as a mark, and so survive decomposition: written as people type them.
const char* PlainLetters(ucs4_t c) {
    switch (c) {
        case 0x00E6:
            return "ae";  // æ
        case 0x00F0:
            return "d";  // ð
        case 0x00F8:
            return "o";  // ø
        case 0x00FE:
            return "th";  // þ
        case 0x0111:
            return "d";  // đ
        case 0x0127:
            return "h";  // ħ
        case 0x0131:
            return "i";  // ı
        case 0x0142:
            return "l";  // ł
        case 0x0153:
            return "oe";  // œ
        default:
            return nullptr;
    }
}

struct Match {
    std::vector<int> exact;
    std::vector<int> prefix;
};

// The towns whose key equals `key`, or else starts with it.
Match MatchKeys(const std::vector<int>& among, const std::vector<std::string>& keys,
                const std::string& key) {
    Match m;
    for (int i : among) {
        const std::string& k = keys[static_cast<size_t>(i)];
        if (k == key) {
            m.exact.push_back(i);
        } else if (StartsWith(k, key)) {
            m.prefix.push_back(i);
        }
    }
    return m;
}

const std::vector<int>& Chosen(const Match& m) {
    return m.exact.empty() ? m.prefix : m.exact;
}

std::string CandidateList(const std::vector<Town>& towns, const std::vector<int>& which) {
    std::string list;
    constexpr size_t kShown = 10;
    for (size_t n = 0; n < which.size() && n < kShown; ++n) {
        const int i = which[n];
        if (!list.empty()) list += ", ";
        list += PrintableText(QualifiedName(towns[static_cast<size_t>(i)])) + " (" +
                std::to_string(i) + ")";
    }
    if (which.size() > kShown) list += " and " + std::to_string(which.size() - kShown) + " more";
    return list;
}

}  // namespace

std::string NameKey(const std::string& name) {
    const auto* in = reinterpret_cast<const uint8_t*>(name.data());
    // Case folding with decomposition leaves each accent as a mark of its own,
    // which is then dropped.
    size_t length = 0;
    uint8_t* folded = u8_casefold(in, name.size(), nullptr, UNINORM_NFD, nullptr, &length);
    if (folded == nullptr) return AsciiLower(name);  // not UTF-8: compare the bytes
    std::unique_ptr<uint8_t, decltype(&std::free)> owned(folded, &std::free);
    std::string key;
    key.reserve(length);
    const uint8_t* p = folded;
    const uint8_t* const end = folded + length;
    while (p < end) {
        ucs4_t c = 0;
        const int n = u8_mbtouc(&c, p, static_cast<size_t>(end - p));
        if (n <= 0) break;
        if (!uc_is_general_category(c, UC_CATEGORY_Mn)) {
            if (c == '_') {
                key += ' ';
            } else if (const char* plain = PlainLetters(c)) {
                key += plain;
            } else {
                key.append(reinterpret_cast<const char*>(p), static_cast<size_t>(n));
            }
        }
        p += n;
    }
    return key;
}

std::string QualifiedName(const Town& town) {
    return town.Country + "/" + town.Name;
}

int FindTown(const std::vector<Town>& towns, const std::string& text) {
    const long last = static_cast<long>(towns.size()) - 1;
    if (IsIndex(text)) {
        errno = 0;
        char* end = nullptr;
        const long index = std::strtol(text.c_str(), &end, 10);
        if (errno != 0 || index < 0 || index > last) {
            throw UsageError("option '--town' needs a town index from 0 to " +
                             std::to_string(last) + " or a name, not '" + text + "'");
        }
        return static_cast<int>(index);
    }

    std::vector<std::string> names, countries;
    std::vector<int> all;
    for (size_t i = 0; i < towns.size(); ++i) {
        names.push_back(NameKey(towns[i].Name));
        countries.push_back(NameKey(towns[i].Country));
        all.push_back(static_cast<int>(i));
    }
    std::vector<int> among = all;
    std::string nameText = text;
    const size_t slash = text.find('/');
    if (slash != std::string::npos) {
        among = Chosen(MatchKeys(all, countries, NameKey(text.substr(0, slash))));
        nameText = text.substr(slash + 1);
    }
    const std::string key = NameKey(nameText);
    const std::vector<int> found =
        key.empty() ? std::vector<int>{} : Chosen(MatchKeys(among, names, key));
    if (found.size() == 1) return found.front();
    if (found.empty()) {
        // What contains the text is the likeliest meant.
        std::vector<int> near;
        for (int i : all) {
            if (!key.empty() && names[static_cast<size_t>(i)].find(key) != std::string::npos)
                near.push_back(i);
        }
        std::string message = "option '--town': no town is named '" + text + "'";
        message += near.empty() ? "; 'orvano-cli towns' lists them"
                                : "; did you mean " + CandidateList(towns, near) + "?";
        throw UsageError(message);
    }
    throw UsageError("option '--town': '" + text + "' could be " + CandidateList(towns, found) +
                     "; give Country/Name or the index");
}

}  // namespace orvano::cli
