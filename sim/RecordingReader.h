#pragma once
// Recordings read a block at a time, one channel of them, so that neither the
// simulated module's input nor tqxscan ever holds a whole file. In sim/ because
// both read through it and tqxscan already links the module's model.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

namespace tqxsim {

class RecordingReader {
 public:
  virtual ~RecordingReader() = default;

  virtual double SampleRateHz() const = 0;
  virtual int Channels() const = 0;
  // As the file announces it; a stream may end sooner.
  virtual std::int64_t Frames() const = 0;
  // The next frames of the chosen channel from the reading position, full
  // scale as -1 to +1. Returns how many were read, 0 at the end.
  virtual std::size_t Read(std::span<float> samples) = 0;
  // Moves the reading position; false when the file cannot go there.
  virtual bool Seek(std::int64_t frame) = 0;
  // True when a seek costs no more than a read of a few frames (frames lie at
  // fixed places in the file); a compressed stream decodes its way there.
  virtual bool SeeksCheaply() const = 0;
};

struct OpenedRecording {
  std::unique_ptr<RecordingReader> reader;
  std::string error;  // what is wrong with the file, when reader is empty
};

// channel counts from 1.
OpenedRecording OpenRecording(const std::filesystem::path& path, int channel);

// For the readers: the opened recording, or why it cannot be played from
// that channel.
OpenedRecording UsableRecording(std::unique_ptr<RecordingReader> reader, int channel);

}  // namespace tqxsim
