#pragma once
// A function's name as a line of UTF-8 text. The monitor stores names as
// Latin-1 bytes; the text shows each printable one as its own character and
// every other byte as an escape, so any byte string comes back exactly.
#include <optional>
#include <string>
#include <string_view>

// The bytes in double quotes: '"' and '\' escaped with a backslash, Latin-1
// letters as UTF-8, control bytes (0x00-0x1F, 0x7F-0x9F) as \xHH.
std::string QuoteName(std::string_view bytes);

struct UnquotedName {
  std::optional<std::string> bytes;  // empty when the text is refused
  std::string refusal;               // why, for the user
};

// Reverses QuoteName on a whole value: it must be one quoted string with
// nothing after its closing quote. Accepts \" \\ and \xHH escapes and any
// UTF-8 character from U+0001 to U+00FF.
UnquotedName UnquoteName(std::string_view text);
