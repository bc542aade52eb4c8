// Every `#include "layer/..."` line and every CMake link of a layer against the
// ranked table in README.md: a layer uses only itself and the layers the table
// lists for it, all ranked below it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Layer {
    int rank = 0;
    std::set<std::string> uses;
    std::set<std::string> targets;
};

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::set<std::string> Backticked(const std::string& cell) {
    std::set<std::string> names;
    const std::regex name("`([^`]+)`");
    for (std::sregex_iterator it(cell.begin(), cell.end(), name), end; it != end; ++it) {
        names.insert((*it)[1]);
    }
    return names;
}

std::set<std::string> Words(const std::string& cell) {
    std::set<std::string> words;
    const std::regex word("[a-z_]+");
    for (std::sregex_iterator it(cell.begin(), cell.end(), word), end; it != end; ++it) {
        words.insert(it->str());
    }
    return words;
}

// The rows "| rank | `layer` | uses | targets | what |" of README.md.
std::map<std::string, Layer> LayerTable() {
    std::map<std::string, Layer> layers;
    std::istringstream readme(ReadText(fs::path(ORVANO_SOURCE_DIR) / "README.md"));
    const std::regex row(R"(^\| (\d+) \| `([a-z_]+)` \|([^|]*)\|([^|]*)\|.*)");
    std::string line;
    std::smatch m;
    while (std::getline(readme, line)) {
        if (!std::regex_match(line, m, row)) continue;
        Layer& layer = layers[m[2]];
        layer.rank = std::stoi(m[1]);
        layer.uses = Words(m[3]);
        layer.targets = Backticked(m[4]);
    }
    return layers;
}

std::vector<fs::path> SourcesUnder(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const auto ext = entry.path().extension();
        if (entry.is_regular_file() && (ext == ".cpp" || ext == ".h"))
            files.push_back(entry.path());
    }
    return files;
}

// The first folder of every quoted include of the file.
std::vector<std::string> IncludedFolders(const fs::path& file) {
    std::vector<std::string> folders;
    std::istringstream text(ReadText(file));
    const std::regex include(R"(^\s*#\s*include\s*"([A-Za-z_]+)/)");
    std::string line;
    std::smatch m;
    while (std::getline(text, line)) {
        if (std::regex_search(line, m, include)) folders.push_back(m[1]);
    }
    return folders;
}

class Layers : public ::testing::Test {
  protected:
    const std::map<std::string, Layer> table = LayerTable();
};

TEST_F(Layers, TableRanksTheLayersAndEachUsesOnlyLowerOnes) {
    ASSERT_EQ(table.size(), 13u);
    for (const auto& [name, layer] : table) {
        EXPECT_TRUE(fs::is_directory(fs::path(ORVANO_SOURCE_DIR) / name)) << name;
        for (const std::string& used : layer.uses) {
            ASSERT_EQ(table.count(used), 1u) << name << " uses unknown " << used;
            EXPECT_LT(table.at(used).rank, layer.rank) << name << " uses " << used;
        }
    }
    for (const char* core : {"fileio", "astro", "config", "engine", "calendar"}) {
        EXPECT_LT(table.at(core).rank, table.at("platform").rank) << core;
    }
}

TEST_F(Layers, EveryIncludeStaysWithinItsLayerAndTheLayersItUses) {
    int includes = 0;
    for (const auto& [name, layer] : table) {
        for (const fs::path& file : SourcesUnder(fs::path(ORVANO_SOURCE_DIR) / name)) {
            for (const std::string& folder : IncludedFolders(file)) {
                ++includes;
                EXPECT_TRUE(folder == name || layer.uses.count(folder) == 1)
                    << file.string() << " includes " << folder << "/";
            }
        }
    }
    EXPECT_GT(includes, 300);
}

TEST_F(Layers, RecordingDoublesUseOnlyThePlatform) {
    for (const fs::path& file : SourcesUnder(fs::path(ORVANO_SOURCE_DIR) / "tests" / "support")) {
        for (const std::string& folder : IncludedFolders(file)) {
            EXPECT_TRUE(folder == "platform" || folder == "config" || folder == "fileio" ||
                        folder == "tests")
                << file.string() << " " << folder;
        }
    }
}

// The targets named in a CMakeLists.txt's target_link_libraries calls.
std::set<std::string> LinkedTargets(const fs::path& cmakeLists) {
    std::set<std::string> linked;
    const std::string text = ReadText(cmakeLists);
    const std::regex call(R"(target_link_libraries\(\s*[^\s)]+([^)]*)\))");
    const std::regex token(R"([A-Za-z0-9_:-]+)");
    for (std::sregex_iterator it(text.begin(), text.end(), call), end; it != end; ++it) {
        const std::string args = (*it)[1];
        for (std::sregex_iterator t(args.begin(), args.end(), token); t != end; ++t) {
            linked.insert(t->str());
        }
    }
    return linked;
}

TEST_F(Layers, EachLayerLinksExactlyTheLayersItUses) {
    std::map<std::string, std::string> layerOfTarget;
    for (const auto& [name, layer] : table) {
        for (const std::string& target : layer.targets) layerOfTarget[target] = name;
    }
    for (const auto& [name, layer] : table) {
        std::set<std::string> linkedLayers;
        for (const auto& entry :
             fs::recursive_directory_iterator(fs::path(ORVANO_SOURCE_DIR) / name)) {
            if (entry.path().filename() != "CMakeLists.txt") continue;
            for (const std::string& target : LinkedTargets(entry.path())) {
                const auto found = layerOfTarget.find(target);
                if (found != layerOfTarget.end() && found->second != name) {
                    linkedLayers.insert(found->second);
                }
            }
        }
        EXPECT_EQ(linkedLayers, layer.uses) << name;
    }
}

}  // namespace
