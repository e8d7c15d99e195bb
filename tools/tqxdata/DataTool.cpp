#include "tools/tqxdata/DataTool.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <vector>

#include "config/ConfigFile.h"
#include "tools/ToolVersion.h"
#include "tools/Utf8Path.h"
#include "tools/tqxdata/RecordSummary.h"
#include "tools/tqxdata/RecordText.h"

namespace fs = std::filesystem;

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kWrongCommandLine = 2;
constexpr const char* kStandardInput = "-";
// Every record byte takes at most two file bytes.
constexpr std::size_t kLongestDataFileBytes = 2 * kConfigRecordBytes;

constexpr const char* kUsage =
    "Usage: tqxdata show [FILE]\n"
    "  or:  tqxdata export FILE\n"
    "  or:  tqxdata import TEXT FILE\n";
// Laid out as help2man reads it: the packaged manual page is made from it, and
// its first line after the usage is the page's one-line description.
constexpr const char* kHelp =
    "Show the tqxfft monitor's data file, export it as text, import it from text.\n"
    "\n"
    "Commands:\n"
    "  show [FILE]         the eight functions, readably; FILE defaults to tqxdata.bin\n"
    "                      in the current folder\n"
    "  export FILE         the data file as text, on standard output\n"
    "  import TEXT FILE    write the data file FILE from the text file TEXT (- for\n"
    "                      standard input); a refused text writes nothing\n"
    "\n"
    "The monitor started from the desktop menu or by tqxfft-launch keeps its data\n"
    "file in ~/.local/share/tqxfft (or $XDG_DATA_HOME/tqxfft); started directly, in\n"
    "the folder it was started in. It reads the file only at start-up: close it\n"
    "before an import.\n"
    "\n"
    "Options:\n"
    "  -h, --help          print this help and exit\n"
    "      --version       print the version and exit\n"
    "\n"
    "Exit status:\n"
    "  0  done\n"
    "  1  a file could not be read, parsed or written\n"
    "  2  a wrong command line\n";

// Reads the file as the monitor would, and says so when that is not the
// whole record or not all of the file.
std::optional<ConfigRecord> LoadDataFile(const fs::path& path, std::ostream& err) {
  std::error_code error;
  if (!fs::exists(path, error)) {
    err << "tqxdata: " << Utf8FromPath(path) << ": no such file\n";
    return std::nullopt;
  }
  if (fs::is_directory(path, error)) {
    err << "tqxdata: " << Utf8FromPath(path) << ": is a folder, not a data file\n";
    return std::nullopt;
  }
  // What the monitor reads from the file is decided by its first bytes; the
  // rest only tells whether the file is longer than the record.
  std::vector<std::uint8_t> file(kLongestDataFileBytes + 1);
  std::ifstream in(path, std::ios::binary);
  if (in) in.read(reinterpret_cast<char*>(file.data()), static_cast<std::streamsize>(file.size()));
  if (!in && !in.eof()) {
    err << "tqxdata: " << Utf8FromPath(path) << ": cannot be read\n";
    return std::nullopt;
  }
  file.resize(static_cast<std::size_t>(in.gcount()));
  ConfigRecord record{};
  const std::size_t filled = DecodeDataFile(file, record);
  if (filled < kConfigRecordBytes) {
    err << "tqxdata: warning: " << Utf8FromPath(path) << " holds only " << filled << " of the record's "
        << kConfigRecordBytes << " bytes; the rest reads as zero, as in the monitor\n";
  } else if (EncodeDataFile(record) != file) {
    err << "tqxdata: warning: " << Utf8FromPath(path) << " is not exactly as the monitor writes its record ("
        << fs::file_size(path, error) << " bytes); what follows is what the monitor reads from it\n";
  }
  return record;
}

std::optional<std::string> ReadText(const std::string& name, std::istream& in, std::ostream& err) {
  std::ostringstream text;
  if (name == kStandardInput) {
    text << in.rdbuf();
    return text.str();
  }
  std::ifstream file(PathFromUtf8(name), std::ios::binary);
  if (!file) {
    err << "tqxdata: " << name << ": cannot be read\n";
    return std::nullopt;
  }
  text << file.rdbuf();
  return text.str();
}

// The monitor's message names only its own file; a tool that writes any path
// says which one failed, and why.
bool WriteDataFile(const ConfigRecord& record, const fs::path& path, std::ostream& err) {
  const std::error_code error = WriteConfigFile(record, path);
  if (error) {
    err << "tqxdata: " << Utf8FromPath(path) << " could not be written (" << error.message()
        << "); the file is as it was\n";
  }
  return !error;
}

int Show(const fs::path& path, std::ostream& out, std::ostream& err) {
  const auto record = LoadDataFile(path, err);
  if (!record) return kFailed;
  out << SummariseRecord(*record);
  return kDone;
}

int Export(const fs::path& path, std::ostream& out, std::ostream& err) {
  const auto record = LoadDataFile(path, err);
  if (!record) return kFailed;
  out << ExportRecordText(*record);
  return kDone;
}

int Import(const std::string& textName, const fs::path& path, std::istream& in, std::ostream& err) {
  const auto text = ReadText(textName, in, err);
  if (!text) return kFailed;
  const ImportedRecord imported = ImportRecordText(*text);
  if (!imported.record) {
    err << "tqxdata: " << (textName == kStandardInput ? "standard input" : textName) << ":"
        << imported.refusal.line << ": " << imported.refusal.message << "\n"
        << "tqxdata: nothing was written\n";
    return kFailed;
  }
  return WriteDataFile(*imported.record, path, err) ? kDone : kFailed;
}

}  // namespace

int RunDataTool(std::span<const std::string> arguments, std::istream& in, std::ostream& out, std::ostream& err) {
  const std::string command = arguments.empty() ? "" : arguments[0];
  const std::size_t operands = arguments.empty() ? 0 : arguments.size() - 1;
  if (command == "show" && operands <= 1) return Show(operands == 1 ? PathFromUtf8(arguments[1]) : kDataFileName, out, err);
  if (command == "export" && operands == 1) return Export(PathFromUtf8(arguments[1]), out, err);
  if (command == "import" && operands == 2) return Import(arguments[1], PathFromUtf8(arguments[2]), in, err);
  if (command == "--help" || command == "-h") {
    out << kUsage << kHelp;
    return kDone;
  }
  if (command == "--version" && operands == 0) {
    out << "tqxdata " << kProjectVersion << "\n";
    return kDone;
  }
  err << kUsage << "Try 'tqxdata --help' for more.\n";
  return kWrongCommandLine;
}
