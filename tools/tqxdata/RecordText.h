#pragma once
// The data file's record as plain text, for people who keep their setups in
// version control: one section per function, keys named as the record's
// fields. Every record of 956 bytes, whatever they hold, comes back from its
// text byte for byte: entry 0 of every array has a section of its own, the
// spare bytes a line, NaN volts keep their bit pattern, and a name slot that
// holds more than its name is written out whole.
#include <optional>
#include <string>
#include <string_view>

#include "config/ConfigRecord.h"

std::string ExportRecordText(const ConfigRecord& record);

struct TextRefusal {
  int line;             // 1-based line of the text the refusal is about
  std::string message;
};

struct ImportedRecord {
  std::optional<ConfigRecord> record;  // empty when the text was refused
  TextRefusal refusal;
};

// Reads a whole text as ExportRecordText writes it (keys in any order within a
// section, blank lines and '#' comment lines anywhere). Every field of every
// section must be given exactly once; the first fault found refuses the text.
ImportedRecord ImportRecordText(std::string_view text);
