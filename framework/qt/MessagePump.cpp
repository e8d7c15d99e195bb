#include "framework/MessagePump.h"

#include <QCoreApplication>

#include "framework/WinThread.h"

// The toolkit hands over every event that is waiting, not exactly one; for the
// callers, which only want the window kept alive during long work, that is the
// same.
void PumpOneMessage() {
  if (QCoreApplication::instance() == nullptr || !IsWindowThread()) return;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}
