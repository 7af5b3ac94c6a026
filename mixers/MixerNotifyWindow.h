// The mixer library's own notification window: an invisible window of no
// size, of a window class of its own that is registered at the first need and
// unregistered when this object goes. Every message it receives goes to the
// WndProc of its TMixer.
#pragma once

#include "core/Text.h"
#include "core/Unique.h"
#include "platform/MixerPlatform.h"

class TMixer;

class TMixerNotifyWindow {
 public:
  explicit TMixerNotifyWindow(TMixer& Mixer);
  /// Destroys the window, then unregisters the class.
  ~TMixerNotifyWindow() = default;
  TMixerNotifyWindow(const TMixerNotifyWindow&) = delete;
  TMixerNotifyWindow& operator=(const TMixerNotifyWindow&) = delete;

  /// The window, created now when none exists; 0 when it cannot be made.
  HWND Open();
  /// Destroys the window; the class stays registered for the next Open.
  void Close() { FWindow.Reset(); }
  /// 0 while no window exists.
  HWND Handle() const { return FWindow.Get(); }

 private:
  struct TClassRelease {
    IUser32* User32;
    const String* Name;
    HINSTANCE Instance;
    void operator()(ATOM) const { User32->UnregisterClassW(Name->c_str(), Instance); }
  };
  struct TWindowRelease {
    IUser32* User32;
    void operator()(HWND Window) const;
  };

  static LRESULT CALLBACK Procedure(HWND Window, UINT Msg, WPARAM wParam, LPARAM lParam);

  TMixer& FMixer;
  IUser32& FUser32;
  String FClassName;
  HINSTANCE FInstance = nullptr;
  // Declared in this order so that the window goes before its class.
  TUnique<ATOM, TClassRelease> FClass;
  TUnique<HWND, TWindowRelease> FWindow;
};
