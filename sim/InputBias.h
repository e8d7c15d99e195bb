#pragma once
// The level the module's analog input rests at: the middle of its 0 to 5 V,
// where silence, tones and recordings are all centred.
namespace tqxsim {

inline constexpr double kInputBiasVolts = 2.5;
// A recording's full scale swings this far either side of the bias: -1 to +1
// onto 0 to 5 V.
inline constexpr double kRecordingFullScaleVolts = 2.5;

}  // namespace tqxsim
