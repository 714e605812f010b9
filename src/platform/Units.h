#pragma once
// Twips (1/1440 inch) and the character cells (120 x 240 twips) that the
// main window's sizes are given in.

namespace zuno {

inline constexpr double TwipsPerInch = 1440.0;
inline constexpr double CellWidthTwips = 120.0;
inline constexpr double CellHeightTwips = 240.0;

} // namespace zuno
