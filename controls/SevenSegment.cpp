#include "controls/SevenSegment.h"

namespace controls {

std::array<Stroke, 3> SegmentStrokes(int segment, int x, int y) {
    switch (segment) {
        case 1:
            return {{{x + 1, y, x + 10, y}, {x + 2, y + 1, x + 9, y + 1}, {x + 3, y + 2, x + 8, y + 2}}};
        case 2:
            return {{{x, y + 1, x, y + 10}, {x + 1, y + 2, x + 1, y + 9}, {x + 2, y + 3, x + 2, y + 8}}};
        case 3:
            return {{{x + 10, y + 1, x + 10, y + 10},
                     {x + 9, y + 2, x + 9, y + 9},
                     {x + 8, y + 3, x + 8, y + 8}}};
        case 4:
            return {{{x + 1, y + 10, x + 10, y + 10},
                     {x + 2, y + 9, x + 9, y + 9},
                     {x + 2, y + 11, x + 9, y + 11}}};
        case 5: return SegmentStrokes(2, x, y + 10);
        case 6: return SegmentStrokes(3, x, y + 10);
        case 7:
            return {{{x + 1, y + 20, x + 10, y + 20},
                     {x + 2, y + 19, x + 9, y + 19},
                     {x + 3, y + 18, x + 8, y + 18}}};
        default: return {};
    }
}

bool SegmentLit(unsigned digit, int segment) {
    if (digit > 9 || segment < 1 || segment > 7) return false;
    return (kSegmentTable[digit] >> (segment - 1)) & 1;
}

unsigned DigitInCell(std::uint32_t value, unsigned cell) {
    std::uint64_t divisor = 1;
    for (unsigned i = 0; i < cell; ++i) {
        divisor *= 10;
        if (divisor > value) return 0;
    }
    return static_cast<unsigned>((value / divisor) % 10);
}

int CellOriginX(unsigned digits, unsigned cell) {
    return kDigitCellWidth * (static_cast<int>(digits) - 1 - static_cast<int>(cell)) + 2;
}

}  // namespace controls
