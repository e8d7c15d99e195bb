#pragma once
// The Function Setup dialog: defines one function (trigger bins, name, required
// count and actions) and, at Record Changes, stores it in the configuration
// record and writes the data file.
#include <cstdint>
#include <string>

#include "framework/dialog/Dialog.h"

// The function (1 to 8) the dialog edits. The Setup button sets it before the
// dialog is created; it keeps its value after the dialog has gone.
extern int EditedFunction;

class CFunctionSetupDlg : public CDialog {
 public:
  CFunctionSetupDlg();

  // The members in the order of data exchange. The field members mirror the
  // configuration record's entries of the edited function.
  std::string binsPrompt;
  std::string namePrompt;
  std::int32_t triggerBin1 = 0;
  std::int32_t triggerBin2 = 0;
  std::string functionName;
  std::int32_t requiredCount = 0;
  std::int32_t lineEnabled = 0;
  std::int32_t lineSelect = -1;
  std::int32_t lineAction = -1;
  std::int32_t analog1Enabled = 0;
  std::int32_t analog2Enabled = 0;
  float analog1Volts = 0.0f;
  float analog2Volts = 0.0f;
  std::int32_t relay1Enabled = 0;
  std::int32_t relay2Enabled = 0;
  std::int32_t relay3Enabled = 0;
  std::int32_t relay4Enabled = 0;
  std::int32_t relay1Action = -1;
  std::int32_t relay2Action = -1;
  std::int32_t relay3Action = -1;
  std::int32_t relay4Action = -1;
  std::int32_t triggerBin3 = 0;
  std::string countPrompt;

 protected:
  void DoDataExchange(CDataExchange& dx) override;
  bool OnInitDialog() override;
  // Record Changes.
  void OnOK() override;

 private:
  void LoadFromRecord(int function);
  void StoreIntoRecord(int function) const;
  // Refuses the first volts field the outputs cannot deliver; false then.
  bool AcceptVolts();
};
