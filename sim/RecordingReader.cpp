#include "sim/RecordingReader.h"

namespace tqxsim {

OpenedRecording UsableRecording(std::unique_ptr<RecordingReader> reader, int channel) {
  const int channels = reader->Channels();
  std::string error;
  if (reader->Frames() <= 0) {
    error = "the recording holds no samples";
  } else if (reader->SampleRateHz() <= 0) {
    error = "sample rate 0";
  } else if (channel < 1 || channel > channels) {
    error = "has no channel " + std::to_string(channel) + " (" + std::to_string(channels) + " channel" +
            (channels == 1 ? "" : "s") + ")";
  }
  if (!error.empty()) return {nullptr, error};
  return {std::move(reader), ""};
}

}  // namespace tqxsim
