#pragma once
// Copies between a dialog's members and its controls. Loading writes members
// into controls; saving reads controls into members and may refuse a text: the
// refusal shows its message, puts the focus on the control with its text
// selected, and every later call of the same exchange does nothing. A load
// that keeps the user's input reads the controls the user changed since the
// last save instead of writing them, and refuses nothing.
#include <cstdint>
#include <string>

class CDialog;

class CDataExchange {
 public:
  enum Direction { Load, Save, LoadKeepingUserInput };
  CDataExchange(CDialog& dialog, Direction direction);

  bool Failed() const { return failed_; }

  void Integer(int id, std::int32_t& value);
  void Real(int id, float& value);
  // maxChars 0: no limit. Loading limits typing to maxChars; saving refuses a
  // longer text.
  void Text(int id, std::string& value, int maxChars = 0);
  // The group runs from firstId to the next control that starts a group; only
  // its radio buttons count. -1: none selected.
  void Radio(int firstId, std::int32_t& index);
  // Loading: checked for 1; a value outside 0 to 2 is first set to 0.
  void Check(int id, std::int32_t& state);

 private:
  // Whether this exchange reads the control into its member.
  bool Reads(int id) const;
  void Refuse(int id, const std::string& message);

  CDialog& dialog_;
  const Direction direction_;
  bool failed_ = false;
};
