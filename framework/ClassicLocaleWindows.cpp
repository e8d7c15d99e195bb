#include "framework/ClassicLocale.h"

#include <cmath>
#include <cstring>
#include <limits>

#include <ctype.h>
#include <locale.h>
#include <stdlib.h>

namespace {

_locale_t Classic() {
  static const _locale_t classic = _create_locale(LC_ALL, "C");
  return classic;
}

// The C runtime's conversion predates C99 and reads neither infinity nor NaN.
// They are read here as C99 reads them (any case, after an optional sign;
// "nan" with an optional "(chars)"), so a field means the same on every
// platform. Longest word first.
struct SpecialValue {
  const char* word;
  double value;
};
constexpr SpecialValue kSpecialValues[] = {
    {"infinity", std::numeric_limits<double>::infinity()},
    {"inf", std::numeric_limits<double>::infinity()},
    {"nan", std::numeric_limits<double>::quiet_NaN()},
};

const char* AfterNanChars(const char* text) {
  if (*text != '(') return text;
  const char* close = text + 1;
  while (_isalnum_l(static_cast<unsigned char>(*close), Classic()) || *close == '_') ++close;
  return *close == ')' ? close + 1 : text;
}

}  // namespace

bool IsClassicSpace(unsigned char c) { return _isspace_l(c, Classic()) != 0; }

long long ClassicToLongLong(const char* text, char** end) { return _strtoi64_l(text, end, 10, Classic()); }

double ClassicToDouble(const char* text, char** end) {
  const char* word = text;
  while (IsClassicSpace(static_cast<unsigned char>(*word))) ++word;
  const bool negative = *word == '-';
  if (*word == '+' || *word == '-') ++word;
  for (const SpecialValue& special : kSpecialValues) {
    const std::size_t length = std::strlen(special.word);
    if (_strnicmp_l(word, special.word, length, Classic()) != 0) continue;
    const char* after = word + length;
    if (std::isnan(special.value)) after = AfterNanChars(after);
    *end = const_cast<char*>(after);
    return negative ? -special.value : special.value;
  }
  return _strtod_l(text, end, Classic());
}
