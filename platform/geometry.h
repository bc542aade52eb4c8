// Plain value types shared by the platform interfaces.
#pragma once

#include <cstdint>

namespace orvano {

// Client or screen pixels: right and bottom are one past the last pixel.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A place and size: x and y of its top-left pixel.
struct Box {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;  // a list's: the height of its open drop-down part
    friend bool operator==(const Box&, const Box&) = default;
};

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

// A local calendar time, field by field.
struct LocalTime {
    int year = 0;
    int month = 0;      // 1 to 12
    int dayOfWeek = 0;  // 0 Sunday to 6 Saturday
    int day = 0;        // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milliseconds = 0;
    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

}  // namespace orvano
