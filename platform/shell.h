// Files, URLs, other programs and the program's own location.
#pragma once

#include <string>
#include <vector>

namespace orvano {

class Shell {
  public:
    virtual ~Shell() = default;
    // Opens a file path or URL with the desktop's default handler. Never goes
    // through a command interpreter. Returns false when nothing could be started.
    virtual bool OpenDocument(const std::string& pathOrUrl) = 0;
    // Starts a program detached from this one, with its arguments as a list.
    virtual bool StartProgram(const std::string& program,
                              const std::vector<std::string>& arguments) = 0;
    // Full path of the running program (or, in a plug-in's implementation, of the library).
    virtual std::string ModulePath() const = 0;
    // The on-screen keyboard's button; desktops have a real keyboard, so this may do nothing.
    virtual void ShowInputPanelButton(bool shown) = 0;
};

// The folder of a full path, without its trailing separator ("" when there is none).
std::string FolderOf(const std::string& path);

}  // namespace orvano
