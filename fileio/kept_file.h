// The files a user keeps in the configuration folder (data.cfg, settings.ini),
// which dotfile managers often replace by links into a repository of their
// own. A save writes through such a link: the file it leads to is replaced
// atomically in its own folder, and the link stays. (The program's own files
// never follow a link: see ReplacingFile.)
#pragma once

#include <string>
#include <string_view>

namespace orvano {

// Where a kept file really is: the path itself, or where the links at it lead.
std::string LinkedFileTarget(const std::string& path);

// The folder part of a path ("." for a bare name).
std::string FolderOfPath(const std::string& path);

// Replaces the kept file at `path` (through its links) with `bytes`, flushed to
// the disk first; the file keeps its permission bits. A file the user made
// read-only is refused (EACCES) even where the system would let the write
// through, as it does for root. Temporary files are named `lead`, the linked
// file's name, a dot and 16 hexadecimal digits; those that earlier saves,
// killed at the wrong instant, left in the folder are removed once ten minutes
// old. False with errno set (ENOSPC for a full disk); the old file is then whole.
bool ReplaceKeptFile(const std::string& path, std::string_view bytes, const std::string& lead);

}  // namespace orvano
