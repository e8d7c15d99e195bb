#pragma once
// Answers every message box at once and records its text, together with
// whether the bus was held when it was shown. Restores the previous hook when
// it goes.
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "device/SharedBus.h"
#include "framework/MessageBox.h"

class MessageLog {
 public:
  // onMessage, if given, runs after the text is recorded, as a user's action
  // inside the box's loop would.
  explicit MessageLog(std::function<void(std::string_view)> onMessage = {})
      : onMessage_(std::move(onMessage)),
        previous_(SetMessageBoxHook([this](std::string_view text) { Record(text); })) {}
  ~MessageLog() { SetMessageBoxHook(previous_); }
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;

  std::vector<std::string> Texts() const {
    std::lock_guard lock(mutex_);
    return texts_;
  }
  int ShownWhileBusHeld() const {
    std::lock_guard lock(mutex_);
    return shownWhileBusHeld_;
  }

 private:
  void Record(std::string_view text) {
    {
      std::lock_guard lock(mutex_);
      texts_.emplace_back(text);
      if (BusBusy.load() != 0) ++shownWhileBusHeld_;
    }
    if (onMessage_) onMessage_(text);
  }

  std::function<void(std::string_view)> onMessage_;
  mutable std::mutex mutex_;
  std::vector<std::string> texts_;
  int shownWhileBusHeld_ = 0;
  MessageBoxHook previous_;
};
