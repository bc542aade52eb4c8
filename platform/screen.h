// The screen's logical resolution.
#pragma once

namespace orvano {

// A length laid out for 96 DPI, in pixels at `dpi`: (length * dpi + 48) / 96,
// truncated, so that halves round up.
constexpr int ScaleForDpi(int length, int dpi) {
    return (length * dpi + 48) / 96;
}

class Screen {
  public:
    virtual ~Screen() = default;
    // Logical pixels per inch, or -1 when the screen cannot be asked.
    virtual int LogicalDpiX() const = 0;
    virtual int LogicalDpiY() const = 0;
};

}  // namespace orvano
