#include "tools/tqxscan/ToneTool.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>

#include "tools/Utf8Path.h"
#include "tools/tqxscan/ProgressLine.h"
#include "tools/tqxscan/FunctionProposal.h"
#include "tools/tqxscan/RecordingFile.h"
#include "tools/tqxscan/ScanReport.h"
#include "tools/tqxscan/ToneFinder.h"
#include "tools/tqxscan/TonePlot.h"
#include "tools/tqxscan/ToneReport.h"

namespace {

constexpr const char* kEndedEarly = ": the file ends before the length its header announces; scanned up to there\n";

// The recording once more with the functions proposed, their counts out of
// reach, to see how far each count rises over its tones.
bool MeasureCountRise(const ScanRequest& request, FunctionProposal& proposal, const ToneFindings& findings,
                      std::ostream& err) {
  std::optional<ScanInput> input = OpenScanInput(request, err);
  if (!input) return false;
  CountRise rise(findings, proposal.own);
  if (RunScan(*input->recording, proposal.record, request.environmentMode, request.window,
              [&rise](const TickOutcome& tick) { rise.Add(tick); })) {
    err << "tqxscan: " << request.recordingPath << kEndedEarly;
    return false;
  }
  ChooseRequiredCounts(proposal, rise);
  return true;
}

// The recording once more, from its start, with the functions: every fire
// checked against the tones found, and marked in the picture.
bool Replay(const ScanRequest& request, const ConfigRecord& record, const ToneFindings& findings, OwnTones own,
            std::ostream& report, TonePlot& plot, std::ostream& err) {
  std::optional<ScanInput> input = OpenScanInput(request, err);
  if (!input) return false;
  ReplayCheck check(findings, record, std::move(own));
  const bool endedEarly = RunScan(*input->recording, record, request.environmentMode, request.window,
                                  [&](const TickOutcome& tick) {
                                    check.Add(tick, report);
                                    if (tick.firedFunction != 0) plot.AddFire(tick.firedFunction, tick.seconds);
                                  });
  check.PrintSummary(report, request.environmentMode);
  if (endedEarly) err << "tqxscan: " << request.recordingPath << kEndedEarly;
  return !endedEarly;
}

bool WritePlot(const std::string& path, const TonePlot& plot, const ToneFindings& findings,
               const ConfigRecord* functions, std::ostream& err) {
  std::ofstream file(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
  if (file) plot.Write(file, findings, functions);
  if (!file || !file.flush()) {
    err << "tqxscan: " << path << ": the picture cannot be written there\n";
    return false;
  }
  return true;
}

}  // namespace

int RunToneTool(const ScanRequest& request, std::ostream& out, std::ostream& err, bool showProgress) {
  const bool defining = !request.definePath.empty();
  std::error_code error;
  if (defining && !request.force && std::filesystem::exists(PathFromUtf8(request.definePath), error)) {
    err << "tqxscan: " << request.definePath << ": exists already and is kept; name a new file, or add --force\n";
    return kFailed;
  }
  std::optional<ScanInput> input = OpenScanInput(request, err);
  if (!input) return kFailed;
  tqxsim::OpenedRecording native = OpenScanRecording(PathFromUtf8(request.recordingPath), request.channel);
  if (!native.reader) {
    err << "tqxscan: " << request.recordingPath << ": " << native.error << "\n";
    return kFailed;
  }
  std::optional<ConfigRecord> functions;
  if (request.dataFileNamed && !(functions = LoadDataFile(request.dataFilePath, err))) return kFailed;

  ToneFindings findings;
  bool complete = false;
  {
    ProgressLine progress(out, err, showProgress, request.window, input->recording->Seconds());
    complete = FindTones(*native.reader, *input->recording, request.window, findings,
                         [&progress](double seconds) { progress.At(seconds); });
  }
  if (request.json) {
    PrintToneJson(out, findings);
  } else {
    PrintRecordingLine(out, {request.recordingPath, request.channel, input->channelCount, "", 0}, *input->recording);
    out << "\n";
    PrintToneTable(out, findings);
    PrintDistinctTones(out, findings);
  }
  if (!complete) {
    err << "tqxscan: " << request.recordingPath << kEndedEarly;
    return kFailed;
  }

  // With JSON on standard output, what is said for people goes to standard
  // error, so the output stays one object per line.
  std::ostream& report = request.json ? err : out;
  std::optional<FunctionProposal> proposal;
  if (defining) {
    proposal = ProposeFunctions(findings, request.environmentMode);
    if (!MeasureCountRise(request, *proposal, findings, err)) return kFailed;
    if (const std::error_code written = WriteConfigFile(proposal->record, PathFromUtf8(request.definePath))) {
      err << "tqxscan: " << request.definePath << ": cannot be written (" << written.message() << ")\n";
      return kFailed;
    }
    PrintProposal(report, *proposal, findings, request.definePath);
    functions = proposal->record;
  }
  TonePlot plot(request.recordingPath, request.window.fromSeconds,
                std::min(request.window.toSeconds, input->recording->Seconds()));
  if (functions &&
      !Replay(request, *functions, findings, proposal ? proposal->own : OwnTonesOf(*functions, findings), report, plot,
              err)) {
    return kFailed;
  }
  if (!request.plotPath.empty() &&
      !WritePlot(request.plotPath, plot, findings, functions ? &*functions : nullptr, err)) {
    return kFailed;
  }
  return kDone;
}
