#include "tools/tqxdata/RecordText.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "tools/tqxdata/NameText.h"

namespace {

enum class FieldKind { Integer, Volts, Name, NameSlot };

struct Field {
  std::string_view key;
  FieldKind kind;
  FunctionInts ConfigRecord::*integers = nullptr;
  FunctionFloats ConfigRecord::*volts = nullptr;
};

// Record order, which is also the order of the text.
const Field kFields[] = {
    {"triggerBin1", FieldKind::Integer, &ConfigRecord::triggerBin1},
    {"triggerBin2", FieldKind::Integer, &ConfigRecord::triggerBin2},
    {"triggerBin3", FieldKind::Integer, &ConfigRecord::triggerBin3},
    {"functionName", FieldKind::Name},
    {"functionNameSlot", FieldKind::NameSlot},
    {"requiredCount", FieldKind::Integer, &ConfigRecord::requiredCount},
    {"lineEnabled", FieldKind::Integer, &ConfigRecord::lineEnabled},
    {"lineSelect", FieldKind::Integer, &ConfigRecord::lineSelect},
    {"lineAction", FieldKind::Integer, &ConfigRecord::lineAction},
    {"analog1Enabled", FieldKind::Integer, &ConfigRecord::analog1Enabled},
    {"analog1Volts", FieldKind::Volts, nullptr, &ConfigRecord::analog1Volts},
    {"analog2Enabled", FieldKind::Integer, &ConfigRecord::analog2Enabled},
    {"analog2Volts", FieldKind::Volts, nullptr, &ConfigRecord::analog2Volts},
    {"relay1Enabled", FieldKind::Integer, &ConfigRecord::relay1Enabled},
    {"relay1Action", FieldKind::Integer, &ConfigRecord::relay1Action},
    {"relay2Enabled", FieldKind::Integer, &ConfigRecord::relay2Enabled},
    {"relay2Action", FieldKind::Integer, &ConfigRecord::relay2Action},
    {"relay3Enabled", FieldKind::Integer, &ConfigRecord::relay3Enabled},
    {"relay3Action", FieldKind::Integer, &ConfigRecord::relay3Action},
    {"relay4Enabled", FieldKind::Integer, &ConfigRecord::relay4Enabled},
    {"relay4Action", FieldKind::Integer, &ConfigRecord::relay4Action},
};
constexpr std::size_t kFieldCount = std::size(kFields);

constexpr std::string_view kSpareKey = "spare";
constexpr int kEntryCount = kFunctionCount + 1;
constexpr std::uint32_t kFloatExponentMask = 0x7F800000;
constexpr std::uint32_t kFloatMantissaMask = 0x007FFFFF;
constexpr std::uint32_t kQuietNanBits = 0x7FC00000;
constexpr std::uint32_t kFloatSignBit = 0x80000000;

constexpr std::string_view kHeader =
    "# tqxfft data file as text; `tqxdata import TEXT FILE` writes it back as the data file.\n"
    "# [function N] holds function N's entry of every field. [entry 0] holds the entries\n"
    "# that belong to no function, and spare the two bytes that belong to no field: both\n"
    "# are kept only so that the file comes back byte for byte.\n"
    "# functionNameSlot, where present, is the name's 30-byte slot as stored (a name\n"
    "# without its NUL, or bytes after it); change it together with functionName.\n";

std::string SectionTitle(int entry) {
  return entry == 0 ? "[entry 0]" : "[function " + std::to_string(entry) + "]";
}

std::string HexBytes(const std::uint8_t* bytes, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, i == 0 ? "%02X" : " %02X", bytes[i]);
    text += hex;
  }
  return text;
}

std::string VoltsText(float volts) {
  if (std::isnan(volts)) {
    char text[20];
    std::snprintf(text, sizeof text, "nan 0x%08X", std::bit_cast<std::uint32_t>(volts));
    return text;
  }
  // The shortest decimal that reads back as the same float.
  char text[32];
  const auto result = std::to_chars(std::begin(text), std::end(text), volts);
  return std::string(text, result.ptr);
}

// The slot needs writing out when its name alone would not rebuild it: no
// NUL in it, or anything but zeros after the NUL.
bool SlotHoldsMoreThanItsName(const std::array<char, kNameSlotBytes>& slot) {
  const auto nul = std::find(slot.begin(), slot.end(), '\0');
  return nul == slot.end() || std::any_of(nul, slot.end(), [](char c) { return c != '\0'; });
}

std::string FieldText(const ConfigRecord& record, int entry, const Field& field) {
  switch (field.kind) {
    case FieldKind::Integer:
      return std::to_string((record.*field.integers)[entry]);
    case FieldKind::Volts:
      return VoltsText((record.*field.volts)[entry]);
    case FieldKind::Name:
      return QuoteName(FunctionNameText(record, entry));
    case FieldKind::NameSlot:
      return HexBytes(reinterpret_cast<const std::uint8_t*>(record.functionName[entry].data()), kNameSlotBytes);
  }
  return {};
}

// ---- Reading ----

struct Refused {
  TextRefusal refusal;
};

[[noreturn]] void Refuse(int line, std::string message) { throw Refused{{line, std::move(message)}}; }

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (true) {
    i = text.find_first_not_of(" \t", i);
    if (i == std::string_view::npos) return words;
    const auto end = std::min(text.find_first_of(" \t", i), text.size());
    words.push_back(text.substr(i, end - i));
    i = end;
  }
}

// Appended rather than "\"" + std::string(text): GCC 12 at -O2 and above warns
// falsely (-Wrestrict) on a literal added in front of a temporary string.
std::string Quoted(std::string_view text) { return std::string("\"").append(text).append("\""); }

std::vector<std::uint8_t> ReadHexBytes(int line, std::string_view key, std::string_view value, std::size_t count) {
  const auto words = Words(value);
  if (words.size() != count) {
    Refuse(line, std::string(key) + ": expected " + std::to_string(count) + " bytes in hex, found " +
                     std::to_string(words.size()));
  }
  std::vector<std::uint8_t> bytes;
  for (const std::string_view word : words) {
    unsigned value = 0;
    const auto result = std::from_chars(word.data(), word.data() + word.size(), value, 16);
    if (word.size() != 2 || result.ec != std::errc() || result.ptr != word.data() + word.size()) {
      Refuse(line, std::string(key) + ": " + Quoted(word) + " is not a byte in hex (two digits, 00 to FF)");
    }
    bytes.push_back(static_cast<std::uint8_t>(value));
  }
  return bytes;
}

std::int32_t ReadInteger(int line, std::string_view key, std::string_view value) {
  std::int32_t number = 0;
  const auto result = std::from_chars(value.data(), value.data() + value.size(), number);
  if (result.ec == std::errc::result_out_of_range) {
    Refuse(line, std::string(key) + ": " + std::string(value) +
                     " is outside the 32-bit range (-2147483648 to 2147483647)");
  }
  if (value.empty() || result.ec != std::errc() || result.ptr != value.data() + value.size()) {
    Refuse(line, std::string(key) + ": " + Quoted(value) + " is not a whole number");
  }
  return number;
}

// A decimal, inf or nan; nan may be followed by the exact bit pattern that
// export writes for it, so a NaN's payload survives.
float ReadVolts(int line, std::string_view key, std::string_view value) {
  const std::string field(key);
  const auto words = Words(value);
  if (words.empty() || words.size() > 2) {
    Refuse(line, field + ": expected a number, or nan and its bit pattern (nan 0x7FC00000)");
  }
  const std::string_view number = words[0];
  float volts = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), volts);
  if (result.ec == std::errc::result_out_of_range) {
    Refuse(line, field + ": " + std::string(number) + " is beyond what a 32-bit float holds");
  }
  if (result.ec != std::errc() || result.ptr != number.data() + number.size()) {
    Refuse(line, field + ": " + Quoted(number) + " is not a number");
  }
  const std::uint32_t sign = std::signbit(volts) ? kFloatSignBit : 0;
  if (words.size() == 1) return std::isnan(volts) ? std::bit_cast<float>(kQuietNanBits | sign) : volts;

  if (!std::isnan(volts)) Refuse(line, field + ": only nan takes a bit pattern; write " + std::string(number) + " alone");
  const std::string_view pattern = words[1];
  std::uint32_t bits = 0;
  const auto digits = pattern.substr(std::min<std::size_t>(2, pattern.size()));
  const auto parsed = std::from_chars(digits.data(), digits.data() + digits.size(), bits, 16);
  if (pattern.size() != 10 || !pattern.starts_with("0x") || parsed.ec != std::errc() ||
      parsed.ptr != digits.data() + digits.size()) {
    Refuse(line, field + ": " + Quoted(pattern) + " is not a bit pattern (0x and eight hex digits)");
  }
  if ((bits & kFloatExponentMask) != kFloatExponentMask || (bits & kFloatMantissaMask) == 0) {
    Refuse(line, field + ": " + std::string(pattern) + " is not the bit pattern of a NaN");
  }
  return std::bit_cast<float>(bits);
}

class RecordTextReader {
 public:
  ConfigRecord Read(std::string_view text) {
    int line = 0;
    std::size_t start = 0;
    while (start < text.size()) {
      const auto end = std::min(text.find('\n', start), text.size());
      ReadLine(++line, Trimmed(text.substr(start, end - start)));
      start = end + 1;
    }
    FinishSection();
    const int lastLine = std::max(line, 1);
    if (spareLine_ == 0) Refuse(lastLine, "the text has no spare line (the two spare bytes, before the first section)");
    for (int entry = 0; entry < kEntryCount; ++entry) {
      if (sectionLine_[entry] == 0) Refuse(lastLine, "the text has no " + SectionTitle(entry) + " section");
    }
    return record_;
  }

 private:
  void ReadLine(int line, std::string_view text) {
    if (text.empty() || text.front() == '#') return;
    if (text.front() == '[') return StartSection(line, text);
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) Refuse(line, "expected KEY = VALUE, a [section] or a # comment");
    const std::string_view key = Trimmed(text.substr(0, equals));
    const std::string_view value = Trimmed(text.substr(equals + 1));

    if (key == kSpareKey) return ReadSpare(line, value);
    const auto field = std::find_if(std::begin(kFields), std::end(kFields), [&](const Field& f) { return f.key == key; });
    if (field == std::end(kFields)) Refuse(line, "unknown key " + Quoted(key));
    if (entry_ < 0) Refuse(line, std::string(key) + " comes before any section; put it under [function N]");
    const auto index = static_cast<std::size_t>(field - std::begin(kFields));
    int& seenOn = keyLine_[index];
    if (seenOn != 0) {
      Refuse(line, std::string(key) + " is given twice in " + SectionTitle(entry_) + " (first on line " +
                       std::to_string(seenOn) + ")");
    }
    seenOn = line;
    ReadField(line, *field, value);
  }

  void StartSection(int line, std::string_view text) {
    const auto words = Words(text.back() == ']' ? text.substr(1, text.size() - 2) : std::string_view{});
    int entry = -1;
    if (words.size() == 2) {
      int number = -1;
      const auto result = std::from_chars(words[1].data(), words[1].data() + words[1].size(), number);
      const bool whole = result.ec == std::errc() && result.ptr == words[1].data() + words[1].size();
      if (whole && words[0] == "entry" && number == 0) entry = 0;
      if (whole && words[0] == "function" && number >= 1 && number <= kFunctionCount) entry = number;
    }
    if (entry < 0) {
      Refuse(line, "unknown section " + Quoted(text) + "; the sections are [entry 0] and [function 1] to [function 8]");
    }
    if (sectionLine_[entry] != 0) {
      Refuse(line, SectionTitle(entry) + " appears twice (first on line " + std::to_string(sectionLine_[entry]) + ")");
    }
    FinishSection();
    entry_ = entry;
    sectionLine_[entry] = line;
    keyLine_.fill(0);
  }

  void ReadSpare(int line, std::string_view value) {
    if (entry_ >= 0) Refuse(line, "spare belongs before the first section, not in " + SectionTitle(entry_));
    if (spareLine_ != 0) Refuse(line, "spare is given twice (first on line " + std::to_string(spareLine_) + ")");
    spareLine_ = line;
    const auto bytes = ReadHexBytes(line, kSpareKey, value, record_.spare.size());
    std::copy(bytes.begin(), bytes.end(), record_.spare.begin());
  }

  void ReadField(int line, const Field& field, std::string_view value) {
    switch (field.kind) {
      case FieldKind::Integer:
        (record_.*field.integers)[entry_] = ReadInteger(line, field.key, value);
        return;
      case FieldKind::Volts:
        (record_.*field.volts)[entry_] = ReadVolts(line, field.key, value);
        return;
      case FieldKind::Name: {
        UnquotedName name = UnquoteName(value);
        if (!name.bytes) Refuse(line, std::string(field.key) + ": " + name.refusal);
        name_ = std::move(*name.bytes);
        return;
      }
      case FieldKind::NameSlot: {
        const auto bytes = ReadHexBytes(line, field.key, value, kNameSlotBytes);
        std::copy(bytes.begin(), bytes.end(), record_.functionName[entry_].begin());
        return;
      }
    }
  }

  // Checks that the section gave every field, and puts its name in its slot.
  void FinishSection() {
    if (entry_ < 0) return;
    const int headerLine = sectionLine_[entry_];
    for (std::size_t i = 0; i < kFieldCount; ++i) {
      if (keyLine_[i] == 0 && kFields[i].kind != FieldKind::NameSlot) {
        Refuse(headerLine, SectionTitle(entry_) + " has no " + std::string(kFields[i].key));
      }
    }
    const int slotLine = keyLine_[FieldIndex(FieldKind::NameSlot)];
    const int nameLine = keyLine_[FieldIndex(FieldKind::Name)];
    auto& slot = record_.functionName[entry_];
    if (slotLine != 0) {
      if (FunctionNameText(record_, entry_) != name_) {
        Refuse(nameLine, "functionName does not match the name held in functionNameSlot (line " +
                             std::to_string(slotLine) + "); change both, or remove functionNameSlot");
      }
      return;
    }
    if (name_.size() >= kNameSlotBytes) {
      Refuse(nameLine, "functionName: " + std::to_string(name_.size()) +
                           " bytes do not fit the 30-byte slot with a NUL after them (29 at most)");
    }
    slot.fill('\0');
    std::copy(name_.begin(), name_.end(), slot.begin());
  }

  static std::size_t FieldIndex(FieldKind kind) {
    return static_cast<std::size_t>(
        std::find_if(std::begin(kFields), std::end(kFields), [&](const Field& f) { return f.kind == kind; }) -
        std::begin(kFields));
  }

  ConfigRecord record_{};
  int entry_ = -1;                          // section being read; -1 before the first
  std::array<int, kEntryCount> sectionLine_{};  // 0 = not seen yet
  std::array<int, kFieldCount> keyLine_{};  // of the section being read
  int spareLine_ = 0;
  std::string name_;
};

}  // namespace

std::string ExportRecordText(const ConfigRecord& record) {
  std::string text(kHeader);
  text += "spare = " + HexBytes(record.spare.data(), record.spare.size()) + "\n";
  for (int entry = 0; entry < kEntryCount; ++entry) {
    text.append("\n").append(SectionTitle(entry)).append("\n");
    for (const Field& field : kFields) {
      if (field.kind == FieldKind::NameSlot && !SlotHoldsMoreThanItsName(record.functionName[entry])) continue;
      text += std::string(field.key) + " = " + FieldText(record, entry, field) + "\n";
    }
  }
  return text;
}

ImportedRecord ImportRecordText(std::string_view text) {
  try {
    return {RecordTextReader().Read(text), {}};
  } catch (const Refused& refused) {
    return {std::nullopt, refused.refusal};
  }
}
