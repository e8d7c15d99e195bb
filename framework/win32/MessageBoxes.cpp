// The system's display of message boxes: modal ones for the window thread,
// and boxes that leave the windows usable for callers on other threads.
#include "framework/MessageBoxDisplay.h"
#include "framework/WinApp.h"
#include "framework/win32/Native.h"

namespace {

// Made on the window thread, with the message-only window that other threads
// wake it through; the wake-up carries no data, the requests stay in the core.
class SystemMessageBoxes final : public MessageBoxDisplay {
 public:
  SystemMessageBoxes() : wakeTarget_(&ServeQueuedMessageBoxes) {}
  ~SystemMessageBoxes() override { SetMessageBoxDisplay(nullptr); }

  void ShowModal(std::string_view text) override { native::ShowModalMessageBox(AfxGetAppName(), text); }

  void WakeWindowThread() override { wakeTarget_.Wake(); }

  // The system's own boxes are always modal, so these are dialogs of the
  // backend's own with the same icon, text and button.
  void ShowForOtherThread(std::string_view text, std::function<void()> answered) override {
    native::OpenOtherThreadMessageBox(AfxGetAppName(), text, std::move(answered));
  }

  void CloseBoxesForOtherThreads() override { native::CloseOtherThreadMessageBoxes(); }

 private:
  const native::WakeTarget wakeTarget_;
};

}  // namespace

void ShowMessageBoxesWithTheToolkit() {
  static SystemMessageBoxes display;
  SetMessageBoxDisplay(&display);
}
