// The set of seams a caller hands to the code that acts on the machine: the
// mixer library's, and the kernel32, user32, token and COM functions only the
// program uses. The system's adapters exist only in Windows builds.
#pragma once

#include "platform/Advapi32.h"
#include "platform/Kernel32.h"
#include "platform/MixerPlatform.h"
#include "platform/Ole32.h"
#include "platform/User32.h"

struct TPlatform {
  TMixerPlatform Mixer;
  IKernel32* Kernel32;
  IUser32* User32;
  IAdvapi32* Advapi32;
  IOle32* Ole32;
  /// A file that audio code would load in place of a system DLL, as
  /// SystemPlantedLibrary answers; none when empty or null.
  String (*PlantedLibrary)();
};

/// The adapters that forward to the running system (Windows builds only).
TPlatform SystemPlatform();
