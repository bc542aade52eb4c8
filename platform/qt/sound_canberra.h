// Named system sounds played through the freedesktop sound theme.
#pragma once

#include <string>

#include "platform/sound.h"

namespace orvano {

// The theme's event for one of the program's sound names ("" for none).
std::string SoundThemeEvent(const std::string& name);

class CanberraSounds final : public Sounds {
  public:
    CanberraSounds();
    ~CanberraSounds() override;
    CanberraSounds(const CanberraSounds&) = delete;
    CanberraSounds& operator=(const CanberraSounds&) = delete;
    // Blocks until the sound has ended; returns at once without a sound device.
    void PlayNamed(const std::string& name) override;

    struct Context;

  private:
    Context* context_ = nullptr;
};

}  // namespace orvano
