// A settings store's text values as a function of the key and the value's
// name, for the core's readers, which know no store.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/settings.h"

namespace orvano {

// "" when the key or the value is missing. Each key is opened once, however
// many of its values are read. `settings` must outlive it.
inline std::function<std::string(const char* key, const char* name)> SettingTextReader(
    SettingsStore& settings) {
    auto keys = std::make_shared<std::map<std::string, std::unique_ptr<SettingsKey>>>();
    return [&settings, keys](const char* key, const char* name) {
        auto open = keys->find(key);
        if (open == keys->end()) open = keys->emplace(key, settings.OpenKey(key)).first;
        return open->second ? open->second->ReadText(name).value_or("") : std::string();
    };
}

}  // namespace orvano
