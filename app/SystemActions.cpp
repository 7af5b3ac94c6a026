#include "app/SystemActions.h"

#include "console/KernelHandle.h"

namespace {

// The token rights the privilege adjustment needs.
constexpr DWORD ShutdownTokenAccess = TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY;

}  // namespace

void Delay(IKernel32& Kernel32, DWORD Msec) {
  const DWORD start = Kernel32.GetTickCount();
  if (Msec >= 0x80000000u) {
    // A negative wait: one poll, as the absolute-deadline form always did.
    Kernel32.GetTickCount();
    Kernel32.Sleep(1);
    return;
  }
  // Elapsed time in unsigned arithmetic stays right across the counter's wrap,
  // where an absolute deadline would already lie behind the current tick.
  DWORD now = 0;
  do {
    now = Kernel32.GetTickCount();
    Kernel32.Sleep(1);
  } while (static_cast<DWORD>(now - start) <= Msec);
}

void DisplayOff(const TPlatform& Platform) {
  const HWND shell = Platform.User32->FindWindowW(WSTR("ProgMan"), nullptr);
  Platform.User32->PostMessageW(shell, WM_SYSCOMMAND, SC_MONITORPOWER, 1);
  Platform.Kernel32->Sleep(0);
  Platform.User32->PostMessageW(shell, WM_SYSCOMMAND, SC_MONITORPOWER, 2);
}

void LockStation(const TPlatform& Platform) { Platform.User32->LockWorkStation(); }

bool SetShutdownPrivilege(const TPlatform& Platform, bool Enable) {
  const HANDLE process = Platform.Kernel32->GetCurrentProcess();
  TKernelHandle<IKernel32> token(TKernelHandleClose<IKernel32>{Platform.Kernel32});
  if (!token.Receive(
          [&](HANDLE* Token) { return Platform.Advapi32->OpenProcessToken(process, ShutdownTokenAccess, Token) != 0; }))
    return false;

  bool adjusted = false;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  if (Platform.Advapi32->LookupPrivilegeValueW(nullptr, WSTR("SeShutdownPrivilege"), &privileges.Privileges[0].Luid) !=
      0) {
    privileges.Privileges[0].Attributes = Enable ? SE_PRIVILEGE_ENABLED : 0;
    TOKEN_PRIVILEGES previous{};
    DWORD returned = 0;
    // The last error is not consulted: a token without the privilege still
    // reports success here, and the power call then fails on its own.
    adjusted = Platform.Advapi32->AdjustTokenPrivileges(
                   token.Get(), FALSE, &privileges, static_cast<DWORD>(sizeof(privileges)), &previous, &returned) != 0;
  }
  return adjusted;
}

bool DoPowerAction(const TPlatform& Platform, const TRunSettings& Settings) {
  SetShutdownPrivilege(Platform, true);
  bool done = false;
  if (Settings.PowerAction >= 3) {
    done = Platform.Kernel32->SetSystemPowerState(Settings.PowerAction == 3, Settings.ForceAction) != 0;
  } else {
    UINT flags = Settings.PowerAction >= 1 ? ExitFlagTable[Settings.PowerAction - 1u] : 0;
    if (Settings.PowerOff) flags |= EWX_POWEROFF;
    if (Settings.ForceAction) flags |= EWX_FORCE;
    done = Platform.User32->ExitWindowsEx(flags, 0) != 0;
  }
  SetShutdownPrivilege(Platform, false);
  return done;
}
