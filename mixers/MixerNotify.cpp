// The library's own notification window and the routing of the two mixer
// change messages to the events of the TMixer that owns the window.
#include <atomic>
#include <map>
#include <new>

#include "mixers/Mixer.h"
#include "mixers/MixerNotifyWindow.h"

namespace {

// Which TMixer each of the library's windows belongs to. The window procedure
// is shared by every mixer, and the seam offers no per-window storage, so the
// link is kept here from WM_NCCREATE until WM_NCDESTROY. A window's messages
// are dispatched on the thread that created it, so each thread keeps its own
// links and no lock is needed.
std::map<HWND, TMixer*>& Windows() {
  thread_local std::map<HWND, TMixer*> windows;
  return windows;
}

TMixer* MixerOfWindow(HWND Window) {
  const auto found = Windows().find(Window);
  return found != Windows().end() ? found->second : nullptr;
}

// False when memory for the link runs out.
bool LinkWindow(HWND Window, TMixer* Mixer) noexcept {
  try {
    Windows()[Window] = Mixer;
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

void UnlinkWindow(HWND Window) { Windows().erase(Window); }

// Window classes are per process; every mixer registers one under a name of its own.
String NewWindowClassName() {
  static std::atomic<unsigned> next{0};
  return WSTR("TMixerNotifyWindow.") + DecimalText(next.fetch_add(1));
}

}  // namespace

TMixerNotifyWindow::TMixerNotifyWindow(TMixer& Mixer) : FMixer(Mixer), FUser32(*Mixer.Platform().User32) {}

HWND TMixerNotifyWindow::Open() {
  if (FWindow) return FWindow.Get();
  const TMixerPlatform& platform = FMixer.Platform();
  if (!FClass) {
    if (FClassName.empty()) FClassName = NewWindowClassName();
    FInstance = platform.Kernel32 != nullptr ? platform.Kernel32->GetModuleHandleW(nullptr) : nullptr;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &TMixerNotifyWindow::Procedure;
    windowClass.hInstance = FInstance;
    windowClass.lpszClassName = FClassName.c_str();
    const ATOM atom = FUser32.RegisterClassExW(&windowClass);
    if (atom == 0) return nullptr;
    FClass = TUnique<ATOM, TClassRelease>(atom, TClassRelease{&FUser32, &FClassName, FInstance});
  }
  // Not visible and of no size: it exists only to receive posted messages.
  const HWND window = FUser32.CreateWindowExW(0, FClassName.c_str(), WSTR(""), WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                              FInstance, &FMixer);
  FWindow = TUnique<HWND, TWindowRelease>(window, TWindowRelease{&FUser32});
  return window;
}

void TMixerNotifyWindow::TWindowRelease::operator()(HWND Window) const {
  User32->DestroyWindow(Window);
  // A window that failed to go away must not reach its mixer any more.
  UnlinkWindow(Window);
}

LRESULT CALLBACK TMixerNotifyWindow::Procedure(HWND Window, UINT Msg, WPARAM wParam, LPARAM lParam) {
  TMixer* mixer = MixerOfWindow(Window);
  if (mixer == nullptr && Msg == WM_NCCREATE && lParam != 0) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    mixer = static_cast<TMixer*>(create->lpCreateParams);
    // Nothing may unwind through the system's window code: a window that
    // cannot be linked to its mixer is refused, and CreateWindowExW fails.
    if (mixer != nullptr && !LinkWindow(Window, mixer)) return FALSE;
  }
  // Only a message sent before WM_NCCREATE finds no mixer; the answer 0 is
  // the harmless one for those.
  if (mixer == nullptr) return 0;
  const LRESULT result = mixer->WndProc(Window, Msg, wParam, lParam);
  if (Msg == WM_NCDESTROY) UnlinkWindow(Window);
  return result;
}

LRESULT TMixer::WndProc(HWND Window, UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case MM_MIXM_LINE_CHANGE:
      DoLineChange(reinterpret_cast<HMIXER>(wParam), static_cast<std::uint32_t>(lParam));
      return 0;
    case MM_MIXM_CONTROL_CHANGE:
      DoControlChange(reinterpret_cast<HMIXER>(wParam), static_cast<std::uint32_t>(lParam));
      return 0;
    default:
      return FPlatform.User32->CallWindowProcW(FPlatform.DefWindowProc, Window, Msg, wParam, lParam);
  }
}

HWND TMixer::GetNotifyWindow() {
  if (FCallbackHandle != nullptr) {
    if (FNotifyWindow) FNotifyWindow->Close();
    return FCallbackHandle;
  }
  // Without window functions the devices are opened without notifications.
  if (FPlatform.User32 == nullptr) return nullptr;
  if (!FNotifyWindow) FNotifyWindow = std::make_unique<TMixerNotifyWindow>(*this);
  return FNotifyWindow->Open();
}

HWND TMixer::InternalCallbackWindow() const { return FNotifyWindow ? FNotifyWindow->Handle() : nullptr; }

void TMixer::DoControlChange(HMIXER Handle, std::uint32_t ControlID) {
  if (!FOnControlChange) return;
  TMixerDev* dev = DevOfHandle(Handle);
  if (dev == nullptr) return;
  TMixerCtrl* ctrl = dev->CtrlOfControlID(ControlID);
  if (ctrl == nullptr) return;
  TMixerItem* item = ctrl->Parent();
  if (item == nullptr) return;
  FOnControlChange(this, dev, item, ctrl);
}

void TMixer::DoLineChange(HMIXER Handle, std::uint32_t LineID) {
  if (!FOnLineChange) return;
  TMixerDev* dev = DevOfHandle(Handle);
  if (dev == nullptr) return;
  TMixerItem* item = dev->ItemOfLineID(LineID);
  if (item == nullptr) return;
  FOnLineChange(this, dev, item);
}
