#include "framework/TextConversion.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "framework/ClassicLocale.h"

namespace {

constexpr std::size_t kIntegerCharsRead = 31;  // characters; the rest of a longer text is ignored
constexpr const char* kBeyondFloatRange = "1e+39";

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

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view LeadingDigits(std::string_view text) {
  std::size_t count = 0;
  while (count < text.size() && IsDigit(text[count])) ++count;
  return text.substr(0, count);
}

// Takes the sign in front of text, if there is one; true for a minus.
bool TakeSign(std::string_view& text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  return negative;
}

// A plain decimal number: an optional sign, digits with at most one decimal
// point among them (a digit at least), and an optional exponent: 'e' or 'E',
// an optional sign, digits. The C libraries read more than that (hexadecimal,
// "inf", "nan"), and not the same on every platform.
struct PlainDecimal {
  bool negative = false;
  std::string_view unsigned_;  // the number after its sign, as std::from_chars reads it
  std::string_view whole;
  std::string_view fraction;
  long long exponent = 0;  // saturated: beyond a double's range either way long before the limit

  // The power of ten of the leading non-zero digit: a value too large for a
  // double has one far above zero, a value too small one far below.
  long long LeadingPower() const {
    const std::size_t wholeZeros = std::min(whole.find_first_not_of('0'), whole.size());
    if (wholeZeros < whole.size()) return exponent + static_cast<long long>(whole.size() - wholeZeros) - 1;
    const std::size_t fractionZeros = std::min(fraction.find_first_not_of('0'), fraction.size());
    return exponent - static_cast<long long>(fractionZeros) - 1;
  }
};

// The plain decimal number that is the whole text, if it is one.
std::optional<PlainDecimal> ReadPlainDecimal(std::string_view text) {
  constexpr long long kExponentLimit = 1'000'000'000;
  PlainDecimal number;
  number.negative = TakeSign(text);
  number.unsigned_ = text;
  number.whole = LeadingDigits(text);
  text.remove_prefix(number.whole.size());
  if (!text.empty() && text.front() == '.') {
    number.fraction = LeadingDigits(text.substr(1));
    text.remove_prefix(1 + number.fraction.size());
  }
  if (number.whole.empty() && number.fraction.empty()) return std::nullopt;
  if (!text.empty() && (text.front() == 'e' || text.front() == 'E')) {
    text.remove_prefix(1);
    const bool negativeExponent = TakeSign(text);
    const std::string_view digits = LeadingDigits(text);
    if (digits.empty()) return std::nullopt;
    for (const char digit : digits) number.exponent = std::min(number.exponent * 10 + (digit - '0'), kExponentLimit);
    if (negativeExponent) number.exponent = -number.exponent;
    text.remove_prefix(digits.size());
  }
  if (!text.empty()) return std::nullopt;
  return number;
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

std::optional<float> ParseReal(std::string_view text) {
  const std::string_view field = TrimTrailingBlanks(TrimLeadingBlanks(text));
  const std::optional<PlainDecimal> number = ReadPlainDecimal(field);
  if (!number) return std::nullopt;

  // The standard library's own conversion, the same on every platform and in
  // every locale; what it finds beyond a double's range is infinite or zero.
  double magnitude = 0.0;
  const std::string_view digits = number->unsigned_;
  if (std::from_chars(digits.data(), digits.data() + digits.size(), magnitude).ec == std::errc::result_out_of_range) {
    magnitude = number->LeadingPower() > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  if (magnitude == 0.0 && field.front() != '0') return std::nullopt;
  return ToFloat(number->negative ? -magnitude : magnitude);
}

std::string FormatReal(float value) {
  // Negative zero would be written as "-0", which the next save refuses: a
  // value we accepted must read back.
  if (value == 0.0f) return "0";
  // An infinity (a value typed beyond the float range) is written as a number
  // beyond that range, which reads back as the same infinity.
  if (std::isinf(value)) return value > 0 ? kBeyondFloatRange : std::string("-") + kBeyondFloatRange;
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
