#include "tools/tqxscan/ScanTool.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <vector>

#include "config/ConfigFile.h"
#include "detect/ToneDetector.h"
#include "tools/ToolVersion.h"
#include "tools/tqxscan/RecordingScan.h"
#include "tools/tqxscan/ScanReport.h"

namespace fs = std::filesystem;

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kWrongCommandLine = 2;
constexpr std::int32_t kQuietEnvironment = 1;

constexpr const char* kUsage = "Usage: tqxscan [--quiet] RECORDING.wav [FILE]\n";
// Laid out as help2man reads it: the packaged manual page is made from it, and
// its first line after the usage is the page's one-line description.
constexpr const char* kTryHelp = "Try 'tqxscan --help' for more.\n";
constexpr const char* kHelp =
    "Run the tqxfft monitor's detection over a WAV recording, offline.\n"
    "\n"
    "Reads a mono WAV recording as the module would hear it and runs the monitor's\n"
    "detection over it, with the functions of the data file FILE (default\n"
    "tqxdata.bin in the current folder), in the Noisy mode or, with --quiet, the\n"
    "Quiet mode. Prints each tick with the bin heard and each function's count,\n"
    "each function fired, and a summary per function. No module is needed and\n"
    "nothing is switched.\n"
    "\n"
    "Options:\n"
    "      --quiet         detect in the Quiet mode: a tick hears the strongest bin\n"
    "  -h, --help          print this help and exit\n"
    "      --version       print the version and exit\n"
    "\n"
    "Exit status:\n"
    "  0  the scan ran\n"
    "  1  the recording or the data file will not do\n"
    "  2  a wrong command line\n";

struct ScanRequest {
  std::int32_t environmentMode = kNoisyEnvironment;
  std::string recordingPath;
  std::string dataFilePath = kDataFileName;
};

std::optional<ScanRequest> ParseArguments(std::span<const std::string> arguments, std::ostream& err) {
  ScanRequest request;
  std::vector<std::string> files;
  for (const std::string& argument : arguments) {
    if (argument == "--quiet") {
      request.environmentMode = kQuietEnvironment;
    } else if (argument.starts_with("-") && argument != "-") {
      err << "tqxscan: unknown option " << argument << "\n" << kUsage << kTryHelp;
      return std::nullopt;
    } else {
      files.push_back(argument);
    }
  }
  if (files.empty() || files.size() > 2) {
    err << kUsage << kTryHelp;
    return std::nullopt;
  }
  request.recordingPath = files[0];
  if (files.size() == 2) request.dataFilePath = files[1];
  return request;
}

// The record as the monitor's start-up reads it. A missing file starts the
// monitor with no functions; a scan with none would tell nothing, so here it
// is refused.
std::optional<ConfigRecord> LoadDataFile(const std::string& path, std::ostream& err) {
  std::error_code error;
  if (!fs::exists(path, error)) {
    err << "tqxscan: " << path << ": no such data file; name the monitor's data file after the recording\n";
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in || fs::is_directory(path, error)) {
    err << "tqxscan: " << path << ": cannot be read as a data file\n";
    return std::nullopt;
  }
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ConfigRecord record{};
  const std::size_t filled = DecodeDataFile(file, record);
  if (filled < kConfigRecordBytes) {
    err << "tqxscan: warning: " << path << " holds only " << filled << " of the record's " << kConfigRecordBytes
        << " bytes; the rest reads as zero, as in the monitor\n";
  }
  return record;
}

}  // namespace

int RunScanTool(std::span<const std::string> arguments, std::ostream& out, std::ostream& err) {
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
    out << kUsage << kHelp;
    return kDone;
  }
  if (arguments.size() == 1 && arguments[0] == "--version") {
    out << "tqxscan " << kProjectVersion << "\n";
    return kDone;
  }
  const std::optional<ScanRequest> request = ParseArguments(arguments, err);
  if (!request) return kWrongCommandLine;

  const ScanRecording recording = LoadRecording(request->recordingPath);
  if (!recording.error.empty()) {
    err << "tqxscan: " << request->recordingPath << ": " << recording.error << "\n";
    return kFailed;
  }
  const std::optional<ConfigRecord> record = LoadDataFile(request->dataFilePath, err);
  if (!record) return kFailed;

  const std::vector<TickOutcome> ticks = RunScan(recording, *record, request->environmentMode);
  if (ticks.empty()) {
    err << "tqxscan: " << request->recordingPath << ": the recording lasts less than one tick (100 ms)\n";
    return kFailed;
  }
  PrintScanHeader(out, request->recordingPath, recording, request->dataFilePath, request->environmentMode);
  PrintTimeline(out, ticks, *record);
  PrintSummary(out, ticks, *record);
  return kDone;
}
