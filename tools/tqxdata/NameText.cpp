#include "tools/tqxdata/NameText.h"

#include <cstdint>
#include <cstdio>

namespace {

constexpr unsigned char kFirstUnsafeHighByte = 0x7F;  // DEL, then the C1 controls
constexpr unsigned char kFirstLatin1Letter = 0xA0;
constexpr std::uint32_t kLastLatin1CodePoint = 0xFF;

bool PrintableAscii(unsigned char byte) { return byte >= 0x20 && byte < kFirstUnsafeHighByte; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

UnquotedName Refuse(std::string reason) { return {std::nullopt, std::move(reason)}; }

// One UTF-8 character from the front of text; its code point and length, or
// a length of 0 when the bytes are not UTF-8.
struct Utf8Character {
  std::uint32_t codePoint;
  std::size_t length;
};

Utf8Character NextUtf8Character(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  std::uint32_t codePoint = 0;
  if ((lead & 0xE0) == 0xC0) length = 2, codePoint = lead & 0x1F;
  else if ((lead & 0xF0) == 0xE0) length = 3, codePoint = lead & 0x0F;
  else if ((lead & 0xF8) == 0xF0) length = 4, codePoint = lead & 0x07;
  if (length == 0 || text.size() < length) return {0, 0};
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return {0, 0};
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  // Overlong forms spell a character with more bytes than it needs.
  constexpr std::uint32_t kSmallestOfLength[] = {0, 0, 0x80, 0x800, 0x10000};
  if (codePoint < kSmallestOfLength[length]) return {0, 0};
  return {codePoint, length};
}

}  // namespace

std::string QuoteName(std::string_view bytes) {
  std::string text = "\"";
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      text += '\\';
      text += c;
    } else if (PrintableAscii(byte)) {
      text += c;
    } else if (byte >= kFirstLatin1Letter) {
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
    } else {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      text += escape;
    }
  }
  return text + '"';
}

UnquotedName UnquoteName(std::string_view text) {
  if (text.empty() || text.front() != '"') return Refuse("a name is written in double quotes");
  std::string bytes;
  std::size_t i = 1;
  while (i < text.size() && text[i] != '"') {
    if (text[i] == '\\') {
      if (i + 1 >= text.size()) break;
      const char kind = text[i + 1];
      if (kind == '"' || kind == '\\') {
        bytes += kind;
        i += 2;
        continue;
      }
      const int high = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
      const int low = i + 3 < text.size() ? HexDigit(text[i + 3]) : -1;
      if (kind != 'x' || high < 0 || low < 0) {
        return Refuse("unknown escape \\" + std::string(1, kind) + " (use \\\", \\\\ or \\xHH)");
      }
      if (high == 0 && low == 0) return Refuse("a name cannot hold a NUL byte (\\x00)");
      bytes += static_cast<char>(high * 16 + low);
      i += 4;
      continue;
    }
    const Utf8Character character = NextUtf8Character(text.substr(i));
    if (character.length == 0) return Refuse("the name is not valid UTF-8");
    if (character.codePoint == 0) return Refuse("a name cannot hold a NUL byte (\\x00)");
    if (character.codePoint > kLastLatin1CodePoint) {
      // Appended: a literal added in front of a temporary string draws GCC 12's false -Wrestrict.
      return Refuse(std::string("\"")
                        .append(text.substr(i, character.length))
                        .append("\" is not a Latin-1 character; a name holds Latin-1 characters only"));
    }
    bytes += static_cast<char>(character.codePoint);
    i += character.length;
  }
  if (i >= text.size()) return Refuse("the name has no closing quote");
  if (i + 1 != text.size()) return Refuse("nothing may follow the name's closing quote");
  return {std::move(bytes), {}};
}
