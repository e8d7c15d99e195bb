#pragma once
// Window texts cross into the program as byte strings of one byte per
// character (Latin-1): the stored function names are bytes in 30-byte slots,
// and a character count must equal a byte count for the name limit to hold.
// Characters outside Latin-1 become '?' on the way back.
#include <QString>
#include <string>
#include <string_view>

inline QString ToQString(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStdString(const QString& text) { return text.toLatin1().toStdString(); }
