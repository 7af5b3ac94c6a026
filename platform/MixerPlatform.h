// The seams the mixer library calls: the mixer functions, the library's
// notification window, and the comparison of list-item names. Nothing else of
// the system's: a program that links the library imports no more than these.
// The system's adapters exist only in Windows builds.
#pragma once

#include "platform/MixerKernel32.h"
#include "platform/MixerUser32.h"
#include "platform/Winmm.h"

struct TMixerPlatform {
  IMixerKernel32* Kernel32;
  IMixerUser32* User32;
  IWinmm* Winmm;
  /// The system's default window procedure, as handed to CallWindowProcW.
  WNDPROC DefaultWindowProc;
  /// The module that holds the library's window procedure, which registers its window class.
  HINSTANCE Module;
};

/// The adapters that forward to the running system (Windows builds only).
/// winmm is loaded from the system folder at the first mixer call.
TMixerPlatform SystemMixerPlatform();
/// False when the system's mixer functions cannot be loaded, or are left out
/// because of SystemPlantedLibrary: the mixer then answers as a system without
/// mixer devices (Windows builds only).
bool SystemMixerAvailable();
/// A file beside the program that this system would load in place of a system
/// DLL once audio code runs (platform/Loader.h, PlantedLibrary), or empty. Not
/// empty, audio is left out. After NarrowDllSearch(SystemLoader()) at start-up
/// it is always empty on systems that have SetDefaultDllDirectories (Windows 8
/// and later, Vista and 7 with the loader update); without that call, and on
/// older systems, the program's folder is searched once (Windows builds only).
String SystemPlantedLibrary();
