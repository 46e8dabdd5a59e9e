#pragma once
// Colour numbers as the settings store them: red in the low byte, then green, then blue.
// The displays' arithmetic works on these; controls/ColourValue.h turns them into QColor.

#include <cstdint>

namespace controls {

using ColourNumber = std::uint32_t;

inline constexpr int RedOf(ColourNumber c) { return static_cast<int>(c & 0xFF); }
inline constexpr int GreenOf(ColourNumber c) { return static_cast<int>((c >> 8) & 0xFF); }
inline constexpr int BlueOf(ColourNumber c) { return static_cast<int>((c >> 16) & 0xFF); }

// Each channel keeps its low 8 bits.
inline constexpr ColourNumber MakeColourNumber(int red, int green, int blue) {
    return (static_cast<ColourNumber>(red) & 0xFF) | ((static_cast<ColourNumber>(green) & 0xFF) << 8) |
           ((static_cast<ColourNumber>(blue) & 0xFF) << 16);
}

inline constexpr ColourNumber kColourBlack = 0x000000;
inline constexpr ColourNumber kColourAqua = 0xFFFF00;    // green and blue full
inline constexpr ColourNumber kColourSilver = 0xC0C0C0;
inline constexpr ColourNumber kColourOlive = 0x008080;   // red and green half
inline constexpr ColourNumber kColourTeal = 0x808000;    // green and blue half
inline constexpr ColourNumber kColourNavy = 0x800000;    // blue half

}  // namespace controls
