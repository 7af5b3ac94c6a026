// The real adapters of the seams only the inspector calls: each member
// forwards to the Windows function of the same name and does nothing else.
#include "tools/mixinspect/InspectorPlatform.h"

namespace {

class SystemInspectorKernel32 final : public IInspectorKernel32 {
 public:
  DWORD GetCurrentThreadId() override { return ::GetCurrentThreadId(); }
  HANDLE CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, SIZE_T dwStackSize,
                      LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter, DWORD dwCreationFlags,
                      LPDWORD lpThreadId) override {
    return ::CreateThread(lpThreadAttributes, dwStackSize, lpStartAddress, lpParameter, dwCreationFlags, lpThreadId);
  }
  DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) override {
    return ::WaitForSingleObject(hHandle, dwMilliseconds);
  }
  BOOL CloseHandle(HANDLE hObject) override { return ::CloseHandle(hObject); }
};

class SystemInspectorUser32 final : public IInspectorUser32 {
 public:
  BOOL GetMessageW(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) override {
    return ::GetMessageW(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax);
  }
  LRESULT DispatchMessageW(const MSG* lpMsg) override { return ::DispatchMessageW(lpMsg); }
  BOOL PostThreadMessageW(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) override {
    return ::PostThreadMessageW(idThread, Msg, wParam, lParam);
  }
};

}  // namespace

TInspectorPlatform SystemInspectorPlatform() {
  static SystemInspectorKernel32 kernel32;
  static SystemInspectorUser32 user32;
  return TInspectorPlatform{SystemMixerPlatform(), &SystemConsole(), &kernel32, &user32};
}
