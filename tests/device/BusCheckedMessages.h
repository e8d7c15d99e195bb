#pragma once
// Records every message box, answers it at once, and fails the test if one was
// shown while the bus was held: a box's loop can run a window-thread frame,
// which would then wait for the bus for ever.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "device/SharedBus.h"
#include "support/MessageCapture.h"

class BusCheckedMessages {
 public:
  BusCheckedMessages() { WhileOpen({}); }
  ~BusCheckedMessages() { EXPECT_EQ(shownWhileBusHeld_.load(), 0) << "a message box was shown while the bus was held"; }
  BusCheckedMessages(const BusCheckedMessages&) = delete;
  BusCheckedMessages& operator=(const BusCheckedMessages&) = delete;

  std::vector<std::string> Texts() const { return capture_.Texts(); }

  // action runs while each box is open, as a user's action inside its loop.
  void WhileOpen(std::function<void(std::string_view text)> action) {
    capture_.WhileOpen([this, action = std::move(action)](std::string_view text) {
      if (BusBusy.load() != 0) ++shownWhileBusHeld_;
      if (action) action(text);
    });
  }

 private:
  MessageCapture capture_;
  std::atomic<int> shownWhileBusHeld_{0};
};
