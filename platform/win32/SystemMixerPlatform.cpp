// The real adapters of the seams the mixer library calls: each member
// forwards to the Windows function of the same name and does nothing else.
// winmm is not imported: it is loaded from the system folder at the first
// mixer call (platform/LoadedWinmm.h).
#include "platform/LoadedWinmm.h"
#include "platform/MixerPlatform.h"

// The linker's name for the start of the module this code is linked into:
// the program, or a DLL that links the library.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

class SystemMixerUser32 final : public IMixerUser32 {
 public:
  ATOM RegisterClassExW(const WNDCLASSEXW* lpwcx) override { return ::RegisterClassExW(lpwcx); }
  BOOL UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance) override {
    return ::UnregisterClassW(lpClassName, hInstance);
  }
  HWND CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                       int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                       LPVOID lpParam) override {
    return ::CreateWindowExW(dwExStyle, lpClassName, lpWindowName, dwStyle, X, Y, nWidth, nHeight, hWndParent, hMenu,
                             hInstance, lpParam);
  }
  BOOL DestroyWindow(HWND hWnd) override { return ::DestroyWindow(hWnd); }
  LRESULT CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) override {
    return ::CallWindowProcW(lpPrevWndFunc, hWnd, Msg, wParam, lParam);
  }
};

class SystemMixerKernel32 final : public IMixerKernel32 {
 public:
  int CompareStringW(LCID Locale, DWORD dwCmpFlags, LPCWSTR lpString1, int cchCount1, LPCWSTR lpString2,
                     int cchCount2) override {
    return ::CompareStringW(Locale, dwCmpFlags, lpString1, cchCount1, lpString2, cchCount2);
  }
};

const TWinmmFunctions& SystemWinmmFunctions() {
  // Loaded once, on first use, by whichever thread gets there first; not at
  // all where the host's folder holds a file that winmm's drivers could be
  // taken from.
  static const TWinmmFunctions functions =
      SystemPlantedLibrary().empty() ? LoadWinmm(SystemLoader()) : TWinmmFunctions{};
  return functions;
}

TLoadedWinmm& SystemWinmm() {
  static TLoadedWinmm winmm(&SystemWinmmFunctions);
  return winmm;
}

}  // namespace

TMixerPlatform SystemMixerPlatform() {
  // Stateless forwarders: one of each serves the whole process.
  static SystemMixerKernel32 kernel32;
  static SystemMixerUser32 user32;
  return TMixerPlatform{&kernel32, &user32, &SystemWinmm(), ::DefWindowProcW,
                        reinterpret_cast<HINSTANCE>(&__ImageBase)};
}

bool SystemMixerAvailable() { return SystemWinmm().Available(); }

String SystemPlantedLibrary() {
  // Asked once: the host's folder is searched at most once per process.
  static const String planted = PlantedLibrary(SystemLoader(), NarrowedDllSearch());
  return planted;
}
