#pragma once
// What `tqxscan --tones` prints: for people, a table of the tones by time and
// a list of the distinct tones; for programs, JSON Lines, one object per tone.
#include <iosfwd>

#include "tools/tqxscan/FoundTones.h"

void PrintToneTable(std::ostream& out, const ToneFindings& findings);
void PrintDistinctTones(std::ostream& out, const ToneFindings& findings);
void PrintToneJson(std::ostream& out, const ToneFindings& findings);
