// The real adapters of the seams only the program calls: each member
// forwards to the Windows function of the same name and does nothing else.
#include "platform/Platform.h"

namespace {

class SystemAdvapi32 final : public IAdvapi32 {
 public:
  BOOL OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, PHANDLE TokenHandle) override {
    return ::OpenProcessToken(ProcessHandle, DesiredAccess, TokenHandle);
  }
  BOOL LookupPrivilegeValueW(LPCWSTR lpSystemName, LPCWSTR lpName, PLUID lpLuid) override {
    return ::LookupPrivilegeValueW(lpSystemName, lpName, lpLuid);
  }
  BOOL AdjustTokenPrivileges(HANDLE TokenHandle, BOOL DisableAllPrivileges, PTOKEN_PRIVILEGES NewState,
                             DWORD BufferLength, PTOKEN_PRIVILEGES PreviousState, PDWORD ReturnLength) override {
    return ::AdjustTokenPrivileges(TokenHandle, DisableAllPrivileges, NewState, BufferLength, PreviousState,
                                   ReturnLength);
  }
};

class SystemOle32 final : public IOle32 {
 public:
  HRESULT CoInitialize(LPVOID pvReserved) override { return ::CoInitialize(pvReserved); }
  void CoUninitialize() override { ::CoUninitialize(); }
  HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                           LPVOID* ppv) override {
    return ::CoCreateInstance(rclsid, pUnkOuter, dwClsContext, riid, ppv);
  }
};

}  // namespace

TPlatform SystemPlatform() {
  static SystemAdvapi32 advapi32;
  static SystemOle32 ole32;
  TPlatform platform{SystemMixerPlatform(), &advapi32, &ole32};
  return platform;
}
