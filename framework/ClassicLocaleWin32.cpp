#include "framework/ClassicLocale.h"

#include <ctype.h>
#include <locale.h>
#include <stdlib.h>

namespace {

_locale_t Classic() {
  static const _locale_t classic = _create_locale(LC_ALL, "C");
  return classic;
}

}  // namespace

bool IsClassicSpace(unsigned char c) { return _isspace_l(c, Classic()) != 0; }

long long ClassicToLongLong(const char* text, char** end) { return _strtoi64_l(text, end, 10, Classic()); }
