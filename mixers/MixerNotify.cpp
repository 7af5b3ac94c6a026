// The library's own notification window and the routing of the two mixer
// change messages to the events of the TMixer that owns the window.
#include <atomic>

#include "mixers/Mixer.h"
#include "mixers/MixerNotifyWindow.h"

namespace {

// The first of the library's windows that this thread made. A window's
// messages are dispatched on the thread that created it, so each thread keeps
// its own list and no lock is needed. A plain pointer: a thread-local object
// with a destructor would need a runtime service that old systems lack.
// mingw-w64 emulates thread_local over TlsAlloc (emutls), which allocates a
// thread's copy at that thread's first use, and aborts the process instead of
// throwing when it cannot.
thread_local TMixerNotifyWindow* ThreadWindows = nullptr;

// Window classes are per process and per module: every mixer registers one of
// its own, under a name that also carries the module, so that two modules of
// one process that both link the library never ask for the same class.
String NewWindowClassName(HINSTANCE Module) {
  static std::atomic<unsigned> next{0};
  return WSTR("TMixerNotifyWindow.") +
         HexText(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(Module)), 8) + WSTR(".") +
         DecimalText(next.fetch_add(1));
}

}  // namespace

TMixerNotifyWindow::TMixerNotifyWindow(TMixer& Mixer) : FMixer(Mixer), FUser32(*Mixer.Platform().User32) {}

HWND TMixerNotifyWindow::Open() {
  if (FWindow) return FWindow.Get();
  const HINSTANCE module = FMixer.Platform().Module;
  if (!FClass) {
    if (FClassName.empty()) FClassName = NewWindowClassName(module);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &TMixerNotifyWindow::Procedure;
    windowClass.hInstance = module;
    windowClass.lpszClassName = FClassName.c_str();
    const ATOM atom = FUser32.RegisterClassExW(&windowClass);
    if (atom == 0) return nullptr;
    FClass = TUnique<ATOM, TClassRelease>(atom, TClassRelease{&FUser32, &FClassName, module});
  }
  // A message-only window: it receives posted messages and nothing the system
  // broadcasts to top-level windows, which would wait on a thread that may
  // never dispatch.
  const HWND window =
      FUser32.CreateWindowExW(0, FClassName.c_str(), WSTR(""), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module, this);
  FWindow = TUnique<HWND, TWindowRelease>(window, TWindowRelease{&FUser32});
  // A creation that failed after WM_NCCREATE may leave no WM_NCDESTROY behind.
  if (window == nullptr) Unlink();
  return window;
}

void TMixerNotifyWindow::TWindowRelease::operator()(HWND Window) const {
  User32->DestroyWindow(Window);
  // A window that failed to go away must not reach its mixer any more.
  if (TMixerNotifyWindow* owner = Find(Window)) owner->Unlink();
}

TMixerNotifyWindow* TMixerNotifyWindow::Find(HWND Window) {
  for (TMixerNotifyWindow* w = ThreadWindows; w != nullptr; w = w->FNextLinked)
    if (w->FLinked == Window) return w;
  return nullptr;
}

void TMixerNotifyWindow::Link(HWND Window) {
  Unlink();
  FLinked = Window;
  FNextLinked = ThreadWindows;
  ThreadWindows = this;
}

void TMixerNotifyWindow::Unlink() {
  if (FLinked == nullptr) return;
  for (TMixerNotifyWindow** at = &ThreadWindows; *at != nullptr; at = &(*at)->FNextLinked) {
    if (*at == this) {
      *at = FNextLinked;
      break;
    }
  }
  FLinked = nullptr;
  FNextLinked = nullptr;
}

LRESULT CALLBACK TMixerNotifyWindow::Procedure(HWND Window, UINT Msg, WPARAM wParam, LPARAM lParam) {
  TMixerNotifyWindow* self = Find(Window);
  if (self == nullptr && Msg == WM_NCCREATE && lParam != 0) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    self = static_cast<TMixerNotifyWindow*>(create->lpCreateParams);
    // Linking throws nothing: it only sets pointers, and the thread's copy of
    // the list head, if this is its first use, comes from emutls, which aborts
    // instead. So nothing unwinds through the system's window code here.
    if (self != nullptr) self->Link(Window);
  }
  // Only a message sent before WM_NCCREATE finds no window; the answer 0 is
  // the harmless one for those.
  if (self == nullptr) return 0;
  const LRESULT result = self->FMixer.WndProc(Window, Msg, wParam, lParam);
  if (Msg == WM_NCDESTROY) self->Unlink();
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
      return FPlatform.User32->CallWindowProcW(FPlatform.DefaultWindowProc, Window, Msg, wParam, lParam);
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

HWND TMixer::OwnNotifyWindow() const { return FNotifyWindow ? FNotifyWindow->Handle() : nullptr; }

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
