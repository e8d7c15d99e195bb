#pragma once
// The tools' command-line arguments (after the program's name) as UTF-8, on
// every platform: file names may hold characters of any language, which
// Windows hands a program's narrow argv only as far as its code page reaches.
// On Windows, too, the console shows the tools' UTF-8 output as such while the
// tool runs. Paths are made from the arguments with PathFromUtf8.
#include <string>
#include <vector>

std::vector<std::string> CommandLineArguments(int argc, char** argv);
