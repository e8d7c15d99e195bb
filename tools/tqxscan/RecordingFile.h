#pragma once
// A recording for the scan, opened on one channel, with a message a user can
// act on when the file will not do.
#include <filesystem>

#include "sim/RecordingReader.h"

// channel counts from 1. The reader is empty, and the error says why, when the
// recording cannot be scanned.
tqxsim::OpenedRecording OpenScanRecording(const std::filesystem::path& path, int channel);
