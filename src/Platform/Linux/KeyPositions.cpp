#include "KeyPositions.h"

#include <array>
#include <utility>

namespace KeyPositions {
namespace {

// (evdev code, tap key code) for every bindable position, and the Super keys.
constexpr std::array<std::pair<int, std::int64_t>, 49> positions{{
    {41, 50}, {2, 18},  {3, 19},  {4, 20},  {5, 21},  {6, 23},  {7, 22},  {8, 26},  {9, 28},  {10, 25},
    {11, 29}, {12, 27}, {13, 24},                                                              // digit row
    {16, 12}, {17, 13}, {18, 14}, {19, 15}, {20, 17}, {21, 16}, {22, 32}, {23, 34}, {24, 31}, {25, 35},
    {26, 33}, {27, 30}, {43, 42},                                                              // top row
    {30, 0},  {31, 1},  {32, 2},  {33, 3},  {34, 5},  {35, 4},  {36, 38}, {37, 40}, {38, 37}, {39, 41},
    {40, 39},                                                                                  // home row
    {44, 6},  {45, 7},  {46, 8},  {47, 9},  {48, 11}, {49, 45}, {50, 46}, {51, 43}, {52, 47}, {53, 44},
    {126, 54}, {125, 55},                                                                      // Super keys
}};

} // namespace

std::optional<std::int64_t> keyCode(std::uint8_t xKeyCode) {
    for (const auto& [evdev, code] : positions)
        if (evdev + 8 == xKeyCode) return code;
    return std::nullopt;
}

std::optional<std::uint8_t> xKeyCode(std::int64_t keyCode) {
    for (const auto& [evdev, code] : positions)
        if (code == keyCode) return static_cast<std::uint8_t>(evdev + 8);
    return std::nullopt;
}

} // namespace KeyPositions
