// How the run acts on the machine: the wait, the display power-off, the lock,
// and the power actions with the shutdown privilege around them. None of them
// reports anything; results are returned to a caller that may ignore them.
#pragma once

#include "app/RunSettings.h"
#include "app/platform/Platform.h"

/// Waits more than Msec milliseconds, polling the tick counter with 1 ms
/// sleeps; safe across the counter's wrap. An Msec of 0x80000000 or more (a
/// negative wait) returns after the first poll.
void Delay(IKernel32& Kernel32, DWORD Msec);

/// Posts monitor low power, then power off, to the shell's window.
void DisplayOff(const TPlatform& Platform);

/// Asks for the workstation lock; the result is not examined.
void LockStation(const TPlatform& Platform);

/// Enables or disables the shutdown privilege of the process's token; true
/// when the adjustment call itself succeeded.
bool SetShutdownPrivilege(const TPlatform& Platform, bool Enable);

/// Reboots, shuts down, suspends or hibernates as Settings.PowerAction says,
/// with the shutdown privilege on only around the call; true when the power
/// call succeeded.
bool DoPowerAction(const TPlatform& Platform, const TRunSettings& Settings);
