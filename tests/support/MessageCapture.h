#pragma once
// Message boxes in tests. By default every box fails the test it appears in
// and is answered at once, so no test hangs on a box or passes over one it did
// not expect. A test that expects boxes holds a MessageCapture; a test that
// wants the real boxes holds a RealMessageBoxes.
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "framework/MessageBox.h"

// Installed by the test main.
void FailOnUnexpectedMessageBoxes();

// Records the text of every box, from any thread, in order, and answers it at
// once. Restores the hook it replaced when it goes.
class MessageCapture {
 public:
  MessageCapture();
  ~MessageCapture();
  MessageCapture(const MessageCapture&) = delete;
  MessageCapture& operator=(const MessageCapture&) = delete;

  std::vector<std::string> Texts() const;
  std::size_t Count() const;
  // Runs on each box before it is answered, on the caller's thread: what the
  // user could see while the box was open.
  void WhileOpen(std::function<void(std::string_view text)> action);

 private:
  void Record(std::string_view text);

  mutable std::mutex mutex_;
  std::vector<std::string> texts_;
  std::function<void(std::string_view)> whileOpen_;
  MessageBoxHook previous_;
};

// Lets the real boxes through while it lives.
class RealMessageBoxes {
 public:
  RealMessageBoxes();
  ~RealMessageBoxes();
  RealMessageBoxes(const RealMessageBoxes&) = delete;
  RealMessageBoxes& operator=(const RealMessageBoxes&) = delete;

 private:
  MessageBoxHook previous_;
};
