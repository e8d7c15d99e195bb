#pragma once
// The steady components of one stretch of a recording, at the recording's own
// sample rate: a Hann-windowed transform of about 0.1 s, its local maxima that
// stand clear of the stretch's noise, each with its frequency and amplitude
// interpolated between transform points. The module's 128-point levels cannot
// place a tone closer than its 31.7 Hz bins; these can, to a fraction of a Hz.
#include <span>
#include <vector>

struct SpectralPeak {
  double frequencyHz = 0.0;
  double amplitude = 0.0;     // of full scale, as a sine of that amplitude would give
  double powerShare = 0.0;    // of the power around it, 0 to 1
};

class SpectralPeaks {
 public:
  explicit SpectralPeaks(double sampleRateHz);

  // The stretch's length in samples: the power of two nearest to a tick
  // (100 ms), so that two tones a bin of the module apart stay apart (at
  // 8 kHz 1024, 128 ms; at 48 kHz 4096, 85 ms).
  int Length() const { return length_; }
  double LengthSeconds() const { return length_ / sampleRateHz_; }

  // The peaks of samples (Length() of them, full scale -1 to +1), strongest
  // first.
  const std::vector<SpectralPeak>& Find(std::span<const float> samples);

 private:
  struct Candidate {
    int point;
    double power;
  };

  void Transform();

  double sampleRateHz_;
  int length_;
  std::vector<double> window_;
  std::vector<double> cosines_, sines_;  // the twiddles of the half-length complex transform
  std::vector<int> bitReversed_;
  std::vector<double> real_, imag_;      // half-length complex working data
  std::vector<double> power_;            // per transform point 0 to Length()/2
  std::vector<double> sorted_;           // scratch for the noise floor
  std::vector<Candidate> candidates_, kept_;  // scratch, kept to spare an allocation per stretch
  std::vector<SpectralPeak> peaks_;
};
