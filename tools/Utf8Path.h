#pragma once
// A path from and to the tools' UTF-8 text (CommandLine.h), the same on every
// platform: a plain std::string would be read in Windows' code page.
#include <filesystem>
#include <string>
#include <string_view>

inline std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// For messages: a path's string() on Windows fails on any character outside
// the code page.
inline std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}
