#pragma once
// The 44-byte header of a plain 16-bit PCM WAV file, for the programs that
// write recordings to try the reader on (the guide's demo recording, the tone
// finder's measurement). Header only: neither links the simulator.
#include <cstdint>
#include <ostream>

namespace tqxsim {

inline void PutLittleEndian(std::ostream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>(value >> (8 * i)));
}

// dataBytes: the samples that follow, interleaved, two bytes each.
inline void WritePcm16WavHeader(std::ostream& out, std::uint32_t rateHz, std::uint32_t channels,
                                std::uint32_t dataBytes) {
  out.write("RIFF", 4);
  PutLittleEndian(out, 36 + dataBytes, 4);
  out.write("WAVEfmt ", 8);
  PutLittleEndian(out, 16, 4);  // the format chunk's size
  PutLittleEndian(out, 1, 2);   // integer PCM
  PutLittleEndian(out, channels, 2);
  PutLittleEndian(out, rateHz, 4);
  PutLittleEndian(out, rateHz * 2 * channels, 4);
  PutLittleEndian(out, 2 * channels, 2);
  PutLittleEndian(out, 16, 2);
  out.write("data", 4);
  PutLittleEndian(out, dataBytes, 4);
}

}  // namespace tqxsim
