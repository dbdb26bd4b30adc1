#pragma once
// The object table's cell rules that need no window: what selecting a cell
// makes of its text, the relative entry ("x+20" on 250 gives 270), and where
// the heading indicator's line ends.

#include <QPoint>
#include <QString>
#include <cstdint>
#include <optional>

// The text a number cell keeps when it is selected: a lone sign, an empty
// cell, or any character other than digits after an optional sign turns the
// whole cell into "0"; anything else stays as it is. "O.Name" is free text
// and never passes through here.
QString validatedCellText(const QString &text);

// Whether a column holds a number (every column but "O.Name").
bool isNumberColumn(int col);

// Relative entry: a text whose second character is "+" or "-" drops its
// first character and adds the rest, read as a signed integer, to base. Any
// other text is no relative entry (nullopt). A rest that is no integer raises
// the conversion message naming `where`; a sum beyond 32 bits the overflow.
std::optional<std::int32_t> relativeEntry(const QString &text, std::int32_t base, const QString &where);

// A "Horz-Angel" cell read as a floating-point number; nullopt when it is
// none (a half-typed "-", letters).
std::optional<double> headingDegrees(const QString &text);

// Half the length of the heading indicator's line, in pixels.
inline constexpr int HeadingLineLength = 30;

// End of the heading line that starts at a marker's centre: the angle is
// turned to radians with the divisor 57.296 (not the exact degrees per
// radian), and 30 times its sine and cosine are truncated toward zero. A
// heading of 0 points up the map (29 pixels: the sine falls just short of 1),
// 90 to the right, -90 exactly 30 pixels to the left.
QPoint headingLineEnd(QPoint centre, double degrees);
