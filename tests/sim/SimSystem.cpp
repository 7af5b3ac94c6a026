#include "sim/SimSystem.h"

SimSystem::SimSystem() : Kernel32(Log), User32(Log), Advapi32(Log, Kernel32), Ole32(Log), Winmm(Log) {}

HINSTANCE SimSystem::Module() { return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(0x10000000)); }

TMixerPlatform SimSystem::MixerPlatform() {
  return TMixerPlatform{&Kernel32, &User32, &Winmm, SimUser32::DefWindowProcAddress(), Module()};
}

TPlatform SimSystem::Platform() {
  return TPlatform{MixerPlatform(), &Kernel32, &Kernel32, &User32, &Advapi32, &Ole32, PlantedLibrary};
}

// Threads and the message queue are not modelled (only the inspector's watch
// mode uses them, on the real system): the calls are recorded and find nothing.

DWORD SimKernel32::GetCurrentThreadId() {
  FLog.Record(CallText("GetCurrentThreadId"));
  return 1;
}

HANDLE SimKernel32::CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T dwStackSize, LPTHREAD_START_ROUTINE, LPVOID,
                                 DWORD dwCreationFlags, LPDWORD) {
  FLog.Record(CallText("CreateThread", static_cast<unsigned long long>(dwStackSize), Hex(dwCreationFlags)));
  return nullptr;
}

DWORD SimKernel32::WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  FLog.Record(CallText("WaitForSingleObject", Arg(hHandle), dwMilliseconds));
  return WAIT_FAILED;
}

BOOL SimUser32::GetMessageW(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
  if (FLog.Record(CallText("GetMessageW", hWnd, Hex(wMsgFilterMin), Hex(wMsgFilterMax))) || lpMsg == nullptr) return -1;
  *lpMsg = MSG{};
  lpMsg->message = WM_QUIT;
  return FALSE;
}

LRESULT SimUser32::DispatchMessageW(const MSG* lpMsg) {
  if (lpMsg == nullptr) {
    FLog.Record(CallText("DispatchMessageW", "null"));
    return 0;
  }
  if (FLog.Record(CallText("DispatchMessageW", lpMsg->hwnd, Hex(lpMsg->message), Hex(lpMsg->wParam), lpMsg->lParam)))
    return 0;
  return Dispatch(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

BOOL SimUser32::PostThreadMessageW(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return FLog.Record(CallText("PostThreadMessageW", idThread, Hex(Msg), Hex(wParam), lParam)) ? FALSE : TRUE;
}
