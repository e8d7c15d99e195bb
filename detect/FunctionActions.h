#pragma once
// Running a function whose count is complete: its stored line, analog and
// relay actions, sent to the module in a fixed order.
#include "config/ConfigRecord.h"
#include "device/DriverTable.h"

// Runs the actions of function 1 to 8 as configRecord holds them now, in this
// order: the line, analog channel 1, analog channel 2, relays K1 to K4. A step
// runs when its enable field is exactly 1 and its selection and action are
// valid; each frame's failure shows its own message and the next step runs
// regardless. Stored volts that the analog outputs cannot deliver are held
// back: that channel's frame is not sent. closeBegun is looked at before every
// step: once the window's close has begun (a failure's message box can
// dispatch the close request), the rest of the run sends nothing. Window
// thread only; any other function number does nothing.
void RunFunction(DriverTable& table, const ConfigRecord& record, int function, const bool& closeBegun);
