#pragma once
// Number handling shared by every part of the program: the strict decimal
// parser that table cells convert with, and 32-bit arithmetic that raises the
// integer overflow error instead of wrapping.

#include <QString>
#include <cstdint>
#include <optional>

// Optional sign, then one or more decimal digits, within the signed 32-bit
// range. Nothing else is accepted (no spaces, no hexadecimal).
std::optional<std::int32_t> parseInt32(const QString &text);

// As parseInt32, raising the standard conversion message on failure.
std::int32_t StrToInt(const QString &text, const QString &where = QString());

std::int32_t checkedAdd(std::int32_t a, std::int32_t b);
std::int32_t checkedSub(std::int32_t a, std::int32_t b);
std::int32_t checkedMul(std::int32_t a, std::int32_t b);
