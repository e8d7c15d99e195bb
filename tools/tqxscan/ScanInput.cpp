#include "tools/tqxscan/ScanInput.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <vector>

#include "tools/Utf8Path.h"
#include "tools/tqxscan/RecordingFile.h"

namespace fs = std::filesystem;

std::optional<ScanInput> OpenScanInput(const ScanRequest& request, std::ostream& err) {
  const std::string& path = request.recordingPath;
  tqxsim::OpenedRecording opened = OpenScanRecording(PathFromUtf8(path), request.channel);
  if (!opened.reader) {
    err << "tqxscan: " << path << ": " << opened.error << "\n";
    return std::nullopt;
  }
  ScanInput input{nullptr, opened.reader->Channels()};
  input.recording = std::make_unique<tqxsim::RecordingStream>(std::move(opened.reader));
  const double seconds = input.recording->Seconds();
  if (request.window.fromSeconds >= seconds) {
    err << "tqxscan: " << path << ": --from lies beyond the recording's end (" << seconds << " s)\n";
    return std::nullopt;
  }
  if (std::min(request.window.toSeconds, seconds) - request.window.fromSeconds < kTickPeriodSeconds) {
    err << "tqxscan: " << path << ": the " << (request.window.fromSeconds > 0.0 ? "scanned stretch" : "recording")
        << " lasts less than one tick (100 ms)\n";
    return std::nullopt;
  }
  return input;
}

std::optional<ConfigRecord> LoadDataFile(const std::string& path, std::ostream& err) {
  const fs::path file = PathFromUtf8(path);
  std::error_code error;
  if (!fs::exists(file, error)) {
    err << "tqxscan: " << path << ": no such data file; name the monitor's data file after the recording\n";
    return std::nullopt;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in || fs::is_directory(file, error)) {
    err << "tqxscan: " << path << ": cannot be read as a data file\n";
    return std::nullopt;
  }
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ConfigRecord record{};
  const std::size_t filled = DecodeDataFile(bytes, record);
  if (filled < kConfigRecordBytes) {
    err << "tqxscan: warning: " << path << " holds only " << filled << " of the record's " << kConfigRecordBytes
        << " bytes; the rest reads as zero, as in the monitor\n";
  }
  return record;
}
