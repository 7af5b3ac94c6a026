// The mixer library's own notification window: a message-only window, of a
// window class of its own that is registered at the first need and
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
  /// Destroys the window (unlinking it even if it will not go), then unregisters the class.
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
    IMixerUser32* User32;
    const String* Name;
    HINSTANCE Instance;
    void operator()(ATOM) const { User32->UnregisterClassW(Name->c_str(), Instance); }
  };
  struct TWindowRelease {
    IMixerUser32* User32;
    void operator()(HWND Window) const;
  };

  static LRESULT CALLBACK Procedure(HWND Window, UINT Msg, WPARAM wParam, LPARAM lParam);
  /// The window of this thread's that Window is, or null.
  static TMixerNotifyWindow* Find(HWND Window);
  void Link(HWND Window);
  void Unlink();

  TMixer& FMixer;
  IMixerUser32& FUser32;
  String FClassName;
  // Declared in this order so that the window goes before its class.
  TUnique<ATOM, TClassRelease> FClass;
  TUnique<HWND, TWindowRelease> FWindow;
  // The thread's windows form a list, linked from WM_NCCREATE to WM_NCDESTROY.
  HWND FLinked = nullptr;
  TMixerNotifyWindow* FNextLinked = nullptr;
};
