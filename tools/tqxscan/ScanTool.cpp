#include "tools/tqxscan/ScanTool.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>
#include <ostream>
#include <vector>

#include "detect/ToneDetector.h"
#include "tools/ToolVersion.h"
#include "tools/Utf8Path.h"
#include "tools/tqxscan/ProgressLine.h"
#include "tools/tqxscan/RecordingScan.h"
#include "tools/tqxscan/ScanInput.h"
#include "tools/tqxscan/ScanReport.h"
#include "tools/tqxscan/ToneTool.h"

namespace fs = std::filesystem;

namespace {

constexpr double kSecondsPerMinute = 60.0;

constexpr const char* kUsage =
    "Usage: tqxscan [--quiet] [--summary] [--channel N] [--from TIME] [--to TIME] RECORDING [FILE]\n"
    "       tqxscan --tones [--json] [--define NEW_FILE [--force]] [--plot PICTURE.svg] [--quiet]\n"
    "               [--channel N] [--from TIME] [--to TIME] RECORDING [FILE]\n";
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
    "With --tones, finds the steady tones the recording holds instead, and needs no\n"
    "data file: each tone's start, end, frequency and level as measured from the\n"
    "recording, the bins it lands in and whether each mode hears it, with flags\n"
    "for what would keep a function from answering it. --define writes a new data\n"
    "file with one function per tone the Noisy mode hears (no actions enabled) and\n"
    "replays the recording with it; --plot draws the tones (and the fires of the\n"
    "functions of FILE or of the new file) as an SVG picture.\n"
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
    "      --tones         find the tones the recording holds\n"
    "      --json          with --tones: one JSON object per tone, one per line\n"
    "      --define FILE   with --tones: write functions for the tones found to the\n"
    "                      new data file FILE and replay the recording with them\n"
    "      --force         with --define: replace FILE if it exists\n"
    "      --plot FILE     with --tones: draw the tones into the SVG picture FILE\n"
    "  -h, --help          print this help and exit\n"
    "      --version       print the version and exit\n"
    "\n"
    "Exit status:\n"
    "  0  the scan ran\n"
    "  1  the recording or a data file will not do\n"
    "  2  a wrong command line\n";


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
    const bool takesValue = argument == "--channel" || argument == "--from" || argument == "--to" ||
                            argument == "--define" || argument == "--plot";
    if (takesValue && i + 1 == arguments.size()) return wrong(argument + " needs a value");
    if (argument == "--quiet") {
      request.environmentMode = kQuietEnvironment;
    } else if (argument == "--summary") {
      request.summaryOnly = true;
    } else if (argument == "--tones") {
      request.tones = true;
    } else if (argument == "--json") {
      request.json = true;
    } else if (argument == "--force") {
      request.force = true;
    } else if (argument == "--define") {
      request.definePath = arguments[++i];
    } else if (argument == "--plot") {
      request.plotPath = arguments[++i];
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
  if (!request.tones && (request.json || request.force || !request.definePath.empty() || !request.plotPath.empty())) {
    return wrong("--json, --define, --force and --plot go with --tones");
  }
  if (request.tones && request.summaryOnly) return wrong("--summary is for a scan, not --tones");
  if (request.force && request.definePath.empty()) return wrong("--force goes with --define");
  if (!request.definePath.empty() && files.size() == 2) return wrong("--define makes its own data file; name no FILE");
  request.recordingPath = files[0];
  if (files.size() == 2) request.dataFilePath = files[1];
  request.dataFileNamed = files.size() == 2;
  return request;
}

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
  if (request->tones) return RunToneTool(*request, out, err, showProgress);
  const std::string& path = request->recordingPath;
  std::optional<ScanInput> input = OpenScanInput(*request, err);
  if (!input) return kFailed;
  tqxsim::RecordingStream& recording = *input->recording;
  const int channelCount = input->channelCount;
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
