// Identifiers of the application's images and strings. The Qt build finds
// each one in the compiled-in resources as :/orvano/bitmap/ID.png,
// :/orvano/icon/ID.png and :/orvano/string/ID.
#pragma once

namespace orvano::resources {

inline constexpr int kStringTitle = 1;      // "orvano", the window title
inline constexpr int kStringClassName = 2;  // "ORVANO", the window class name

inline constexpr int kIconStrip = 104;    // the Today strip's item
inline constexpr int kIconSecond = 110;   // About page, left
inline constexpr int kIconProgram = 111;  // the window's icon, Home and About pages

inline constexpr int kBitmapCompassRose = 130;      // 150 x 150
inline constexpr int kBitmapKaaba = 131;            // 16 x 16
inline constexpr int kBitmapSun = 132;              // 16 x 16
inline constexpr int kBitmapFirstPrayerName = 134;  // 134..139, 42 x 20, in prayer order

}  // namespace orvano::resources
