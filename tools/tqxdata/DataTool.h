#pragma once
// The tqxdata command line: show, export and import of a data file. Kept apart
// from main() so tests run every command and read what it prints.
#include <iosfwd>
#include <span>
#include <string>

// arguments: what follows the program's name. Returns the exit status: 0 done,
// 1 a file could not be read, parsed or written, 2 a wrong command line.
int RunDataTool(std::span<const std::string> arguments, std::istream& in, std::ostream& out, std::ostream& err);
