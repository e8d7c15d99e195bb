#pragma once
// The text rules of data exchange, free of any window so they can be tested and
// fuzzed on their own.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr const char* kIntegerRefusal = "Please enter an integer.";
inline constexpr const char* kNumberRefusal = "Please enter a number.";
// "%1" stands for the character limit.
inline constexpr const char* kTooLongRefusal = "Please enter no more than %1 characters.";

// Signed decimal. At most the first 31 characters count; blanks and tabs are
// allowed on both sides; a result of 0 needs '0' as the first non-blank
// character (so "-0" and "+0" are refused); values beyond int32 saturate.
std::optional<std::int32_t> ParseInteger(std::string_view text);
std::string FormatInteger(std::int32_t value);

// A plain decimal number, the same on every platform: an optional sign,
// digits with at most one decimal point among them, and an optional exponent
// ('e' or 'E', an optional sign, digits), with blanks and tabs on both sides.
// Hexadecimal, "inf" and "nan" are refused. A result of 0 needs '0' as the
// first non-blank character (so "", ".0" and "-0" are refused). Stored as a
// 32-bit float; values beyond its range become infinite.
std::optional<float> ParseReal(std::string_view text);
// At most 6 significant digits, the shorter of fixed and exponent form:
// 2.5 is "2.5", zero is "0". An infinity is written as a number beyond the
// float range ("1e+39"), so every value but NaN (which only a file written by
// other means holds) reads back as itself.
std::string FormatReal(float value);

// kTooLongRefusal with the limit in place of %1.
std::string TooLongMessage(int limit);
