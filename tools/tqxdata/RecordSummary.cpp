#include "tools/tqxdata/RecordSummary.h"

#include <charconv>
#include <cmath>
#include <iterator>
#include <string_view>
#include <vector>

#include "tools/tqxdata/NameText.h"

namespace {

// Choices as the Function Setup dialog's radio groups number them.
constexpr std::string_view kLineNames[] = {"P00", "P01", "P02", "P03", "P10", "P11",
                                           "P12", "P13", "P14", "P15", "P16", "P17"};
constexpr std::string_view kLineActions[] = {"High", "Low", "Toggle"};
constexpr std::string_view kRelayActions[] = {"Close", "Open", "Toggle"};
constexpr int kNoChoice = -1;

// The monitor acts on an enable only when it holds 1 exactly.
bool Enabled(const FunctionInts& enable, int function) { return enable[function] == 1; }

template <std::size_t Count>
std::string Choice(const std::string_view (&names)[Count], std::int32_t value, std::string_view what) {
  if (value >= 0 && static_cast<std::size_t>(value) < Count) return std::string(names[value]);
  if (value == kNoChoice) return "no " + std::string(what) + " chosen";
  return "unknown " + std::string(what) + " " + std::to_string(value);
}

std::string Volts(float volts) {
  if (std::isnan(volts)) return "not a number";
  char text[32];
  const auto result = std::to_chars(std::begin(text), std::end(text), volts);
  return std::string(text, result.ptr) + " V";
}

std::string Line(const ConfigRecord& record, int function) {
  if (!Enabled(record.lineEnabled, function)) return "off";
  return Choice(kLineNames, record.lineSelect[function], "line") + " " +
         Choice(kLineActions, record.lineAction[function], "action");
}

std::string Analog(const FunctionInts& enable, const FunctionFloats& volts, int function) {
  return Enabled(enable, function) ? Volts(volts[function]) : "off";
}

std::string Relays(const ConfigRecord& record, int function) {
  const struct {
    const FunctionInts& enable;
    const FunctionInts& action;
  } relays[] = {{record.relay1Enabled, record.relay1Action},
                {record.relay2Enabled, record.relay2Action},
                {record.relay3Enabled, record.relay3Action},
                {record.relay4Enabled, record.relay4Action}};
  std::string text;
  for (std::size_t k = 0; k < std::size(relays); ++k) {
    if (!Enabled(relays[k].enable, function)) continue;
    if (!text.empty()) text += ", ";
    // Appended: a literal added in front of a temporary string draws GCC 12's false -Wrestrict.
    text.append("K").append(std::to_string(k + 1)).append(" ");
    text += Choice(kRelayActions, relays[k].action[function], "action");
  }
  return text.empty() ? "none" : text;
}

}  // namespace

std::string SummariseRecord(const ConfigRecord& record) {
  std::string text;
  for (int function = 1; function <= kFunctionCount; ++function) {
    if (function > 1) text += "\n";
    text += "Function " + std::to_string(function) + "  " + QuoteName(FunctionNameText(record, function)) + "\n";
    text += "  trigger bins     " + std::to_string(record.triggerBin1[function]) + ", " +
            std::to_string(record.triggerBin2[function]) + ", " + std::to_string(record.triggerBin3[function]) + "\n";
    text += "  required count   " + std::to_string(record.requiredCount[function]) + "\n";
    text += "  line             " + Line(record, function) + "\n";
    text += "  analog output 1  " + Analog(record.analog1Enabled, record.analog1Volts, function) + "\n";
    text += "  analog output 2  " + Analog(record.analog2Enabled, record.analog2Volts, function) + "\n";
    text += "  relays           " + Relays(record, function) + "\n";
  }
  return text;
}
