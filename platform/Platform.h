// The set of seams a caller hands to the code that acts on the machine.
// The system's adapters exist only in Windows builds.
#pragma once

#include "platform/Advapi32.h"
#include "platform/Kernel32.h"
#include "platform/Ole32.h"
#include "platform/User32.h"
#include "platform/Winmm.h"

struct TPlatform {
  IKernel32* Kernel32;
  IUser32* User32;
  IAdvapi32* Advapi32;
  IOle32* Ole32;
  IWinmm* Winmm;
  /// The system's default window procedure, as handed to CallWindowProcW.
  WNDPROC DefWindowProc;
};

/// The adapters that forward to the running system (Windows builds only).
TPlatform SystemPlatform();
