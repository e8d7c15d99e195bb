#include "framework/ModalLoops.h"

namespace {

int openLoops = 0;

}  // namespace

int OpenModalLoops() { return openLoops; }

void ModalLoopBegan() { ++openLoops; }

void ModalLoopEnded() {
  if (openLoops > 0) --openLoops;
}

ModalLoop::ModalLoop() { ModalLoopBegan(); }

ModalLoop::~ModalLoop() { ModalLoopEnded(); }
