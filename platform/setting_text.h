// A settings store's text values as a function of the key and the value's
// name, for the core's readers, which know no store.
#pragma once

#include <functional>
#include <string>

#include "platform/settings.h"

namespace orvano {

// "" when the key or the value is missing. `settings` must outlive it.
inline std::function<std::string(const char* key, const char* name)> SettingTextReader(
    SettingsStore& settings) {
    return [&settings](const char* key, const char* name) {
        return ReadSettingText(settings, key, name);
    };
}

}  // namespace orvano
