// Loading system code safely. A program started from a Downloads folder must
// never run a DLL that was left beside it: every DLL beyond the system's known
// ones is loaded by its full path in the system folder, and the search for
// DLLs that the system's own code loads later by name is narrowed at start-up.
// The functions newer than the oldest Windows served are looked up, and their
// absence is a case of its own.
#pragma once

#include "platform/WinTypes.h"

/// The kernel32 functions that load code, as a seam.
class ILoader {
 public:
  virtual ~ILoader() = default;
  /// Writes the system folder's path; its length, the size needed (with the terminator) when the
  /// buffer is too small, or 0 on failure.
  virtual UINT GetSystemDirectoryW(LPWSTR lpBuffer, UINT uSize) = 0;
  /// Loads a module as the flags say; 0 on failure.
  virtual HMODULE LoadLibraryExW(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags) = 0;
  /// The address of a module's export; 0 when the module has no export of that name.
  virtual FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName) = 0;
  /// The handle of a module already loaded; 0 when it is not.
  virtual HMODULE GetModuleHandleW(LPCWSTR lpModuleName) = 0;
  /// Writes a module's path (0: the program's); its length, nSize when the path was cut, 0 on failure.
  virtual DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) = 0;
  /// Starts a listing of the files that match a pattern; INVALID_HANDLE_VALUE when none can be listed.
  virtual HANDLE FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData) = 0;
  /// The listing's next file; 0 at its end or on failure.
  virtual BOOL FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData) = 0;
  /// Ends a listing; nonzero on success.
  virtual BOOL FindClose(HANDLE hFindFile) = 0;
  /// A file's attributes; INVALID_FILE_ATTRIBUTES when there is no such file.
  virtual DWORD GetFileAttributesW(LPCWSTR lpFileName) = 0;
  /// Writes the current folder's path; its length, the size needed when the buffer is too small, or 0.
  virtual DWORD GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer) = 0;
};

// The loader's flags, under names of their own: older SDK headers lack the first.
/// Only the system folder, for the DLL's dependencies too (systems that have SetDefaultDllDirectories).
constexpr DWORD LoadSearchSystem32 = 0x00000800;
/// Dependencies from the loaded DLL's own folder rather than the program's (every system).
constexpr DWORD LoadWithAlteredSearchPath = 0x00000008;

/// What NarrowDllSearch could do on this system.
enum class TDllSearch {
  SystemFolderOnly,  // SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)
  NoCurrentFolder,   // SetDllDirectoryW(""): the current folder is no longer searched
  Unchanged,         // neither exists (Windows 2000) or both failed
};

/// Narrows the search for DLLs loaded later by name to the system folder where
/// the system can, else takes the current folder out of it, for the whole
/// process. Call it first thing at start-up, before anything else loads a DLL:
/// NarrowDllSearch(SystemLoader()). What it achieved is kept for
/// NarrowedDllSearch.
TDllSearch NarrowDllSearch(ILoader& Loader);

/// What the last NarrowDllSearch of this process achieved; Unchanged before any.
TDllSearch NarrowedDllSearch();

/// Where the search is not the system folder's alone, the program's own folder
/// comes first for every DLL that the system's code loads by name (audio
/// drivers among them), and where nothing narrowed it (Windows 2000) the
/// current folder too, so a file there that bears a system DLL's name would
/// run in its place. This finds such a file: its full path; a folder, ending
/// in a backslash, that cannot be searched; or empty when there is none, or
/// when the search is the system folder's alone.
String PlantedLibrary(ILoader& Loader, TDllSearch Search);

/// Why audio is left out, for a PlantedLibrary answer that is not empty.
String PlantedLibraryReason(const String& Planted);

/// Loads a DLL by its full path in the system folder, and its dependencies
/// from there too; 0 when it cannot. Never falls back to a search by name.
HMODULE LoadSystemLibrary(ILoader& Loader, LPCWSTR Name);

/// A function found with GetProcAddress, as the type it has.
template <class Function>
Function ProcAs(FARPROC Proc) {
  // Through the one function type that every other converts to without a warning.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(Proc));
}

/// The loader functions of the running system (Windows builds only).
ILoader& SystemLoader();
