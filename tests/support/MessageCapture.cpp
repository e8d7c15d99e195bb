#include "support/MessageCapture.h"

#include <gtest/gtest.h>

void FailOnUnexpectedMessageBoxes() {
  SetMessageBoxHook([](std::string_view text) { ADD_FAILURE() << "unexpected message box: \"" << text << '"'; });
}

MessageCapture::MessageCapture()
    : previous_(SetMessageBoxHook([this](std::string_view text) { Record(text); })) {}

MessageCapture::~MessageCapture() { SetMessageBoxHook(std::move(previous_)); }

void MessageCapture::Record(std::string_view text) {
  std::function<void(std::string_view)> action;
  {
    std::lock_guard lock(mutex_);
    texts_.emplace_back(text);
    action = whileOpen_;
  }
  if (action) action(text);
}

std::vector<std::string> MessageCapture::Texts() const {
  std::lock_guard lock(mutex_);
  return texts_;
}

std::size_t MessageCapture::Count() const {
  std::lock_guard lock(mutex_);
  return texts_.size();
}

void MessageCapture::WhileOpen(std::function<void(std::string_view text)> action) {
  std::lock_guard lock(mutex_);
  whileOpen_ = std::move(action);
}

RealMessageBoxes::RealMessageBoxes() : previous_(SetMessageBoxHook({})) {}

RealMessageBoxes::~RealMessageBoxes() { SetMessageBoxHook(std::move(previous_)); }
