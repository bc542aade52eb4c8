// The settings store as one INI-style file: each section is a key path, each
// line of a section a value whose bytes are written out in hexadecimal, e.g.
//   [Software\Apps\Orvano]
//   Lang=hex:02,00,00,00
// The file is read at every access, so values written by another process are
// seen, and replaced atomically at every write.
#pragma once

#include <string>

#include "platform/settings.h"

namespace orvano {

class FileSettingsStore final : public SettingsStore {
  public:
    explicit FileSettingsStore(std::string path);
    std::unique_ptr<SettingsKey> OpenKey(const std::string& path) override;
    bool CreateKey(const std::string& path) override;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// $XDG_CONFIG_HOME/orvano/settings.ini, with $HOME/.config when the variable is unset.
std::string DefaultSettingsPath();

}  // namespace orvano
