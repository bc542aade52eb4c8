#include "cli/town_match.h"

#include "astro/plain_number.h"
#include "cli/options.h"
#include "places/text_key.h"

namespace orvano::cli {

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
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
    return FoldLetters(name);
}

std::string QualifiedName(const Town& town) {
    return town.Country + "/" + town.Name;
}

int FindTown(const std::vector<Town>& towns, const std::string& text) {
    const long last = static_cast<long>(towns.size()) - 1;
    if (IsPlainInteger(text)) {
        const auto index = PlainInteger(text, 0, last);
        if (!index) {
            throw UsageError("option '--town' needs a town index from 0 to " +
                             std::to_string(last) + " or a name, not '" + text + "'");
        }
        return static_cast<int>(*index);
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
        throw NoSuchTown(message);
    }
    throw UsageError("option '--town': '" + text + "' could be " + CandidateList(towns, found) +
                     "; give Country/Name or the index");
}

}  // namespace orvano::cli
