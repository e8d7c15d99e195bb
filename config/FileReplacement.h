#pragma once
// Replacing a file whole, so that it is always either the old bytes or the
// new ones: one implementation per platform.
#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>

// Writes the bytes to a fresh file beside the one at path, then puts it in
// that file's place in one step. The new file keeps the old one's permissions
// (on Windows: its attributes and security). On POSIX systems a symbolic link
// is followed to the file it names (made if it does not exist yet) and stays a
// link; on Windows a link is not followed. A file the user may not write is
// refused, as opening it for writing would be. On Windows, where a file that
// another program holds open cannot be replaced, a hold of a moment is waited
// out, and a longer one refused as std::errc::device_or_resource_busy.
// Returns what went wrong, if anything; the old file is then exactly as it
// was. (The one exception, on Windows: when the system has taken the old file
// away and the new one can neither be moved nor written in its place, the new
// file stays beside it under its temporary name.)
std::error_code ReplaceFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
