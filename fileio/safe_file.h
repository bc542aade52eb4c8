// Reading and replacing the files a user can point the programs at. Any path
// may name a FIFO (an open that waits for a writer forever), a device that
// never ends, a sparse file of gigabytes, or a link planted by someone else;
// every reader and writer of the programs goes through here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvano {

// No file the programs read is anywhere near this; it stops endless sources.
inline constexpr std::size_t kMaxInputFileBytes = std::size_t{64} << 20;

struct InputFile {
    enum class Status {
        Ok,
        OpenFailed,  // `error` holds errno (ENOENT for a missing file)
        NotRegular,  // a folder, FIFO, device or socket
        TooLarge,    // more than the limit; `bytes` holds the limit and one byte more
        ReadFailed,  // `error` holds errno
    };
    Status status = Status::OpenFailed;
    int error = 0;
    std::string bytes;

    bool ok() const { return status == Status::Ok; }
    // Whether nothing exists at the path (as opposed to something unreadable).
    bool missing() const;
    // Why the file could not be read, for a user: "not a regular file", the
    // system's text for the error, or the size limit.
    std::string Reason() const;
};

// Whether a link at the path itself is followed: the files a user keeps may be
// links of the user's own; the program's own files never are (a link planted
// there is refused with ELOOP).
enum class Links { Follow, Refuse };

// Opens without ever blocking, refuses what is not a regular file, and reads at
// most `maxBytes` (so a huge or endless file costs that much and no more).
InputFile ReadInputFile(const std::string& path, std::size_t maxBytes = kMaxInputFileBytes,
                        Links links = Links::Follow);

// Opens a regular file for appending, creating it when missing; never blocks
// on a FIFO, never follows a link at the path (a planted one, even dangling,
// is refused with ELOOP) and refuses what is not a regular file. Returns the
// descriptor or -1 with errno set.
int OpenRegularFileForAppend(const std::string& path);

// The content of a file that replaces `target` only once it is complete. The
// new file is made in the target's folder without a name (or, where the file
// system cannot do that, under a fresh name created exclusively), so nothing
// is ever written through an existing file or a planted link; Commit gives it
// a name of the program's own and renames that over the target. A kill can
// leave a named temporary file only in the instant between the two.
// Temporary names are `tempPrefix` (by default ".<target's name>.") followed
// by 16 hexadecimal digits.
class ReplacingFile {
  public:
    ReplacingFile() = default;
    ~ReplacingFile();  // abandons an uncommitted file
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Creates the new file beside `target`. With `durable`, Commit flushes it
    // to the disk before the rename. Returns false with errno set.
    bool Create(const std::string& target, const std::string& tempPrefix, bool durable);
    // Appends bytes; the first failure is remembered for Commit.
    void Write(std::string_view bytes);
    // Gives the file `mode` (by default what the umask allows) and renames it
    // over the target. Returns false with errno set, the target untouched and
    // the temporary file gone.
    static constexpr unsigned kUmaskMode = ~0U;
    bool Commit(unsigned mode = kUmaskMode);
    // As Commit, but the file takes the target's name only while nothing has
    // it: false with EEXIST when another process made the target meanwhile.
    bool CommitNew(unsigned mode = kUmaskMode);

  private:
    bool Abandon();
    bool Finish(unsigned mode, bool replace);

    int fd_ = -1;
    int dirFd_ = -1;
    bool durable_ = false;
    bool unnamed_ = false;
    int writeError_ = 0;
    std::string folder_;
    std::string target_;
    std::string tempPrefix_;
    std::string tempPath_;  // named temporary file, when one exists
};

// Removes the program's own temporary files for `tempPrefix` in `folder`:
// regular files named the prefix and 16 hexadecimal digits, owned by this user
// and not modified for `minAgeSeconds`, so that another save's live file is
// never touched. Returns how many it removed.
int RemoveStaleTemporaries(const std::string& folder, const std::string& tempPrefix,
                           long minAgeSeconds);

// The same for temporary files named `tempPrefix` and six letters and digits
// (mkstemp's names, as earlier versions made them), not all lowercase letters.
int RemoveStaleMkstempFiles(const std::string& folder, const std::string& tempPrefix,
                            long minAgeSeconds);

inline constexpr long kStaleTemporarySeconds = 10L * 60;

}  // namespace orvano
