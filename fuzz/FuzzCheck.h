#pragma once
// A property a fuzz target asserts. A failure names the property and stops the
// process, which libFuzzer records as a finding (with the input that caused
// it) and the corpus replay reports as a failed test. Unlike assert, it stays
// armed in every build type.
#include <cstdio>
#include <cstdlib>

namespace fuzz {

[[noreturn]] inline void PropertyFailed(const char* property, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, property);
  std::abort();
}

}  // namespace fuzz

#define FUZZ_CHECK(property) ((property) ? void(0) : ::fuzz::PropertyFailed(#property, __FILE__, __LINE__))
