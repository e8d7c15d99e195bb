#pragma once
// The module's report lines: every output change it sees and every protocol
// fault, so that someone running the monitor watches the relays switch in the
// terminal. Each line goes to stderr (unless silenced) and into a short
// history that tests read back. Not thread-safe on its own: the module calls
// it with its lock held.
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace tqxsim {

// printf-style, into a string (at most 255 characters).
std::string Formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));

class MessageLog {
 public:
  explicit MessageLog(bool onStderr) : onStderr_(onStderr) {}

  // printf-style; adds "sim: " in front.
  void Say(const char* format, ...) __attribute__((format(printf, 2, 3)));

  void SetOnStderr(bool shown) { onStderr_ = shown; }
  std::vector<std::string> Recent() const { return {recent_.begin(), recent_.end()}; }
  void Clear() { recent_.clear(); }

 private:
  static constexpr std::size_t kRecentLimit = 512;

  bool onStderr_;
  std::deque<std::string> recent_;
};

}  // namespace tqxsim
