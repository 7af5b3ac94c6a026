// The real adapter of the loader seam: each member forwards to the Windows
// function of the same name and does nothing else.
#include "platform/Loader.h"

namespace {

class SystemLoaderFunctions final : public ILoader {
 public:
  UINT GetSystemDirectoryW(LPWSTR lpBuffer, UINT uSize) override { return ::GetSystemDirectoryW(lpBuffer, uSize); }
  HMODULE LoadLibraryExW(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags) override {
    return ::LoadLibraryExW(lpLibFileName, hFile, dwFlags);
  }
  FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName) override { return ::GetProcAddress(hModule, lpProcName); }
  HMODULE GetModuleHandleW(LPCWSTR lpModuleName) override { return ::GetModuleHandleW(lpModuleName); }
};

}  // namespace

ILoader& SystemLoader() {
  static SystemLoaderFunctions loader;
  return loader;
}
