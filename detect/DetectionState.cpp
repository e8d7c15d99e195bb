#include "detect/DetectionState.h"

BinHitCounterTable BinHitCounters{};
std::int32_t decayPhase = 0;
