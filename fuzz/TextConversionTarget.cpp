// Fuzz target: the data-exchange text rules. Any text is read as an integer
// and as a real and the answers are compared with the rules worked out here
// apart from the conversions; values taken from the input's bytes must survive
// being written into a field and read back.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "framework/TextConversion.h"
#include "fuzz/FuzzCheck.h"

namespace {

constexpr std::size_t kIntegerCharsRead = 31;  // characters of a field that count for an integer
constexpr int kRealSignificantDigits = 6;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Blanks and tabs around an optional sign and decimal digits, within the
// first 31 characters; values beyond int32 saturate; 0 only with a leading '0'.
std::optional<std::int32_t> IntegerByTheRules(std::string_view text) {
  const std::string_view field = TrimBlanks(text.substr(0, kIntegerCharsRead));
  std::string_view digits = field;
  const bool negative = !digits.empty() && digits.front() == '-';
  if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
  if (digits.empty()) return std::nullopt;
  std::int64_t magnitude = 0;
  constexpr std::int64_t kBeyondInt32 = std::int64_t{1} << 32;
  for (const char c : digits) {
    if (!IsDigit(c)) return std::nullopt;
    magnitude = std::min(magnitude * 10 + (c - '0'), kBeyondInt32);
  }
  if (magnitude == 0 && field.front() != '0') return std::nullopt;
  const std::int64_t value = negative ? -magnitude : magnitude;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

// Read by hand rather than by <regex>, whose GCC 12 headers draw false
// warnings in optimised builds.
bool IsPlainDecimal(std::string_view field) {
  std::size_t at = 0;
  const auto skipSign = [&] { at += at < field.size() && (field[at] == '+' || field[at] == '-') ? 1 : 0; };
  const auto skipDigits = [&] {
    const std::size_t from = at;
    while (at < field.size() && IsDigit(field[at])) ++at;
    return at - from;
  };
  skipSign();
  const std::size_t whole = skipDigits();
  const std::size_t fraction = at < field.size() && field[at] == '.' ? (++at, skipDigits()) : 0;
  if (whole == 0 && fraction == 0) return false;
  if (at < field.size() && (field[at] == 'e' || field[at] == 'E')) {
    ++at;
    skipSign();
    if (skipDigits() == 0) return false;
  }
  return at == field.size();
}

// A plain decimal (an optional sign, digits with at most one point among
// them, an optional exponent) with only blanks and tabs around it; the C
// library reads such a number exactly, and gives the value; 0 needs a leading
// '0'; the value is kept as a float, saturating to infinity.
std::optional<float> RealByTheRules(std::string_view text) {
  const std::string field(TrimBlanks(text));
  if (!IsPlainDecimal(field)) return std::nullopt;
  const double value = std::strtod(field.c_str(), nullptr);
  if (value == 0.0 && field.front() != '0') return std::nullopt;
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  if (std::fabs(value) > std::numeric_limits<float>::max()) return value > 0 ? kInfinity : -kInfinity;
  return static_cast<float>(value);
}

bool SameFloat(float a, float b) { return (std::isnan(a) && std::isnan(b)) || a == b; }

// The digits a formatted value spends: from its first to its last non-zero digit.
int SignificantDigits(std::string_view formatted) {
  const std::string_view mantissa = formatted.substr(0, formatted.find_first_of("eE"));
  std::string digits;
  for (const char c : mantissa) {
    if (IsDigit(c)) digits += c;
  }
  const std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return 1;
  const std::size_t last = digits.find_last_not_of('0');
  return static_cast<int>(last - first + 1);
}

void CheckInteger(std::string_view text) {
  const std::optional<std::int32_t> parsed = ParseInteger(text);
  const std::optional<std::int32_t> expected = IntegerByTheRules(text);
  FUZZ_CHECK(parsed.has_value() == expected.has_value());
  if (parsed) FUZZ_CHECK(*parsed == *expected);
}

void CheckReal(std::string_view text) {
  const std::optional<float> parsed = ParseReal(text);
  const std::optional<float> expected = RealByTheRules(text);
  FUZZ_CHECK(parsed.has_value() == expected.has_value());
  if (parsed) FUZZ_CHECK(SameFloat(*parsed, *expected));
}

// What a load writes, a save reads back as the same value, blanks or not.
void CheckIntegerRoundTrip(std::int32_t value) {
  const std::string text = FormatInteger(value);
  FUZZ_CHECK(ParseInteger(text) == value);
  FUZZ_CHECK(ParseInteger(" \t" + text + "\t ") == value);
}

// A float written with 6 digits and read back may move to the float nearest
// those digits, but no further: from then on it stays where it is.
void CheckRealRoundTrip(float value) {
  const std::string text = FormatReal(value);
  FUZZ_CHECK(!text.empty() && text != "-0");
  const std::optional<float> readBack = ParseReal(text);
  if (std::isnan(value)) {
    FUZZ_CHECK(!readBack.has_value());  // no text is read as NaN
    return;
  }
  FUZZ_CHECK(readBack.has_value());
  if (std::isinf(value)) {
    FUZZ_CHECK(*readBack == value);
    return;
  }
  FUZZ_CHECK(SignificantDigits(text) <= kRealSignificantDigits);
  FUZZ_CHECK(std::fabs(*readBack - value) <= 1e-5 * std::fabs(value));
  FUZZ_CHECK(FormatReal(*readBack) == text);
  FUZZ_CHECK(ParseReal(" " + text + "\t") == *readBack);
}

template <typename T>
T ValueFrom(std::string_view bytes) {
  T value{};
  if (!bytes.empty()) std::memcpy(&value, bytes.data(), std::min(bytes.size(), sizeof value));
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckInteger(text);
  CheckReal(text);
  CheckIntegerRoundTrip(ValueFrom<std::int32_t>(text));
  CheckRealRoundTrip(ValueFrom<float>(text));
  CheckRealRoundTrip(static_cast<float>(ValueFrom<std::int32_t>(text)) * 1e-3f);
  return 0;
}
