#pragma once
// A small dialog with one control of each kind, and a window class that
// records what the framework calls.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/dialog/Dialog.h"
#include "support/DialogDriver.h"

namespace probe {
inline constexpr int kNumberEdit = 101;
inline constexpr int kVoltsEdit = 102;
inline constexpr int kNameEdit = 103;
inline constexpr int kFirstGroupA = 104;  // radio group A, B, (label), C
inline constexpr int kFirstGroupB = 105;
inline constexpr int kGroupLabel = 106;
inline constexpr int kFirstGroupC = 107;
inline constexpr int kSecondGroupX = 108;  // radio group X, Y
inline constexpr int kSecondGroupY = 109;
inline constexpr int kCheck = 110;
inline constexpr int kPushButton = 111;
inline constexpr int kReadOnlyEdit = 112;
inline constexpr int kGroupBox = 113;
inline constexpr int kIcon = 114;
inline constexpr int kPrefixLabel = 115;
inline constexpr int kNoPrefixLabel = 116;
inline constexpr int kIconResource = 900;
inline constexpr int kNameLimit = 10;  // characters
inline constexpr int kIconSize = 32;   // pixels
inline constexpr COLORREF kIconColour = RGB(200, 0, 0);
}  // namespace probe

// The dialog with every kind of control, 200 by 150 dialog units, 8 points of
// a face that Linux does not have.
const DialogTemplate& ProbeTemplate();
// A dialog with nothing but a label: no buttons, nothing to tab to.
const DialogTemplate& BareTemplate();

// Whether a message box is up with the keyboard's focus in it; the window
// system makes a window active a moment after it shows.
bool BoxHoldsTheFocus();
// Presses the key where the focus is; whether `answered` held soon after. A
// box the key left open is answered with OK, so the test goes on.
bool KeyAnswersTheBox(Key key, const std::function<bool()>& answered);

class ProbeDialog : public CDialog {
 public:
  explicit ProbeDialog(const DialogTemplate& dialogTemplate = ProbeTemplate(), CDialog* owner = nullptr)
      : CDialog(dialogTemplate, owner) {}

  // Exchanged in this order (with the probe template only).
  std::int32_t number = 0;
  float volts = 0.0f;
  std::string name;
  std::int32_t firstGroup = -1;
  std::int32_t secondGroup = -1;
  std::int32_t checked = 0;

  std::vector<std::pair<int, Notification>> commands;
  std::vector<int> timerIds;
  std::vector<unsigned> sysCommands;
  int okCalls = 0;
  int cancelCalls = 0;
  int paintCalls = 0;
  // Cancel requests end the dialog only while this holds.
  bool cancelEnds = true;
  std::function<void(CPaintDC&)> paint;
  std::function<void(int)> onTimer;

  int ChangesOf(int id) const;

 protected:
  void DoDataExchange(CDataExchange& dx) override;
  void OnOK() override;
  void OnCancel() override;
  void OnCommand(int id, Notification code) override;
  void OnTimer(int id) override;
  void OnPaint(CPaintDC& dc) override;
  void OnSysCommand(unsigned commandId) override;
};
