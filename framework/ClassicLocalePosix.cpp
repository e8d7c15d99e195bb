#include "framework/ClassicLocale.h"

#include <ctype.h>
#include <locale.h>
#include <stdlib.h>

namespace {

locale_t Classic() {
  static const locale_t classic = newlocale(LC_ALL_MASK, "C", nullptr);
  return classic;
}

}  // namespace

bool IsClassicSpace(unsigned char c) { return isspace_l(c, Classic()) != 0; }

long long ClassicToLongLong(const char* text, char** end) { return strtoll_l(text, end, 10, Classic()); }
