#include "framework/win32/native/DialogTemplateBytes.h"

#include <optional>
#include <string_view>

#include "framework/win32/native/Latin1.h"
#include "framework/win32/native/NativeWindows.h"

namespace {

// The predefined window classes of dialog items, by atom.
constexpr std::uint16_t kButtonClass = 0x0080;
constexpr std::uint16_t kEditClass = 0x0081;
constexpr std::uint16_t kStaticClass = 0x0082;

struct KindRule {
  ControlKind kind;
  std::uint16_t windowClass;
  DWORD style;
};

constexpr KindRule kKindRules[] = {
    {ControlKind::PushButton, kButtonClass, BS_PUSHBUTTON},
    {ControlKind::DefPushButton, kButtonClass, BS_DEFPUSHBUTTON},
    {ControlKind::Edit, kEditClass, ES_LEFT},
    {ControlKind::Label, kStaticClass, SS_LEFT},
    {ControlKind::GroupBox, kButtonClass, BS_GROUPBOX},
    {ControlKind::RadioButton, kButtonClass, BS_AUTORADIOBUTTON},
    {ControlKind::CheckBox, kButtonClass, BS_AUTOCHECKBOX},
    // The icon itself is set once the control exists: icons come from the
    // registry's data, not from the module's resources.
    {ControlKind::Icon, kStaticClass, SS_ICON},
};

// A template style's native bits, for every kind or for one.
struct StyleRule {
  unsigned style;
  std::optional<ControlKind> kind;
  DWORD bits;
};

constexpr StyleRule kStyleRules[] = {
    {ControlStyle::Group, std::nullopt, WS_GROUP},
    {ControlStyle::TabStop, std::nullopt, WS_TABSTOP},
    {ControlStyle::Border, std::nullopt, WS_BORDER},
    {ControlStyle::ReadOnly, ControlKind::Edit, ES_READONLY},
    {ControlStyle::AutoHScroll, ControlKind::Edit, ES_AUTOHSCROLL},
    {ControlStyle::RightAlign, ControlKind::Edit, ES_RIGHT},
    {ControlStyle::RightAlign, ControlKind::Label, SS_RIGHT},
    {ControlStyle::NoPrefix, ControlKind::Label, SS_NOPREFIX},
};

class Words {
 public:
  void Add(std::uint16_t word) { words_.push_back(word); }
  void Add32(DWORD value) {
    Add(static_cast<std::uint16_t>(value & 0xFFFF));
    Add(static_cast<std::uint16_t>(value >> 16));
  }
  void AddText(const char* text) {
    for (wchar_t c : Widen(text != nullptr ? std::string_view(text) : std::string_view())) {
      Add(static_cast<std::uint16_t>(c));
    }
    Add(0);
  }
  void AlignToDword() {
    if (words_.size() % 2 != 0) Add(0);
  }
  std::vector<std::uint16_t> Take() { return std::move(words_); }

 private:
  std::vector<std::uint16_t> words_;
};

DWORD DialogStyleOf(const DialogTemplate& dialogTemplate) {
  DWORD style = WS_POPUP | WS_CAPTION | DS_SETFONT;
  if (dialogTemplate.style & DialogStyle::SystemMenu) style |= WS_SYSMENU;
  if (dialogTemplate.style & DialogStyle::ModalFrame) style |= DS_MODALFRAME;
  return style;
}

const KindRule& KindRuleOf(ControlKind kind) {
  for (const KindRule& rule : kKindRules) {
    if (rule.kind == kind) return rule;
  }
  return kKindRules[0];
}

DWORD ControlStyleOf(const ControlTemplate& control) {
  DWORD style = WS_CHILD | WS_VISIBLE | KindRuleOf(control.kind).style;
  for (const StyleRule& rule : kStyleRules) {
    if ((control.style & rule.style) && (!rule.kind || *rule.kind == control.kind)) style |= rule.bits;
  }
  return style;
}

}  // namespace

std::vector<std::uint16_t> DialogTemplateWords(const DialogTemplate& dialogTemplate) {
  Words words;
  words.Add32(DialogStyleOf(dialogTemplate));
  words.Add32((dialogTemplate.style & DialogStyle::TaskBar) ? WS_EX_APPWINDOW : 0);
  words.Add(static_cast<std::uint16_t>(dialogTemplate.controls.size()));
  for (int coordinate : {0, 0, dialogTemplate.cx, dialogTemplate.cy}) words.Add(static_cast<std::uint16_t>(coordinate));
  words.Add(0);  // no menu
  words.Add(0);  // the dialog manager's own window class
  words.AddText(dialogTemplate.caption);
  words.Add(static_cast<std::uint16_t>(dialogTemplate.fontPoints));
  words.AddText(dialogTemplate.fontFace);

  for (const ControlTemplate& control : dialogTemplate.controls) {
    words.AlignToDword();
    words.Add32(ControlStyleOf(control));
    words.Add32(0);
    for (int coordinate : {control.x, control.y, control.cx, control.cy}) {
      words.Add(static_cast<std::uint16_t>(coordinate));
    }
    words.Add(static_cast<std::uint16_t>(control.id));
    words.Add(0xFFFF);  // a predefined class by atom follows
    words.Add(KindRuleOf(control.kind).windowClass);
    words.AddText(control.kind == ControlKind::Icon ? nullptr : control.text);
    words.Add(0);  // no creation data
  }
  return words.Take();
}
