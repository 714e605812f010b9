#pragma once
// The numbers of the indicators the program puts on the edit
// control, all in one place so that no two uses share one. Indicators below
// 8 are the lexers'.
namespace zuno::indicators {

// The problem marks (QtLineMarks): an underline under the offending text
// (the margin's symbols are drawn, not Scintilla's markers).
inline constexpr int ErrorIndicator = 8;
inline constexpr int WarningIndicator = 9;

// The text colours (QtTextColours): one indicator each, from this one on.
inline constexpr int FirstTextColour = 10;
inline constexpr int TextColourCount = 8;

// Every match of the search marked (QtMatchMarks).
inline constexpr int MatchIndicator = 20;

} // namespace zuno::indicators
