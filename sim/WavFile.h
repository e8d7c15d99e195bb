#pragma once
// Mono WAV recordings for the analog input (TQXSIM_SIGNAL=wav:PATH): integer
// PCM of 8, 16, 24 or 32 bits, or 32-bit float. Full scale maps onto the
// converter's 0 to 5 V around a 2.5 V bias.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tqxsim {

struct WavRecording {
  std::vector<double> volts;
  double sampleRateHz = 0.0;
  std::string error;  // empty when the file was read
};

WavRecording ParseWav(std::span<const std::uint8_t> file);
WavRecording ReadWav(const std::string& path);

}  // namespace tqxsim
