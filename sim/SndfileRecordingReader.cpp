// Recordings through the packaged sound-file library: WAV in all its forms
// (extensible, RF64, W64), FLAC, Ogg, Opus, MP3 and whatever else the library
// was built with, in any sample format.
#include <sndfile.h>

#include <algorithm>
#include <vector>

#include "sim/RecordingReader.h"

namespace tqxsim {

namespace {

// Interleaved frames are read this many at a time and the chosen channel
// taken out of them.
constexpr std::size_t kInterleavedBlockFrames = 4096;

class SndfileRecordingReader final : public RecordingReader {
 public:
  SndfileRecordingReader(SNDFILE* file, const SF_INFO& info, int channel)
      : file_(file), info_(info), channelIndex_(channel - 1) {}
  ~SndfileRecordingReader() override { sf_close(file_); }
  SndfileRecordingReader(const SndfileRecordingReader&) = delete;
  SndfileRecordingReader& operator=(const SndfileRecordingReader&) = delete;

  double SampleRateHz() const override { return info_.samplerate; }
  int Channels() const override { return info_.channels; }
  std::int64_t Frames() const override { return info_.frames; }

  std::size_t Read(std::span<float> samples) override {
    if (info_.channels == 1) {
      return static_cast<std::size_t>(sf_readf_float(file_, samples.data(), Count(samples.size())));
    }
    const auto channels = static_cast<std::size_t>(info_.channels);
    std::size_t done = 0;
    while (done < samples.size()) {
      const std::size_t wanted = std::min(kInterleavedBlockFrames, samples.size() - done);
      interleaved_.resize(wanted * channels);
      const auto read = static_cast<std::size_t>(sf_readf_float(file_, interleaved_.data(), Count(wanted)));
      for (std::size_t frame = 0; frame < read; ++frame) {
        samples[done + frame] = interleaved_[frame * channels + static_cast<std::size_t>(channelIndex_)];
      }
      done += read;
      if (read < wanted) break;
    }
    return done;
  }

  bool Seek(std::int64_t frame) override { return sf_seek(file_, frame, SEEK_SET) == frame; }

  bool SeeksCheaply() const override {
    // FLAC names its samples' depth as a PCM subtype, but is compressed.
    if ((info_.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_FLAC) return false;
    switch (info_.format & SF_FORMAT_SUBMASK) {
      case SF_FORMAT_PCM_S8: case SF_FORMAT_PCM_U8: case SF_FORMAT_PCM_16: case SF_FORMAT_PCM_24:
      case SF_FORMAT_PCM_32: case SF_FORMAT_FLOAT: case SF_FORMAT_DOUBLE:
        return true;
      default:
        return false;
    }
  }

 private:
  static sf_count_t Count(std::size_t frames) { return static_cast<sf_count_t>(frames); }

  SNDFILE* file_;
  SF_INFO info_;
  int channelIndex_;
  std::vector<float> interleaved_;
};

}  // namespace

OpenedRecording OpenRecording(const std::filesystem::path& path, int channel) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) {
    return {nullptr, std::string("not a recording this program reads (") + sf_strerror(nullptr) + ")"};
  }
  return UsableRecording(std::make_unique<SndfileRecordingReader>(file, info, channel), channel);
}

}  // namespace tqxsim
