#include "config/FunctionSetupDlg.h"

#include <string_view>

#include "config/BinUsedTable.h"
#include "config/ConfigFile.h"
#include "config/ConfigRecord.h"
#include "device/DacFrame.h"
#include "framework/MessageBox.h"
#include "res/DialogTemplates.h"
#include "res/ResourceIds.h"

using namespace FunctionSetupIds;

int EditedFunction = 0;

namespace {

constexpr std::string_view kCaption = "Function #%d Setup";
constexpr std::string_view kBinsPrompt = "Select bins that will trigger function #%d";
constexpr std::string_view kNamePrompt = "Enter / Edit name for function #%d:";
constexpr std::string_view kCountPrompt = "Counts required to trigger function #%d:";

// The text with the function's number in place of its "%d".
std::string WithFunctionNumber(std::string_view text, int function) {
  std::string result(text);
  if (const auto at = result.find("%d"); at != std::string::npos) result.replace(at, 2, std::to_string(function));
  return result;
}

bool NamesAFunction(int function) { return function >= 1 && function <= kFunctionCount; }


// Which dialog member holds which record field; the name travels apart, as
// text in its slot.
struct IntField {
  std::int32_t CFunctionSetupDlg::*member;
  FunctionInts ConfigRecord::*field;
};
constexpr IntField kIntFields[] = {
    {&CFunctionSetupDlg::triggerBin1, &ConfigRecord::triggerBin1},
    {&CFunctionSetupDlg::triggerBin2, &ConfigRecord::triggerBin2},
    {&CFunctionSetupDlg::triggerBin3, &ConfigRecord::triggerBin3},
    {&CFunctionSetupDlg::requiredCount, &ConfigRecord::requiredCount},
    {&CFunctionSetupDlg::lineEnabled, &ConfigRecord::lineEnabled},
    {&CFunctionSetupDlg::lineSelect, &ConfigRecord::lineSelect},
    {&CFunctionSetupDlg::lineAction, &ConfigRecord::lineAction},
    {&CFunctionSetupDlg::analog1Enabled, &ConfigRecord::analog1Enabled},
    {&CFunctionSetupDlg::analog2Enabled, &ConfigRecord::analog2Enabled},
    {&CFunctionSetupDlg::relay1Enabled, &ConfigRecord::relay1Enabled},
    {&CFunctionSetupDlg::relay1Action, &ConfigRecord::relay1Action},
    {&CFunctionSetupDlg::relay2Enabled, &ConfigRecord::relay2Enabled},
    {&CFunctionSetupDlg::relay2Action, &ConfigRecord::relay2Action},
    {&CFunctionSetupDlg::relay3Enabled, &ConfigRecord::relay3Enabled},
    {&CFunctionSetupDlg::relay3Action, &ConfigRecord::relay3Action},
    {&CFunctionSetupDlg::relay4Enabled, &ConfigRecord::relay4Enabled},
    {&CFunctionSetupDlg::relay4Action, &ConfigRecord::relay4Action},
};

struct VoltsField {
  float CFunctionSetupDlg::*member;
  FunctionFloats ConfigRecord::*field;
  int controlId;
};
constexpr VoltsField kVoltsFields[] = {
    {&CFunctionSetupDlg::analog1Volts, &ConfigRecord::analog1Volts, IDC_ANALOG1_VOLTS},
    {&CFunctionSetupDlg::analog2Volts, &ConfigRecord::analog2Volts, IDC_ANALOG2_VOLTS},
};

}  // namespace

CFunctionSetupDlg::CFunctionSetupDlg() : CDialog(FunctionSetupTemplate()) {}

void CFunctionSetupDlg::DoDataExchange(CDataExchange& dx) {
  dx.Text(IDC_BINS_PROMPT, binsPrompt);
  dx.Text(IDC_NAME_PROMPT, namePrompt);
  dx.Integer(IDC_BIN1, triggerBin1);
  dx.Integer(IDC_BIN2, triggerBin2);
  dx.Text(IDC_NAME, functionName, kNameMaxChars);
  dx.Integer(IDC_REQUIRED_COUNT, requiredCount);
  dx.Check(IDC_DIGITAL_OUTPUT, lineEnabled);
  dx.Radio(IDC_LINE_P00, lineSelect);
  dx.Radio(IDC_LINE_HIGH, lineAction);
  dx.Check(IDC_ANALOG1, analog1Enabled);
  dx.Check(IDC_ANALOG2, analog2Enabled);
  dx.Real(IDC_ANALOG1_VOLTS, analog1Volts);
  dx.Real(IDC_ANALOG2_VOLTS, analog2Volts);
  dx.Check(IDC_RELAY1, relay1Enabled);
  dx.Check(IDC_RELAY2, relay2Enabled);
  dx.Check(IDC_RELAY3, relay3Enabled);
  dx.Check(IDC_RELAY4, relay4Enabled);
  dx.Radio(IDC_RELAY1_CLOSE, relay1Action);
  dx.Radio(IDC_RELAY2_CLOSE, relay2Action);
  dx.Radio(IDC_RELAY3_CLOSE, relay3Action);
  dx.Radio(IDC_RELAY4_CLOSE, relay4Action);
  dx.Integer(IDC_BIN3, triggerBin3);
  dx.Text(IDC_COUNT_PROMPT, countPrompt);
}

bool CFunctionSetupDlg::OnInitDialog() {
  // The first exchange shows the constructor's values and sets the name's
  // typing limit.
  CDialog::OnInitDialog();

  const int function = EditedFunction;
  // Entry 0 of the record belongs to no function and is never touched, so a
  // number that names no function opens nothing.
  if (!NamesAFunction(function)) {
    EndDialog(IDCANCEL);
    return false;
  }
  binsPrompt = WithFunctionNumber(kBinsPrompt, function);
  countPrompt = WithFunctionNumber(kCountPrompt, function);
  namePrompt = WithFunctionNumber(kNamePrompt, function);
  SetWindowText(WithFunctionNumber(kCaption, function));

  LoadFromRecord(function);
  UpdateData(false);
  UpdateWindow();
  return true;
}

// The record and the bin-used table change together, before anything that
// could show a box and so let a tick run in between.
void CFunctionSetupDlg::OnOK() {
  if (!UpdateData(true) || !AcceptVolts()) return;

  StoreIntoRecord(EditedFunction);
  // Design note: the table is derived again on every accepted edit, so the
  // Noisy mode hears a newly defined trigger bin at once rather than after a
  // restart (BuildBinUsedTable clears it first).
  BuildBinUsedTable();
  // A file that cannot be written is reported; the edit stays in effect for
  // this run and the dialog closes all the same.
  if (WriteConfigFile(configRecord)) AfxMessageBox(kDataFileMessage);
  EndDialog(IDOK);
}

void CFunctionSetupDlg::LoadFromRecord(int function) {
  for (const IntField& field : kIntFields) this->*field.member = (configRecord.*field.field)[function];
  for (const VoltsField& field : kVoltsFields) this->*field.member = (configRecord.*field.field)[function];
  // A name longer than the edit allows (only a file written by other means
  // holds one) is shown in full; Record Changes refuses it until it is
  // shortened.
  functionName = FunctionNameText(configRecord, function);
}

void CFunctionSetupDlg::StoreIntoRecord(int function) const {
  for (const IntField& field : kIntFields) (configRecord.*field.field)[function] = this->*field.member;
  for (const VoltsField& field : kVoltsFields) (configRecord.*field.field)[function] = this->*field.member;
  StoreFunctionName(configRecord, function, functionName);
}

// Design note: volts the analog outputs cannot deliver are refused here, when
// they are entered, whether or not their channel is enabled, so the record
// never holds a value that could be sent to an output.
bool CFunctionSetupDlg::AcceptVolts() {
  for (const VoltsField& field : kVoltsFields) {
    if (!AnalogVoltsInRange(this->*field.member)) {
      AfxMessageBox(kVoltsOutOfRangeMessage);
      GotoDlgCtrl(field.controlId);
      return false;
    }
  }
  return true;
}
