#pragma once
// The C library's character class and integer conversion in the "C" locale,
// whatever locale the process runs in: the toolkit switches it to the user's
// at start-up. One twin per platform: ClassicLocalePosix.cpp,
// ClassicLocaleWin32.cpp.

bool IsClassicSpace(unsigned char c);
long long ClassicToLongLong(const char* text, char** end);
