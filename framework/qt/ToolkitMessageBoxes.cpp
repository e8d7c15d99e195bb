// The toolkit's display of message boxes: modal ones for the window thread,
// and boxes that leave the windows usable for callers on other threads.
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <memory>
#include <vector>

#include "framework/MessageBoxDisplay.h"
#include "framework/WinApp.h"
#include "framework/qt/Latin1.h"
#include "framework/qt/QtAccess.h"

namespace {

QMessageBox* NewBox(std::string_view text, QWidget* parent) {
  auto* box = new QMessageBox(QMessageBox::Warning, ToQString(AfxGetAppName()), ToQString(text),
                              QMessageBox::Ok, parent);
  box->setTextFormat(Qt::PlainText);
  return box;
}

// Lives on the window thread, a child of the application object, and is the
// only object the toolkit's cross-thread queue ever hands over: the posted
// wake-up event is made and freed inside the toolkit and never read here. A
// functor posted instead would be built by the worker and read by the window
// thread behind a lock the race detector cannot see.
class ToolkitMessageBoxes final : public QObject, public MessageBoxDisplay {
 public:
  ~ToolkitMessageBoxes() override { SetMessageBoxDisplay(nullptr); }

  void ShowModal(std::string_view text) override {
    QWidget* parent = QApplication::activeModalWidget();
    if (parent == nullptr) parent = QApplication::activeWindow();
    std::unique_ptr<QMessageBox> box(NewBox(text, parent));
    box->exec();
  }

  void WakeWindowThread() override { QCoreApplication::postEvent(this, new QEvent(QEvent::User)); }

  // Not modal: the caller waits, the windows stay usable. It belongs to the
  // modal window on top, if any, which would otherwise block it from the user;
  // should that window close first, the box goes with it and the caller is
  // released as if OK had been pressed.
  void ShowForOtherThread(std::string_view text, std::function<void()> answered) override {
    QMessageBox* box = NewBox(text, QApplication::activeModalWidget());
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box, answered);
    QObject::connect(box, &QObject::destroyed, answered);
    // Boxes the user dismissed leave null pointers behind; drop them so that a
    // long run's failures do not pile up here.
    std::erase_if(openForOtherThreads_, [](const QPointer<QMessageBox>& open) { return open.isNull(); });
    openForOtherThreads_.emplace_back(box);
    box->show();
  }

  void CloseBoxesForOtherThreads() override {
    for (const QPointer<QMessageBox>& box : openForOtherThreads_) {
      if (box) box->close();
    }
    openForOtherThreads_.clear();
  }

 protected:
  void customEvent(QEvent*) override { ServeQueuedMessageBoxes(); }

 private:
  std::vector<QPointer<QMessageBox>> openForOtherThreads_;
};

}  // namespace

void ShowMessageBoxesWithTheToolkit() {
  auto* display = new ToolkitMessageBoxes;
  display->setParent(QCoreApplication::instance());
  SetMessageBoxDisplay(display);
}
