#include "framework/MessagePump.h"

#include "framework/WinThread.h"
#include "framework/win32/Native.h"

void PumpOneMessage() {
  if (IsWindowThread()) native::HandleWaitingMessage();
}
