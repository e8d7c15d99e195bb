#include "device/FrameExchange.h"

#include "device/DeviceCalls.h"
#include "device/SerialEngine.h"
#include "device/SharedBus.h"
#include "framework/MessageBox.h"

void SendFrame(DriverTable& table, std::span<const std::uint8_t> frame, std::string_view failureMessage) {
  if (!AcquireBusForExchange(table)) return;
  std::uint32_t written = 0;
  const DriverStatus status = DeviceWrite(table, frame.data(), static_cast<std::uint32_t>(frame.size()), &written);
  ReleaseBus();
  if (status != kDriverOk) AfxMessageBox(failureMessage);
}

namespace {

bool ReportFailure(ExchangeFailureNotice beforeReport, std::string_view message) {
  if (beforeReport != nullptr) beforeReport();
  if (!message.empty()) AfxMessageBox(message);
  return false;
}

}  // namespace

bool ExchangeFrame(DriverTable& table, std::span<const std::uint8_t> frame, std::span<std::uint8_t> reply,
                   std::string_view writeFailureMessage, ExchangeFailureNotice beforeReport) {
  if (!AcquireBusForExchange(table)) return false;
  // The writes leave their acknowledge bytes queued; this frame's reply must be
  // the only thing read.
  const bool queueEmptied = DrainReceiveQueue(table);
  std::uint32_t written = 0;
  if (DeviceWrite(table, frame.data(), static_cast<std::uint32_t>(frame.size()), &written) != kDriverOk) {
    ReleaseBus();
    return ReportFailure(beforeReport, writeFailureMessage);
  }
  std::uint32_t got = 0;
  const DriverStatus readStatus = DeviceRead(table, reply.data(), static_cast<std::uint32_t>(reply.size()), &got);
  ReleaseBus();

  // Behind a drain that stopped early, the bytes read begin with what was left
  // queued: the reply arrives shifted and is never taken for this frame's. The
  // frame still goes out, so a vanished module stays as quiet as a failed write.
  if (readStatus != kDriverOk || !queueEmptied) return ReportFailure(beforeReport, "Read Error!");
  if (got < reply.size()) return ReportFailure(beforeReport, "error: too few bytes returned");
  return true;
}
