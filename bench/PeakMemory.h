#pragma once
// The most memory this process has had resident so far, in MiB.
double PeakResidentMebibytes();
