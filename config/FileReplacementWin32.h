#pragma once
// The call that puts a Windows save's new file in the old one's place, as a
// pointer: tests swap it to make the replacement fail in each of the ways the
// system documents. Windows only; not part of the saving contract.
#include <windows.h>

using ReplaceFileCall = decltype(&ReplaceFileW);
// ReplaceFileW unless a test has put another call in its place.
extern ReplaceFileCall replaceFileCall;
