// The loader of the programs as the end-to-end suite runs them to see kernel32
// as Windows 2000 to 7 without the loader update have it: the exports that
// LULLSCREEN_HIDDEN_EXPORTS names (separated by ';') are not found. Linked
// into test copies of the programs only, in place of the system's loader.
#include <string>

#include "platform/win32/SystemLoaderFunctions.h"

namespace {

class PreUpdateLoader final : public SystemLoaderFunctions {
 public:
  FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName) override {
    char hidden[256] = "";
    const DWORD length = GetEnvironmentVariableA("LULLSCREEN_HIDDEN_EXPORTS", hidden, sizeof hidden);
    const std::string names = ";" + std::string(hidden, length < sizeof hidden ? length : 0) + ";";
    if (names.find(";" + std::string(lpProcName) + ";") != std::string::npos) return nullptr;
    return SystemLoaderFunctions::GetProcAddress(hModule, lpProcName);
  }
};

}  // namespace

ILoader& SystemLoader() {
  static PreUpdateLoader loader;
  return loader;
}
