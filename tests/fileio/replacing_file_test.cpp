// Replacing a file, or making it only while nothing has its name: whatever is
// there decides, and no temporary file is left behind either way.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "fileio/safe_file.h"
#include "tests/support/temp_folder.h"

namespace orvano {
namespace {

namespace fs = std::filesystem;

TEST(ReplacingFile, CommitReplacesAndCommitNewNeverDoes) {
    enum class There { Nothing, File, DanglingLink };
    const struct {
        const char* name;
        There there;
        bool onlyNew;
        bool committed;
        const char* content;  // of the target afterwards; nullptr: a link still
    } cases[] = {
        {"replace nothing", There::Nothing, false, true, "new"},
        {"replace a file", There::File, false, true, "new"},
        {"make where nothing is", There::Nothing, true, true, "new"},
        {"make over a file", There::File, true, false, "old"},
        {"make over a dangling link", There::DanglingLink, true, false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::TempFolder dir;
        const std::string target = dir / "data.cfg";
        if (c.there == There::File) testing::WriteFile(target, "old");
        if (c.there == There::DanglingLink) fs::create_symlink(dir / "nowhere", target);

        ReplacingFile file;
        ASSERT_TRUE(file.Create(target, "", true));
        file.Write("new");
        errno = 0;
        EXPECT_EQ(c.onlyNew ? file.CommitNew(0600) : file.Commit(0600), c.committed);
        if (!c.committed) {
            EXPECT_EQ(errno, EEXIST);
        }
        if (c.content != nullptr) {
            EXPECT_EQ(testing::ReadFile(target), c.content);
        } else {
            EXPECT_TRUE(fs::is_symlink(target));
            EXPECT_FALSE(fs::exists(dir / "nowhere"));
        }
        if (c.committed) {
            EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
                      fs::perms::owner_read | fs::perms::owner_write);
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);
    }
}

}  // namespace
}  // namespace orvano
