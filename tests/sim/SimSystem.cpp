#include "sim/SimSystem.h"

SimSystem::SimSystem() : Kernel32(Log), User32(Log), Advapi32(Log, Kernel32), Ole32(Log), Winmm(Log) {}

TPlatform SimSystem::Platform() {
  return TPlatform{{&Kernel32, &User32, &Winmm, SimUser32::DefWindowProcAddress()}, &Advapi32, &Ole32};
}

// The message loop of the simulated thread (see SimSystem.h).

DWORD SimKernel32::GetCurrentThreadId() {
  FLog.Record(CallText("GetCurrentThreadId"));
  return ThreadId;
}

bool SimUser32::NextQueued(MSG* Msg, bool Remove) {
  if (FTaken >= PostedMessages.size()) return false;
  const Posted& next = PostedMessages[FTaken];
  if (Msg != nullptr) {
    *Msg = MSG{};
    Msg->hwnd = next.Window;
    Msg->message = next.Msg;
    Msg->wParam = next.wParam;
    Msg->lParam = next.lParam;
  }
  if (Remove) ++FTaken;
  return true;
}

BOOL SimUser32::GetMessageW(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
  if (FLog.Record(CallText("GetMessageW", hWnd, Hex(wMsgFilterMin), Hex(wMsgFilterMax)))) return -1;
  if (lpMsg == nullptr) return -1;
  if (!NextQueued(lpMsg, true)) {
    *lpMsg = MSG{};
    lpMsg->message = WM_QUIT;
  }
  return lpMsg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL SimUser32::PeekMessageW(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
  if (FLog.Record(CallText("PeekMessageW", hWnd, Hex(wMsgFilterMin), Hex(wMsgFilterMax), Hex(wRemoveMsg))))
    return FALSE;
  return NextQueued(lpMsg, (wRemoveMsg & PM_REMOVE) != 0) ? TRUE : FALSE;
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
  if (FLog.Record(CallText("PostThreadMessageW", idThread, Hex(Msg), Hex(wParam), lParam))) return FALSE;
  PostedMessages.push_back({nullptr, Msg, wParam, lParam});
  return TRUE;
}
