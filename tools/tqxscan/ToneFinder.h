#pragma once
// Finds the steady tones of a recording in one pass, holding nothing of the
// recording behind the tick it has reached: at every tick the last tenth of a
// second or so at the recording's own rate gives each component's exact
// frequency, and the module's own frames and levels, read as the rest of the
// scan reads them, give what the module makes of it. A component that stays
// within a few Hz for at least 0.3 s is a tone; speech glides and noise does
// not stand out, so neither is reported.
//
// Design note: the tones found are kept, a small record each, because a flag
// (shares_bins) and the replay need all of them; what grows with a recording's
// length is thus the number of its tones, never its samples or ticks.
#include <functional>

#include "sim/RecordingReader.h"
#include "sim/RecordingStream.h"
#include "tools/tqxscan/FoundTones.h"
#include "tools/tqxscan/RecordingScan.h"

// native and module are two readings of the same recording and channel: one
// is read whole, the other only where the module's frames lie. Returns false
// when the file ended before the frames it announced; the tones up to there
// are found.
// atTick, when given, hears each tick's moment.
bool FindTones(tqxsim::RecordingReader& native, tqxsim::RecordingStream& module, ScanWindow window,
               ToneFindings& findings, const std::function<void(double)>& atTick = {});
