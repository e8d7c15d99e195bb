#pragma once
// Where a chip model reports a host that broke the part's own rules: start
// and configuration bits the converter does not take, a clock faster than the
// expander allows, a data line the host drives while a part drives it. The
// module counts these as protocol errors of the write being run, beside the
// serial engine's own, so that a test asserting "no protocol error" after a
// frame also proves that the frame suits the parts.
#include <string>

namespace tqxsim {

class ChipFaults {
 public:
  virtual void ChipFault(std::string what) = 0;

 protected:
  ~ChipFaults() = default;
};

}  // namespace tqxsim
