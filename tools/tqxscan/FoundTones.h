#pragma once
// The steady tones a recording holds, each as measured from the recording
// itself and as the module's 128-point levels show it, with what the user
// needs to know before making a function of it.
#include <cstdint>
#include <vector>

enum class ToneFlag : unsigned {
  BetweenBins = 1u << 0,      // its strongest bin reads 1 dB or more below a tone centred in a bin
  BelowRange = 1u << 1,       // it lands in bins the monitor never listens to
  AboveRange = 1u << 2,       // above 2 kHz: it folds into a bin nobody meant
  TooWeakForNoisy = 1u << 3,  // in range, and no bin above the Noisy mode's -20 dB
  Short = 1u << 4,            // fewer ticks than a count of 3 needs
  SharesBins = 1u << 5,       // another tone found lands in one of its bins
};
inline constexpr ToneFlag kToneFlags[] = {ToneFlag::BetweenBins,     ToneFlag::BelowRange, ToneFlag::AboveRange,
                                          ToneFlag::TooWeakForNoisy, ToneFlag::Short,      ToneFlag::SharesBins};
// The flag's name in reports and in JSON.
const char* ToneFlagName(ToneFlag flag);

struct ModuleBin {
  int bin = 0;
  double levelDb = 0.0;  // the module's level over the tone
};

struct FoundTone {
  double startSeconds = 0.0;
  double endSeconds = 0.0;
  double frequencyHz = 0.0;  // measured at the recording's own rate
  double levelDb = 0.0;      // re 1 V RMS at the module's input, as the module's levels count
  double foldsToHz = 0.0;    // where the module's sampling puts it (its frequency unless it folds)
  std::vector<ModuleBin> bins;  // strongest first, at most three
  bool noisyHears = false;      // some bin of the monitor's above -20 dB
  bool quietHears = false;      // it is the peak bin in most of its ticks
  int noisyTicks = 0;           // ticks in which a bin of it reads above -20 dB
  int quietTicks = 0;           // ticks in which a bin of it is the peak
  unsigned flags = 0;
  int distinct = 0;  // index into ToneFindings::distinct

  bool Has(ToneFlag flag) const { return (flags & static_cast<unsigned>(flag)) != 0; }
};

// Tones of one frequency, however often they occur.
struct DistinctTone {
  double frequencyHz = 0.0;  // the mean of its occurrences
  int occurrences = 0;
  std::vector<ModuleBin> bins;  // as its first occurrence landed
  bool noisyHears = false;      // in some occurrence
  std::vector<int> sharesBinsWith;  // other distinct tones landing in one of its bins
};

struct ToneFindings {
  std::vector<FoundTone> tones;  // by start
  std::vector<DistinctTone> distinct;
};

// The bins of a tone the monitor listens to (15 to 64), strongest first.
std::vector<std::int32_t> ListenedBins(const std::vector<ModuleBin>& bins);
