// The set of seams Lullscreen.exe's run is handed: the mixer library's, the
// console's, and the kernel32, user32, token and COM functions only this
// program calls. The system's adapters exist only in Windows builds.
#pragma once

#include "app/platform/Advapi32.h"
#include "app/platform/Kernel32.h"
#include "platform/MixerPlatform.h"
#include "app/platform/Ole32.h"
#include "app/platform/User32.h"
#include "console/ConsoleKernel32.h"

struct TPlatform {
  TMixerPlatform Mixer;
  IConsoleKernel32* Console;
  IKernel32* Kernel32;
  IUser32* User32;
  IAdvapi32* Advapi32;
  IOle32* Ole32;
  /// A file that audio code would load in place of a system DLL, as
  /// SystemPlantedLibrary answers; empty when there is none.
  String (*PlantedLibrary)();
};

/// The adapters that forward to the running system (Windows builds only).
TPlatform SystemPlatform();
