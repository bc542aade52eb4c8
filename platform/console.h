// The process's console (standard output) and the debugger's output channel.
#pragma once

#include <string_view>

namespace orvano {

class Console {
  public:
    virtual ~Console() = default;
    virtual void Print(std::string_view text) = 0;
    virtual void Debug(std::string_view text) = 0;
};

}  // namespace orvano
