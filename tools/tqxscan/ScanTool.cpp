#include "tools/tqxscan/ScanTool.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <vector>

#include "config/ConfigFile.h"
#include "detect/ToneDetector.h"
#include "tools/ToolVersion.h"
#include "tools/Utf8Path.h"
#include "tools/tqxscan/RecordingFile.h"
#include "tools/tqxscan/RecordingScan.h"
#include "tools/tqxscan/ScanReport.h"

namespace fs = std::filesystem;

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kWrongCommandLine = 2;
constexpr double kSecondsPerMinute = 60.0;
constexpr double kTickPeriodSeconds = kTickPeriodMs / 1000.0;
// A progress line is redrawn at most this often, in recording time.
constexpr double kProgressStepSeconds = 60.0;

constexpr const char* kUsage =
    "Usage: tqxscan [--quiet] [--summary] [--channel N] [--from TIME] [--to TIME] RECORDING [FILE]\n";
constexpr const char* kTryHelp = "Try 'tqxscan --help' for more.\n";
// Laid out as help2man reads it: the packaged manual page is made from it, and
// its first line after the usage is the page's one-line description.
constexpr const char* kHelp =
    "Run the tqxfft monitor's detection over a recording, offline.\n"
    "\n"
    "Reads a recording (WAV, FLAC, Ogg/Vorbis, Opus or MP3, of any length) as the\n"
    "module would hear it and runs the monitor's detection over it, with the\n"
    "functions of the data file FILE (default tqxdata.bin in the current folder),\n"
    "in the Noisy mode or, with --quiet, the Quiet mode. Prints each tick with the\n"
    "bin heard and each function's count, each function fired, and a summary per\n"
    "function. No module is needed and nothing is switched. On a terminal, a long\n"
    "scan shows its progress on standard error.\n"
    "\n"
    "Options:\n"
    "      --quiet         detect in the Quiet mode: a tick hears the strongest bin\n"
    "      --summary       print only the functions fired and the summary, no\n"
    "                      line per tick\n"
    "      --channel N     listen to channel N of a recording with several\n"
    "                      (default 1)\n"
    "      --from TIME     start the scan TIME into the recording\n"
    "      --to TIME       end the scan TIME into the recording; TIME is seconds\n"
    "                      (90.5) or minutes and seconds (1:30.5, 2:01:30)\n"
    "  -h, --help          print this help and exit\n"
    "      --version       print the version and exit\n"
    "\n"
    "Exit status:\n"
    "  0  the scan ran\n"
    "  1  the recording or the data file will not do\n"
    "  2  a wrong command line\n";

struct ScanRequest {
  std::int32_t environmentMode = kNoisyEnvironment;
  bool summaryOnly = false;
  int channel = 1;
  ScanWindow window;
  std::string recordingPath;
  std::string dataFilePath = kDataFileName;
};

// The whole text as one number, or nothing.
template <typename Number>
std::optional<Number> ParseWhole(const std::string& text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> ParseNumber(const std::string& text) {
  const std::optional<double> value = ParseWhole<double>(text);
  if (!value || !(*value >= 0.0)) return std::nullopt;
  return value;
}

// Seconds, or [H:]M:S with the seconds possibly fractional.
std::optional<double> ParseTime(const std::string& text) {
  double seconds = 0.0;
  std::size_t from = 0;
  for (std::size_t colon; (colon = text.find(':', from)) != std::string::npos; from = colon + 1) {
    const std::optional<double> part = ParseNumber(text.substr(from, colon - from));
    if (!part || *part != std::floor(*part)) return std::nullopt;
    seconds = (seconds + *part) * kSecondsPerMinute;
  }
  const std::optional<double> last = ParseNumber(text.substr(from));
  if (!last) return std::nullopt;
  return seconds + *last;
}

std::optional<int> ParseChannel(const std::string& text) {
  const std::optional<int> channel = ParseWhole<int>(text);
  if (!channel || *channel < 1) return std::nullopt;
  return channel;
}

std::optional<ScanRequest> ParseArguments(std::span<const std::string> arguments, std::ostream& err) {
  const auto wrong = [&err](const std::string& why) {
    err << "tqxscan: " << why << "\n" << kUsage << kTryHelp;
    return std::nullopt;
  };
  ScanRequest request;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool takesValue = argument == "--channel" || argument == "--from" || argument == "--to";
    if (takesValue && i + 1 == arguments.size()) return wrong(argument + " needs a value");
    if (argument == "--quiet") {
      request.environmentMode = kQuietEnvironment;
    } else if (argument == "--summary") {
      request.summaryOnly = true;
    } else if (argument == "--channel") {
      const std::optional<int> channel = ParseChannel(arguments[++i]);
      if (!channel) return wrong("--channel takes a channel number from 1, not " + arguments[i]);
      request.channel = *channel;
    } else if (argument == "--from" || argument == "--to") {
      const std::optional<double> seconds = ParseTime(arguments[++i]);
      if (!seconds) return wrong(argument + " takes seconds or [H:]M:S, not " + arguments[i]);
      (argument == "--from" ? request.window.fromSeconds : request.window.toSeconds) = *seconds;
    } else if (argument.starts_with("-") && argument != "-") {
      return wrong("unknown option " + argument);
    } else {
      files.push_back(argument);
    }
  }
  if (files.empty() || files.size() > 2) {
    err << kUsage << kTryHelp;
    return std::nullopt;
  }
  if (request.window.toSeconds <= request.window.fromSeconds) return wrong("--to must come after --from");
  request.recordingPath = files[0];
  if (files.size() == 2) request.dataFilePath = files[1];
  return request;
}

// The record as the monitor's start-up reads it. A missing file starts the
// monitor with no functions; a scan with none would tell nothing, so here it
// is refused.
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

// How far a scan has come, drawn in place on a terminal. The scan's own lines
// may go to the same terminal: the progress line is wiped before each, and
// drawn again, below them, at its next step.
class ProgressLine {
 public:
  ProgressLine(std::ostream& out, std::ostream& err, bool shown, ScanWindow window, double recordingSeconds)
      : out_(out), err_(err), shown_(shown), fromSeconds_(window.fromSeconds),
        spanSeconds_(std::min(window.toSeconds, recordingSeconds) - window.fromSeconds) {}
  ~ProgressLine() { Wipe(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void At(double seconds) {
    if (!shown_ || seconds < nextSeconds_) return;
    nextSeconds_ = seconds + kProgressStepSeconds;
    const double done = seconds - fromSeconds_;
    out_.flush();
    err_ << "\rtqxscan: " << static_cast<int>(100.0 * done / spanSeconds_) << " % ("
         << static_cast<long long>(done / kSecondsPerMinute) << " of "
         << static_cast<long long>(spanSeconds_ / kSecondsPerMinute) << " min)" << std::flush;
    drawn_ = true;
  }

  void Wipe() {
    if (!drawn_) return;
    err_ << "\r\033[K" << std::flush;
    drawn_ = false;
  }

 private:
  std::ostream& out_;
  std::ostream& err_;
  bool shown_;
  double fromSeconds_;
  double spanSeconds_;
  double nextSeconds_ = 0.0;
  bool drawn_ = false;
};

}  // namespace

int RunScanTool(std::span<const std::string> arguments, std::ostream& out, std::ostream& err, bool showProgress) {
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
  const std::string& path = request->recordingPath;

  tqxsim::OpenedRecording opened = OpenScanRecording(PathFromUtf8(path), request->channel);
  if (!opened.reader) {
    err << "tqxscan: " << path << ": " << opened.error << "\n";
    return kFailed;
  }
  const int channelCount = opened.reader->Channels();
  tqxsim::RecordingStream recording(std::move(opened.reader));
  if (request->window.fromSeconds >= recording.Seconds()) {
    err << "tqxscan: " << path << ": --from lies beyond the recording's end (" << recording.Seconds() << " s)\n";
    return kFailed;
  }
  if (std::min(request->window.toSeconds, recording.Seconds()) - request->window.fromSeconds < kTickPeriodSeconds) {
    err << "tqxscan: " << path << ": the " << (request->window.fromSeconds > 0.0 ? "scanned stretch" : "recording")
        << " lasts less than one tick (100 ms)\n";
    return kFailed;
  }
  const std::optional<ConfigRecord> record = LoadDataFile(request->dataFilePath, err);
  if (!record) return kFailed;

  PrintScanHeader(out, {path, request->channel, channelCount, request->dataFilePath, request->environmentMode},
                  recording);
  if (!request->summaryOnly) PrintTimelineHeading(out);
  FiringTally tally;
  bool fileEndedEarly = false;
  {
    ProgressLine progress(out, err, showProgress, request->window, recording.Seconds());
    const auto report = [&](const TickOutcome& tick) {
      if (!request->summaryOnly) {
        progress.Wipe();
        PrintTimelineRow(out, tick, *record);
      } else if (tick.firedFunction != 0) {
        progress.Wipe();
        PrintFired(out, tick, *record);
      }
      tally.Add(tick);
      progress.At(tick.seconds);
    };
    fileEndedEarly = RunScan(recording, *record, request->environmentMode, request->window, report);
  }
  if (fileEndedEarly) {
    err << "tqxscan: " << path << ": the file ends before the length its header announces; scanned up to there\n";
    return kFailed;
  }
  PrintSummary(out, tally, *record);
  return kDone;
}
