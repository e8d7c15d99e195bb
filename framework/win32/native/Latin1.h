#pragma once
// The program's texts are one byte per character (Latin-1), the system's are
// UTF-16: every Latin-1 byte is the code unit of the same value. Characters
// outside Latin-1 become '?' on the way back, as they would in any byte string
// of the program.
#include <string>
#include <string_view>

inline std::wstring Widen(std::string_view text) {
  std::wstring wide;
  wide.reserve(text.size());
  for (char c : text) wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return wide;
}

inline std::string Narrow(std::wstring_view text) {
  std::string narrow;
  narrow.reserve(text.size());
  for (wchar_t c : text) narrow.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
  return narrow;
}
