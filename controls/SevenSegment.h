#pragma once
// Seven-segment digit geometry of the digit counter: which segments each digit lights and the
// three one-pixel strokes of each segment.

#include <array>
#include <cstdint>

namespace controls {

// Bit k - 1 set = segment k lit. Segments: 1 top, 2 upper left, 3 upper right, 4 middle,
// 5 lower left, 6 lower right, 7 bottom.
inline constexpr std::array<std::uint8_t, 10> kSegmentTable = {
    0x77, 0x24, 0x5D, 0x6D, 0x2E, 0x6B, 0x7B, 0x25, 0x7F, 0x2F};

inline constexpr int kDigitCellWidth = 13;
inline constexpr int kDigitBoxHeight = 25;
inline constexpr unsigned kMaxDigits = 11;

// A stroke from (x1, y1) towards (x2, y2), end point excluded; always horizontal or vertical.
struct Stroke {
    int x1, y1, x2, y2;
    bool operator==(const Stroke&) const = default;
};

// The three strokes of segment 1..7 for a cell whose origin is (x, y).
std::array<Stroke, 3> SegmentStrokes(int segment, int x, int y);

bool SegmentLit(unsigned digit, int segment);

// Digit shown in cell i (0 = units) for a value.
unsigned DigitInCell(std::uint32_t value, unsigned cell);

// Origin of cell i (0 = units, at the right) in a box of `digits` cells.
int CellOriginX(unsigned digits, unsigned cell);
inline constexpr int kCellOriginY = 2;

inline int DigitBoxWidth(unsigned digits) { return kDigitCellWidth * static_cast<int>(digits) + 2; }

}  // namespace controls
