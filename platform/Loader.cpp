#include "platform/Loader.h"

#include <vector>

namespace {

using TSetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);
using TSetDllDirectoryW = BOOL(WINAPI*)(LPCWSTR);

FARPROC Kernel32Export(ILoader& Loader, LPCSTR Name) {
  const HMODULE kernel32 = Loader.GetModuleHandleW(WSTR("kernel32.dll"));
  return kernel32 != nullptr ? Loader.GetProcAddress(kernel32, Name) : nullptr;
}

}  // namespace

TDllSearch NarrowDllSearch(ILoader& Loader) {
  if (const FARPROC proc = Kernel32Export(Loader, "SetDefaultDllDirectories"))
    if (ProcAs<TSetDefaultDllDirectories>(proc)(LoadSearchSystem32) != 0) return TDllSearch::SystemFolderOnly;
  if (const FARPROC proc = Kernel32Export(Loader, "SetDllDirectoryW"))
    if (ProcAs<TSetDllDirectoryW>(proc)(WSTR("")) != 0) return TDllSearch::NoCurrentFolder;
  return TDllSearch::Unchanged;
}

HMODULE LoadSystemLibrary(ILoader& Loader, LPCWSTR Name) {
  std::vector<WCHAR> folder(MAX_PATH);
  UINT length = Loader.GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
  if (length >= folder.size()) {
    // A longer path than usual: the answer is the size it needs.
    folder.resize(length);
    length = Loader.GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    if (length >= folder.size()) return nullptr;
  }
  if (length == 0) return nullptr;
  String path(folder.data(), length);
  if (path.back() != WCHAR('\\')) path += WCHAR('\\');
  path += Name;
  // The flag that keeps dependencies in the system folder too exists only
  // where SetDefaultDllDirectories does; older systems take them from the
  // loaded DLL's own folder, which is the system folder as well.
  const DWORD flags =
      Kernel32Export(Loader, "SetDefaultDllDirectories") != nullptr ? LoadSearchSystem32 : LoadWithAlteredSearchPath;
  return Loader.LoadLibraryExW(path.c_str(), nullptr, flags);
}
