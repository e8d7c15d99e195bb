// Runs one of the spectrum workloads a given number of times, for counting
// instructions under callgrind (scripts/measure-dsp-instructions collects
// only inside MeasuredRuns, so set-up and FFTW's planning are left out).
//   dsp_spectrum_instructions compute|stepbystep|fftw COUNT
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "DspSpectrumWorkloads.h"

namespace {

using Workload = int (SpectrumWorkloads::*)();

[[gnu::noinline]] int MeasuredRuns(SpectrumWorkloads& workloads, Workload run, long count) {
  int checksum = 0;
  for (long i = 0; i < count; ++i) checksum += (workloads.*run)();
  return checksum;
}

}  // namespace

int main(int argc, char** argv) {
  const long count = argc == 3 ? std::atol(argv[2]) : 0;
  Workload run = nullptr;
  if (argc == 3 && std::strcmp(argv[1], "compute") == 0) run = &SpectrumWorkloads::RunComputeSpectrum;
  if (argc == 3 && std::strcmp(argv[1], "stepbystep") == 0) run = &SpectrumWorkloads::RunStepByStep;
  if (argc == 3 && std::strcmp(argv[1], "fftw") == 0) run = &SpectrumWorkloads::RunFftw;
  if (run == nullptr || count <= 0) {
    std::fprintf(stderr, "usage: %s compute|stepbystep|fftw COUNT\n", argv[0]);
    return 2;
  }
  SpectrumWorkloads workloads;
  std::printf("checksum %d\n", MeasuredRuns(workloads, run, count));
  return 0;
}
