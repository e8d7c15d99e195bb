#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "framework/dialog/WindowPlacement.h"
#include "framework/win32/native/DialogFont.h"
#include "framework/win32/native/DialogTemplateBytes.h"
#include "framework/win32/native/Latin1.h"
#include "framework/win32/Native.h"

namespace {

constexpr int kIconId = 20;
constexpr int kTextId = 21;

// Dialog units of the box that blocks nothing: the margin round everything,
// the widest a line of text grows, the OK button.
constexpr int kMarginDu = 10;
constexpr int kMaxTextWidthDu = 240;
constexpr int kButtonWidthDu = 50;
constexpr int kButtonHeightDu = 14;

struct OpenBox {
  std::wstring text;
  std::function<void()> gone;
};

// Window thread only.
std::set<HWND>& OpenBoxes() {
  static std::set<HWND> boxes;
  return boxes;
}

POINT DialogUnitsToPixels(HWND box, int x, int y) {
  RECT units{0, 0, x, y};
  MapDialogRect(box, &units);
  return POINT{units.right, units.bottom};
}

// The template knows nothing of the text's size, so the box is laid out here
// in pixels of its own font: the icon, the text beside it, the button
// centred beneath, and the whole over its owner.
void LayOut(HWND box, const std::wstring& text) {
  const POINT margin = DialogUnitsToPixels(box, kMarginDu, kMarginDu);
  const POINT button = DialogUnitsToPixels(box, kButtonWidthDu, kButtonHeightDu);
  const native::Extent icon = native::LargeIconSize();
  const SIZE textSize = TextSizeInFont(reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)), text,
                                       DialogUnitsToPixels(box, kMaxTextWidthDu, 0).x);
  const int textLeft = margin.x + icon.x + margin.x;
  const int contentHeight = std::max<int>(icon.y, textSize.cy);
  const int clientWidth = std::max<int>(textLeft + textSize.cx + margin.x, button.x + 2 * margin.x);
  const int buttonTop = margin.y + contentHeight + margin.y;
  const int clientHeight = buttonTop + button.y + margin.y;

  SetWindowPos(GetDlgItem(box, kIconId), nullptr, margin.x, margin.y, icon.x, icon.y, SWP_NOZORDER);
  SetWindowPos(GetDlgItem(box, kTextId), nullptr, textLeft, margin.y + (contentHeight - textSize.cy) / 2, textSize.cx,
               textSize.cy, SWP_NOZORDER);
  SetWindowPos(GetDlgItem(box, IDOK), nullptr, (clientWidth - button.x) / 2, buttonTop, button.x, button.y,
               SWP_NOZORDER);

  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(box, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(box, GWL_EXSTYLE)));
  // Without an owner, the work area of the monitor at the origin: the
  // primary one's.
  const HWND owner = GetWindow(box, GW_OWNER);
  RECT ownerRect{};
  if (owner != nullptr) GetWindowRect(owner, &ownerRect);
  const native::Bounds ownerFrame{ownerRect.left, ownerRect.top, ownerRect.right, ownerRect.bottom};
  const native::Bounds area = native::WorkAreaAt(ownerFrame);
  const native::Bounds& over = owner != nullptr ? ownerFrame : area;
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(box, nullptr, PlaceAlongAxis(width, over.left, over.right, area.left, area.right),
               PlaceAlongAxis(height, over.top, over.bottom, area.top, area.bottom), width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// The face and points of the system's own message boxes, so a box that blocks
// nothing reads like one that does beside it; the dialogs' face otherwise.
struct MessageFont {
  std::string face = "MS Shell Dlg";
  int points = 8;
};

MessageFont SystemMessageFont() {
  MessageFont font;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) ||
      metrics.lfMessageFont.lfFaceName[0] == L'\0') {
    return font;
  }
  const HDC screen = GetDC(nullptr);
  const int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  font.face = Narrow(metrics.lfMessageFont.lfFaceName);
  font.points = std::max(1, MulDiv(std::abs(metrics.lfMessageFont.lfHeight), 72, dotsPerInch));
  return font;
}

INT_PTR CALLBACK BoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(box, DWLP_USER, lParam);
      const auto* open = reinterpret_cast<const OpenBox*>(lParam);
      SendDlgItemMessageW(box, kIconId, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_EXCLAMATION)), 0);
      SetDlgItemTextW(box, kTextId, open->text.c_str());
      LayOut(box, open->text);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) DestroyWindow(box);
      return TRUE;
    case WM_DESTROY: {
      OpenBoxes().erase(box);
      std::unique_ptr<OpenBox> open(reinterpret_cast<OpenBox*>(GetWindowLongPtrW(box, DWLP_USER)));
      SetWindowLongPtrW(box, DWLP_USER, 0);
      if (open) open->gone();
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

// Owned by the window the user works in, or else the innermost dialog, which
// the box disables while it is up: keys never reach a window behind it.
void native::ShowModalMessageBox(std::string_view caption, std::string_view text) {
  HWND owner = GetActiveWindow();
  if (owner == nullptr) owner = static_cast<HWND>(Dialog::InnermostModal());
  MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), MB_ICONEXCLAMATION | MB_OK);
}

void native::OpenOtherThreadMessageBox(std::string_view caption, std::string_view text, std::function<void()> gone) {
  const std::string title(caption);
  const std::array controls{
      ControlTemplate{kIconId, ControlKind::Icon, nullptr, 0, 0, 0, 0},
      ControlTemplate{kTextId, ControlKind::Label, nullptr, 0, 0, 0, 0, ControlStyle::NoPrefix},
      ControlTemplate{IDOK, ControlKind::DefPushButton, "OK", 0, 0, 0, 0, ControlStyle::TabStop},
  };
  const MessageFont font = SystemMessageFont();
  const DialogTemplate boxTemplate{0, title.c_str(), 0, 0, font.face.c_str(), font.points,
                                   DialogStyle::SystemMenu | DialogStyle::ModalFrame, controls};
  const std::vector<std::uint16_t> words = DialogTemplateWords(boxTemplate);

  auto open = std::make_unique<OpenBox>(OpenBox{Widen(text), std::move(gone)});
  const HWND box =
      CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
                                 static_cast<HWND>(Dialog::InnermostModal()), &BoxProcedure,
                                 reinterpret_cast<LPARAM>(open.get()));
  if (box == nullptr) {
    // Nobody could answer a box that never showed.
    open->gone();
    return;
  }
  open.release();  // the box's own now, freed when it goes
  OpenBoxes().insert(box);
  // As the system's box does: it sounds, and comes up active with OK
  // focused (shown, a dialog is activated and its first tab stop takes the
  // focus), so Enter and Escape answer it and not the window behind it.
  MessageBeep(MB_ICONEXCLAMATION);
  ShowWindow(box, SW_SHOW);
}

void native::CloseOtherThreadMessageBoxes() {
  const std::set<HWND> boxes = OpenBoxes();
  for (HWND box : boxes) DestroyWindow(box);
}

bool native::IsOtherThreadMessageBox(void* window) { return OpenBoxes().contains(static_cast<HWND>(window)); }
