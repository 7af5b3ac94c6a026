#include "platform/Loader.h"

#include <atomic>
#include <vector>

namespace {

using TSetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);
using TSetDllDirectoryW = BOOL(WINAPI*)(LPCWSTR);

// Written once at start-up, read by whichever thread first loads audio code.
std::atomic<TDllSearch> Narrowed{TDllSearch::Unchanged};

FARPROC Kernel32Export(ILoader& Loader, LPCSTR Name) {
  const HMODULE kernel32 = Loader.GetModuleHandleW(WSTR("kernel32.dll"));
  return kernel32 != nullptr ? Loader.GetProcAddress(kernel32, Name) : nullptr;
}

// A folder the system writes into a buffer (Get: length, the size needed, or
// 0), ending in a backslash; empty when it is unknown.
template <class TGet>
String FolderOf(TGet Get) {
  std::vector<WCHAR> folder(MAX_PATH);
  UINT length = Get(folder.data(), static_cast<UINT>(folder.size()));
  if (length >= folder.size()) {
    // A longer path than usual: the answer is the size it needs.
    folder.resize(length);
    length = Get(folder.data(), static_cast<UINT>(folder.size()));
    if (length >= folder.size()) return String();
  }
  if (length == 0) return String();
  String path(folder.data(), length);
  if (path.back() != WCHAR('\\')) path += WCHAR('\\');
  return path;
}

String SystemFolder(ILoader& Loader) {
  return FolderOf([&](LPWSTR Buffer, UINT Size) { return Loader.GetSystemDirectoryW(Buffer, Size); });
}

String CurrentFolder(ILoader& Loader) {
  return FolderOf([&](LPWSTR Buffer, UINT Size) { return Loader.GetCurrentDirectoryW(Size, Buffer); });
}

// The folder the program was started from, ending in a backslash; empty when it is unknown.
String ProgramFolder(ILoader& Loader) {
  // The longest path the system has; an answer that fills the buffer was cut.
  constexpr DWORD Longest = 32768;
  std::vector<WCHAR> path(MAX_PATH);
  for (;;) {
    const DWORD size = static_cast<DWORD>(path.size());
    const DWORD length = Loader.GetModuleFileNameW(nullptr, path.data(), size);
    if (length == 0) return String();
    if (length < size) {
      const String program(path.data(), length);
      const std::size_t slash = program.find_last_of(WCHAR('\\'));
      return slash == String::npos ? String() : program.substr(0, slash + 1);
    }
    if (size >= Longest) return String();
    path.resize(2 * path.size());
  }
}

// The kinds of file that the system's audio code loads by name: DLLs,
// drivers (winmm's Drivers32 entries) and audio codecs.
bool IsLoadableName(const WCHAR* Name) {
  const String name = AsciiLowered(Name);
  const std::size_t dot = name.find_last_of(WCHAR('.'));
  if (dot == String::npos) return false;
  const String extension = name.substr(dot);
  return extension == WSTR(".dll") || extension == WSTR(".drv") || extension == WSTR(".acm");
}

// The first file in Folder that bears the name of one in System; Folder
// itself when it cannot be listed.
String PlantedIn(ILoader& Loader, const String& Folder, const String& System) {
  WIN32_FIND_DATAW found{};
  const HANDLE listing = Loader.FindFirstFileW((Folder + WSTR("*")).c_str(), &found);
  if (listing == INVALID_HANDLE_VALUE) return Folder;
  String planted;
  do {
    found.cFileName[MAX_PATH - 1] = 0;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && IsLoadableName(found.cFileName) &&
        Loader.GetFileAttributesW((System + found.cFileName).c_str()) != INVALID_FILE_ATTRIBUTES)
      planted = Folder + found.cFileName;
  } while (planted.empty() && Loader.FindNextFileW(listing, &found) != 0);
  Loader.FindClose(listing);
  return planted;
}

TDllSearch Narrow(ILoader& Loader) {
  if (const FARPROC proc = Kernel32Export(Loader, "SetDefaultDllDirectories"))
    if (ProcAs<TSetDefaultDllDirectories>(proc)(LoadSearchSystem32) != 0) return TDllSearch::SystemFolderOnly;
  if (const FARPROC proc = Kernel32Export(Loader, "SetDllDirectoryW"))
    if (ProcAs<TSetDllDirectoryW>(proc)(WSTR("")) != 0) return TDllSearch::NoCurrentFolder;
  return TDllSearch::Unchanged;
}

}  // namespace

TDllSearch NarrowDllSearch(ILoader& Loader) { return Narrowed = Narrow(Loader); }

TDllSearch NarrowedDllSearch() { return Narrowed; }

String PlantedLibrary(ILoader& Loader, TDllSearch Search) {
  if (Search == TDllSearch::SystemFolderOnly) return String();
  const String program = ProgramFolder(Loader);
  const String system = SystemFolder(Loader);
  // A folder that cannot be told is one that cannot be trusted.
  if (program.empty()) return WSTR("\\");
  if (system.empty()) return program;
  String planted = PlantedIn(Loader, program, system);
  if (planted.empty() && Search == TDllSearch::Unchanged) {
    const String current = CurrentFolder(Loader);
    if (current.empty()) return WSTR(".\\");
    if (current != program) planted = PlantedIn(Loader, current, system);
  }
  return planted;
}

String PlantedLibraryReason(const String& Planted) {
  if (!Planted.empty() && Planted.back() == WCHAR('\\'))
    return WSTR("the folder ") + Planted +
           WSTR(" could not be searched for files that this Windows would load in place of system DLLs");
  return Planted + WSTR(" has the name of a system DLL, and this Windows would load it in place of the system's");
}

HMODULE LoadSystemLibrary(ILoader& Loader, LPCWSTR Name) {
  const String folder = SystemFolder(Loader);
  if (folder.empty()) return nullptr;
  // The flag that keeps dependencies in the system folder too exists only
  // where SetDefaultDllDirectories does; older systems take them from the
  // loaded DLL's own folder, which is the system folder as well.
  const DWORD flags =
      Kernel32Export(Loader, "SetDefaultDllDirectories") != nullptr ? LoadSearchSystem32 : LoadWithAlteredSearchPath;
  return Loader.LoadLibraryExW((folder + Name).c_str(), nullptr, flags);
}
