// The seams the mixer library calls: the mixer functions, the library's
// notification window, and the comparison of list-item names.
// The system's adapters exist only in Windows builds.
#pragma once

#include "platform/Kernel32.h"
#include "platform/User32.h"
#include "platform/Winmm.h"

struct TMixerPlatform {
  IKernel32* Kernel32;
  IUser32* User32;
  IWinmm* Winmm;
  /// The system's default window procedure, as handed to CallWindowProcW.
  WNDPROC DefWindowProc;
};

/// The adapters that forward to the running system (Windows builds only).
TMixerPlatform SystemMixerPlatform();
