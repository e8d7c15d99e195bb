#pragma once
// What every test main ends with, once its window backend is up: the one
// application object, named like the program so boxes carry its caption, and
// every box a failure unless a test expects it.
int RunAllTestsAsTheProgram();
