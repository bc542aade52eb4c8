// The settings store as one INI-style file: each section is a key path, each
// line of a section a value whose bytes are written out in hexadecimal, e.g.
//   [Software\Apps\Orvano]
//   Lang=hex:02,00,00,00
// The file is read again whenever it has changed, so values written by another
// process are seen; a file over 1 MB is not read (what was read before stays,
// and standard error says why once). Every write reads the file afresh under
// the settings lock (settings.ini.lock) and replaces it atomically, through a
// link the user made and keeping its permissions; a read-only file is kept.
#pragma once

#include <memory>
#include <string>

#include "platform/settings.h"

namespace orvano {

class SettingsFile;

class FileSettingsStore final : public SettingsStore {
  public:
    explicit FileSettingsStore(std::string path);
    ~FileSettingsStore() override;
    std::unique_ptr<SettingsKey> OpenKey(const std::string& path) override;
    bool CreateKey(const std::string& path) override;
    // In one locked read-change-replace of the file.
    bool WriteTexts(const std::vector<TextSetting>& texts) override;
    const std::string& path() const;

  private:
    std::shared_ptr<SettingsFile> file_;
};

// $XDG_CONFIG_HOME/orvano/settings.ini, with $HOME/.config when the variable is unset.
std::string DefaultSettingsPath();

}  // namespace orvano
