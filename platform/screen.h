// The screen's logical resolution.
#pragma once

namespace orvano {

class Screen {
  public:
    virtual ~Screen() = default;
    // Logical pixels per inch, or -1 when the screen cannot be asked.
    virtual int LogicalDpiX() const = 0;
    virtual int LogicalDpiY() const = 0;
};

}  // namespace orvano
