#include "sim/ToneScript.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

#include "sim/ModelledTiming.h"

namespace tqxsim {

namespace {

constexpr int kFirstBin = 1;
constexpr int kLastBin = 64;

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (true) {
    at = line.find_first_not_of(" \t\r", at);
    if (at == std::string_view::npos) break;
    const std::size_t end = std::min(line.find_first_of(" \t\r", at), line.size());
    words.push_back(line.substr(at, end - at));
    at = end;
  }
  return words;
}

std::optional<ToneStep> ParseStep(const std::vector<std::string_view>& words) {
  if (words.size() != 3) return std::nullopt;
  const std::optional<double> seconds = ParseNumber(words[0]);
  const std::optional<double> frequency = ParseFrequency(words[1]);
  const std::optional<double> amplitude = ParseNumber(words[2]);
  if (!seconds || !frequency || !amplitude || *seconds <= 0.0) return std::nullopt;
  return ToneStep{*seconds, *frequency, *amplitude};
}

}  // namespace

std::optional<double> ParseNumber(std::string_view text) {
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<double> ParseFrequency(std::string_view text) {
  if (!text.empty() && text.front() == 'b') {
    int bin = 0;
    const auto [end, error] = std::from_chars(text.data() + 1, text.data() + text.size(), bin);
    if (error != std::errc() || end != text.data() + text.size() || bin < kFirstBin || bin > kLastBin) {
      return std::nullopt;
    }
    return BinFrequencyHz(bin);
  }
  const std::optional<double> hertz = ParseNumber(text);
  if (!hertz || *hertz < 0.0) return std::nullopt;
  return hertz;
}

ToneScript ParseToneScript(std::string_view text) {
  ToneScript script;
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    ++lineNumber;
    line = line.substr(0, std::min(line.find('#'), line.size()));
    const std::vector<std::string_view> words = Words(line);
    if (words.empty()) continue;
    const std::optional<ToneStep> step = ParseStep(words);
    if (!step) {
      script.steps.clear();
      script.error = "line " + std::to_string(lineNumber) +
                     ": expected seconds (above 0), a frequency (hertz, or b and a bin 1 to 64) and an amplitude";
      return script;
    }
    script.steps.push_back(*step);
  }
  if (script.steps.empty()) script.error = "no steps";
  return script;
}

ToneScript ReadToneScript(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return {{}, "cannot open " + path};
  std::ostringstream text;
  text << file.rdbuf();
  return ParseToneScript(text.str());
}

}  // namespace tqxsim
