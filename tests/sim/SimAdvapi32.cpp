#include "sim/SimSystem.h"

namespace {

HANDLE const ProcessPseudoHandle = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));

bool SameLuid(const LUID& a, const LUID& b) { return a.LowPart == b.LowPart && a.HighPart == b.HighPart; }

std::string LuidArg(const LUID& luid) {
  return "{" + Arg(static_cast<unsigned long>(luid.LowPart)) + "," + Arg(static_cast<long>(luid.HighPart)) + "}";
}

}  // namespace

SimAdvapi32::SimAdvapi32(CallLog& Log, SimKernel32& Kernel32) : FLog(Log), FKernel32(Kernel32) {}

BOOL SimAdvapi32::OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, PHANDLE TokenHandle) {
  if (FLog.Record(CallText("OpenProcessToken", ProcessHandle, Hex(DesiredAccess)))) return FALSE;
  if (ProcessHandle != ProcessPseudoHandle || TokenHandle == nullptr) return FALSE;
  *TokenHandle = FKernel32.NewHandle();
  return TRUE;
}

BOOL SimAdvapi32::LookupPrivilegeValueW(LPCWSTR lpSystemName, LPCWSTR lpName, PLUID lpLuid) {
  if (FLog.Record(CallText("LookupPrivilegeValueW", lpSystemName, lpName))) return FALSE;
  if (lpSystemName != nullptr || lpName == nullptr || lpLuid == nullptr) return FALSE;
  // Privilege names are matched without regard to case, as the system does.
  const WCHAR* expected = WSTR("SeShutdownPrivilege");
  std::size_t i = 0;
  for (; expected[i] != 0 && lpName[i] != 0; ++i)
    if (SimKernel32::Fold(expected[i]) != SimKernel32::Fold(lpName[i])) return FALSE;
  if (expected[i] != lpName[i]) return FALSE;
  *lpLuid = ShutdownLuid;
  return TRUE;
}

BOOL SimAdvapi32::AdjustTokenPrivileges(HANDLE TokenHandle, BOOL DisableAllPrivileges, PTOKEN_PRIVILEGES NewState,
                                        DWORD BufferLength, PTOKEN_PRIVILEGES PreviousState, PDWORD ReturnLength) {
  std::string state = "null";
  if (NewState != nullptr) {
    state = Arg(static_cast<unsigned long>(NewState->PrivilegeCount));
    if (NewState->PrivilegeCount >= 1)
      state += "," + LuidArg(NewState->Privileges[0].Luid) + "," + Hex(NewState->Privileges[0].Attributes);
  }
  if (FLog.Record(CallText("AdjustTokenPrivileges", TokenHandle, DisableAllPrivileges, state, BufferLength)))
    return FALSE;
  if (!FKernel32.IsOpenHandle(TokenHandle)) return FALSE;
  // The record holds one entry; longer lists, and disabling all, are beyond what the simulator models.
  if (DisableAllPrivileges || NewState == nullptr || NewState->PrivilegeCount > 1) return FALSE;
  const bool touchesShutdown = NewState->PrivilegeCount == 1 && SameLuid(NewState->Privileges[0].Luid, ShutdownLuid);
  const bool enable = touchesShutdown && (NewState->Privileges[0].Attributes & SE_PRIVILEGE_ENABLED) != 0;
  if (PreviousState != nullptr) {
    // The system fails without adjusting anything when the previous state does not fit.
    if (ReturnLength != nullptr) *ReturnLength = sizeof(TOKEN_PRIVILEGES);
    if (BufferLength < sizeof(TOKEN_PRIVILEGES)) return FALSE;
    PreviousState->PrivilegeCount = touchesShutdown ? 1 : 0;
    PreviousState->Privileges[0].Luid = ShutdownLuid;
    PreviousState->Privileges[0].Attributes = ShutdownEnabled ? SE_PRIVILEGE_ENABLED : 0;
  }
  if (touchesShutdown) ShutdownEnabled = enable;
  return TRUE;
}
