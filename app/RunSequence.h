// The run: start-up, the settings from the command line, and the action
// phase under one exception report.
#pragma once

#include "console/Console.h"
#include "app/RunSettings.h"
#include "app/platform/Platform.h"

/// The action phase in its fixed order: the power action alone; or the mute
/// step, then (unless it unmuted) the wait with the display power-off, then
/// the lock. ArgCount does not count the program itself.
void RunActions(const TPlatform& Platform, TRunSettings& Settings, int ArgCount, TConsole& Console);

/// The whole program on the given functions; its exit status, always 0.
int RunLullscreen(const TPlatform& Platform);
