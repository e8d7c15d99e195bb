#pragma once
// Handles what is waiting in the window thread's queue, if anything, and
// returns at once; it never waits. Long window-thread operations call it so the
// window stays responsive.
void PumpOneMessage();
