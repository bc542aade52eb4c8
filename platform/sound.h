// Named system sounds.
#pragma once

#include <string>

namespace orvano {

class Sounds {
  public:
    virtual ~Sounds() = default;
    // Plays the named sound ("SystemStart", "Notify") to its end before returning.
    // Silent where there is no sound device.
    virtual void PlayNamed(const std::string& name) = 0;
};

}  // namespace orvano
