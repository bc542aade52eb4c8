// Where a user's own files live (the XDG base folders) and where the installed,
// read-only ones are. Nothing a user changes lives under the install prefix:
//   $XDG_CONFIG_HOME/orvano/data.cfg     towns and conventions (first start: a copy
//                                        of PREFIX/share/orvano/data.cfg)
//   $XDG_STATE_HOME/orvano/read_echo.cfg the transcription of the last read
//   $XDG_DATA_HOME/orvano/calendars/     the monthly calendars
#pragma once

#include <string>
#include <vector>

namespace orvano {

// $HOME when it is an absolute path, else the home folder the password database
// gives this uid; kNoHomeFolder when it gives none.
inline constexpr const char* kNoHomeFolder = "/nonexistent";
std::string HomeFolder();

// $XDG_CONFIG_HOME/orvano (default ~/.config/orvano); not created here.
std::string UserConfigFolder();
// $XDG_STATE_HOME/orvano (default ~/.local/state/orvano), created if missing.
std::string UserStateFolder();
// $XDG_DATA_HOME/orvano (default ~/.local/share/orvano), created if missing.
std::string UserDataFolder();

// PREFIX/share/orvano for a program installed as PREFIX/bin/NAME.
std::string InstalledFolderOfProgram(const std::string& programPath);
// PREFIX/share/orvano for the plug-in installed as PREFIX/lib/orvano/NAME.
std::string InstalledFolderOfPlugin(const std::string& libraryPath);
// Where the catalogue of methods is read from: the installed folder's
// methods/, then the user's $XDG_CONFIG_HOME/orvano/methods/ (whose methods
// replace installed ones of the same id).
std::vector<std::string> MethodFoldersOf(const std::string& installedFolder);
// PREFIX/bin/PROGRAM for the plug-in installed as PREFIX/lib/orvano/NAME.
std::string InstalledProgramOfPlugin(const std::string& libraryPath, const std::string& program);

struct UserDataCfg {
    std::string path;       // the data.cfg to read, and to write unless readOnly
    bool readOnly = false;  // the installed default: the user's copy could not be made
    std::string problem;    // one line for the user when something went wrong, else ""
};

// The user's data.cfg, made at first start as a copy of `installedDefault`.
// A file already there is never replaced, whatever it holds or whoever may
// read it: the reader reports it. When the copy cannot be made, the result is
// the installed default, read-only, with the reason in `problem`.
UserDataCfg PrepareUserDataCfg(const std::string& installedDefault);

// Everything one run of a program needs to find.
struct UserFiles {
    std::string dataCfg;
    bool readOnly = false;
    std::string readEcho;         // read_echo.cfg
    std::string calendarFolder;   // where calendars are written
    std::string installedFolder;  // the help pages and the default data.cfg
    std::string problem;          // as in UserDataCfg
};

// The files for a program (or plug-in) whose installed folder is given.
// A non-empty `configOverride` (--config) is used as it is, and nothing is copied.
UserFiles PrepareUserFiles(const std::string& installedFolder,
                           const std::string& configOverride = std::string());

// Every file in one folder: for tests and for running from a single folder.
UserFiles UserFilesIn(const std::string& folder);

}  // namespace orvano
