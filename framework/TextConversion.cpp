#include "framework/TextConversion.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>

#include "framework/ClassicLocale.h"

namespace {

constexpr std::size_t kIntegerCharsRead = 31;  // characters; the rest of a longer text is ignored

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeadingBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A double beyond the float range has no defined float conversion: saturate it
// to infinity ourselves.
float ToFloat(double value) {
  if (value > FLT_MAX) return std::numeric_limits<float>::infinity();
  if (value < -FLT_MAX) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

// The C library's conversions skip any white space before a number; a field
// allows only blanks and tabs around it, so a line feed, carriage return,
// form feed or vertical tab left in front after the blanks is refused.
bool StartsWithOtherSpace(std::string_view text) {
  return !text.empty() && IsClassicSpace(static_cast<unsigned char>(text.front()));
}

}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  const std::string_view field = TrimLeadingBlanks(text.substr(0, kIntegerCharsRead));
  const std::string digits(TrimTrailingBlanks(field));
  if (digits.empty() || StartsWithOtherSpace(digits)) return std::nullopt;

  char* end = nullptr;
  const long long value = ClassicToLongLong(digits.c_str(), &end);
  if (end != digits.c_str() + digits.size()) return std::nullopt;
  if (value == 0 && digits.front() != '0') return std::nullopt;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

std::string FormatInteger(std::int32_t value) { return std::to_string(value); }

// "nan" and "inf" are numbers to the string-to-double conversion and are taken
// as such; the callers' range checks are what keep them from the outputs.
std::optional<float> ParseReal(std::string_view text) {
  const std::string field(TrimLeadingBlanks(text));
  if (field.empty() || StartsWithOtherSpace(field)) return std::nullopt;

  char* end = nullptr;
  const double value = ClassicToDouble(field.c_str(), &end);
  const std::string_view rest(end, field.c_str() + field.size() - end);
  if (end == field.c_str() || !TrimLeadingBlanks(rest).empty()) return std::nullopt;
  if (value == 0.0 && field.front() != '0') return std::nullopt;
  return ToFloat(value);
}

std::string FormatReal(float value) {
  // Negative zero would be written as "-0", which the next save refuses: a
  // value we accepted must read back.
  if (value == 0.0f) return "0";
  constexpr int kSignificantDigits = 6;
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                    std::chars_format::general, kSignificantDigits);
  return std::string(buffer, result.ptr);
}

std::string TooLongMessage(int limit) {
  std::string message = kTooLongRefusal;
  message.replace(message.find("%1"), 2, std::to_string(limit));
  return message;
}
