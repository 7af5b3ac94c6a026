#include "platform/Loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "mixers/Mixers.h"
#include "platform/LoadedWinmm.h"
#include "sim/CallLog.h"

namespace {

// What the found functions were asked, in order: the loader's decisions.
std::vector<std::string> Said;

BOOL WINAPI SetDefaultDllDirectoriesOk(DWORD Flags) {
  Said.push_back("SetDefaultDllDirectories(" + Hex(Flags) + ")");
  return TRUE;
}
BOOL WINAPI SetDefaultDllDirectoriesFails(DWORD Flags) {
  Said.push_back("SetDefaultDllDirectories(" + Hex(Flags) + ") fails");
  return FALSE;
}
BOOL WINAPI SetDllDirectoryWOk(LPCWSTR Path) {
  Said.push_back("SetDllDirectoryW(" + Arg(Path) + ")");
  return TRUE;
}
UINT WINAPI OneDevice() { return 1; }
MMRESULT WINAPI Closed(HMIXER) { return 0; }

template <class Function>
FARPROC Proc(Function F) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(F));
}

HMODULE Module(std::uintptr_t Value) { return reinterpret_cast<HMODULE>(Value); }

// kernel32's loader over a table of modules and their exports.
class FakeLoader : public ILoader {
 public:
  String SystemFolder = WSTR("C:\\WINDOWS\\system32");
  bool SystemFolderFails = false;
  std::map<std::string, FARPROC> Kernel32;  // its exports by name
  std::map<std::string, FARPROC> Winmm;
  bool WinmmLoads = true;
  std::vector<std::string> Calls;

  UINT GetSystemDirectoryW(LPWSTR lpBuffer, UINT uSize) override {
    Calls.push_back("GetSystemDirectoryW(" + std::to_string(uSize) + ")");
    if (SystemFolderFails) return 0;
    if (SystemFolder.size() >= uSize) return static_cast<UINT>(SystemFolder.size() + 1);
    std::copy(SystemFolder.begin(), SystemFolder.end(), lpBuffer);
    lpBuffer[SystemFolder.size()] = 0;
    return static_cast<UINT>(SystemFolder.size());
  }
  HMODULE LoadLibraryExW(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags) override {
    Calls.push_back("LoadLibraryExW(" + Arg(lpLibFileName) + "," + Arg(hFile) + "," + Hex(dwFlags) + ")");
    return WinmmLoads ? Module(0x70000000) : nullptr;
  }
  FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName) override {
    const auto& exports = hModule == Module(0x7C800000) ? Kernel32 : Winmm;
    const auto found = exports.find(lpProcName);
    return found != exports.end() ? found->second : nullptr;
  }
  HMODULE GetModuleHandleW(LPCWSTR lpModuleName) override {
    return Narrow(String(lpModuleName)) == "kernel32.dll" ? Module(0x7C800000) : nullptr;
  }

  // The program's folder, and which names the system folder holds.
  String Program = WSTR("C:\\Downloads\\Lullscreen.exe");
  String Current = WSTR("C:\\Users\\me");
  std::vector<std::pair<std::string, DWORD>> Beside;     // name and attributes
  std::vector<std::pair<std::string, DWORD>> InCurrent;  // the current folder's
  std::vector<std::string> InSystem;                     // lower case
  bool ListingFails = false;
  std::size_t Listed = 0;
  int Closed = 0;

  DWORD GetModuleFileNameW(HMODULE, LPWSTR lpFilename, DWORD nSize) override {
    const DWORD length = static_cast<DWORD>(std::min<std::size_t>(Program.size(), nSize));
    std::copy(Program.begin(), Program.begin() + length, lpFilename);
    if (length < nSize) lpFilename[length] = 0;
    return length;
  }
  HANDLE FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData) override {
    Calls.push_back("FindFirstFileW(" + Arg(lpFileName) + ")");
    Listed = 0;
    Listing = Narrow(String(lpFileName)).rfind(Narrow(Current), 0) == 0 ? &InCurrent : &Beside;
    if (ListingFails || !FindNextFileW(nullptr, lpFindFileData)) return INVALID_HANDLE_VALUE;
    return Module(0x4444);
  }
  BOOL FindNextFileW(HANDLE, LPWIN32_FIND_DATAW lpFindFileData) override {
    // A folder's listing starts with "." and "..", as on Windows.
    static const std::pair<std::string, DWORD> dots[] = {{".", FILE_ATTRIBUTE_DIRECTORY},
                                                         {"..", FILE_ATTRIBUTE_DIRECTORY}};
    if (Listed == Listing->size() + 2) return FALSE;
    *lpFindFileData = WIN32_FIND_DATAW{};
    const auto& [name, attributes] = Listed < 2 ? dots[Listed] : (*Listing)[Listed - 2];
    ++Listed;
    lpFindFileData->dwFileAttributes = attributes;
    std::copy(name.begin(), name.end(), lpFindFileData->cFileName);
    return TRUE;
  }
  BOOL FindClose(HANDLE) override { return ++Closed; }
  DWORD GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer) override {
    if (Current.size() >= nBufferLength) return static_cast<DWORD>(Current.size() + 1);
    std::copy(Current.begin(), Current.end(), lpBuffer);
    lpBuffer[Current.size()] = 0;
    return static_cast<DWORD>(Current.size());
  }
  const std::vector<std::pair<std::string, DWORD>>* Listing = &Beside;
  DWORD GetFileAttributesW(LPCWSTR lpFileName) override {
    std::string path = Narrow(String(lpFileName));
    for (char& c : path) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const std::string& name : InSystem)
      if (path == "c:\\windows\\system32\\" + name) return 0x20;
    return INVALID_FILE_ATTRIBUTES;
  }
};

TEST(LoaderTest, NarrowsTheSearchAsFarAsTheSystemCan) {
  struct Case {
    const char* Name;
    FARPROC SetDefault;
    FARPROC SetDirectory;
    TDllSearch Result;
    std::vector<std::string> Said;
  };
  const Case cases[] = {
      {"Windows 7 with the update, and later",
       Proc(&SetDefaultDllDirectoriesOk),
       Proc(&SetDllDirectoryWOk),
       TDllSearch::SystemFolderOnly,
       {"SetDefaultDllDirectories(0x800)"}},
      {"Windows XP SP1 to Vista",
       nullptr,
       Proc(&SetDllDirectoryWOk),
       TDllSearch::NoCurrentFolder,
       {"SetDllDirectoryW(\"\")"}},
      {"the newer call refuses",
       Proc(&SetDefaultDllDirectoriesFails),
       Proc(&SetDllDirectoryWOk),
       TDllSearch::NoCurrentFolder,
       {"SetDefaultDllDirectories(0x800) fails", "SetDllDirectoryW(\"\")"}},
      {"Windows 2000", nullptr, nullptr, TDllSearch::Unchanged, {}},
  };
  for (const Case& c : cases) {
    FakeLoader loader;
    if (c.SetDefault != nullptr) loader.Kernel32["SetDefaultDllDirectories"] = c.SetDefault;
    if (c.SetDirectory != nullptr) loader.Kernel32["SetDllDirectoryW"] = c.SetDirectory;
    Said.clear();
    EXPECT_EQ(NarrowDllSearch(loader), c.Result) << c.Name;
    EXPECT_EQ(Said, c.Said) << c.Name;
  }
}

TEST(LoaderTest, LoadsOnlyByFullPathInTheSystemFolder) {
  struct Case {
    const char* Name;
    String Folder;
    bool FolderFails;
    bool SearchFlags;  // the system has SetDefaultDllDirectories
    std::vector<std::string> Calls;
  };
  const String longFolder = WSTR("C:\\") + String(300, WCHAR('x'));
  const Case cases[] = {
      {"dependencies from the system folder too",
       WSTR("C:\\WINDOWS\\system32"),
       false,
       true,
       {"GetSystemDirectoryW(260)", "LoadLibraryExW(\"C:\\WINDOWS\\system32\\winmm.dll\",null,0x800)"}},
      {"older systems: dependencies beside the DLL",
       WSTR("C:\\WINNT\\system32"),
       false,
       false,
       {"GetSystemDirectoryW(260)", "LoadLibraryExW(\"C:\\WINNT\\system32\\winmm.dll\",null,0x8)"}},
      {"a folder ending in a backslash",
       WSTR("D:\\"),
       false,
       true,
       {"GetSystemDirectoryW(260)", "LoadLibraryExW(\"D:\\winmm.dll\",null,0x800)"}},
      {"a folder longer than usual",
       longFolder,
       false,
       true,
       {"GetSystemDirectoryW(260)", "GetSystemDirectoryW(304)",
        "LoadLibraryExW(\"" + Narrow(longFolder) + "\\winmm.dll\",null,0x800)"}},
      {"no system folder: nothing is loaded by name instead", WSTR(""), true, true, {"GetSystemDirectoryW(260)"}},
  };
  for (const Case& c : cases) {
    FakeLoader loader;
    loader.SystemFolder = c.Folder;
    loader.SystemFolderFails = c.FolderFails;
    if (c.SearchFlags) loader.Kernel32["SetDefaultDllDirectories"] = Proc(&SetDefaultDllDirectoriesOk);
    const HMODULE module = LoadSystemLibrary(loader, WSTR("winmm.dll"));
    EXPECT_EQ(module, c.FolderFails ? nullptr : Module(0x70000000)) << c.Name;
    EXPECT_EQ(loader.Calls, c.Calls) << c.Name;
  }
}

TEST(LoaderTest, FindsAFileBesideTheProgramThatWouldRunInPlaceOfASystemDll) {
  using TFiles = std::vector<std::pair<std::string, DWORD>>;
  struct Case {
    const char* Name;
    TDllSearch Search;
    TFiles Beside;
    TFiles InCurrent;
    bool ListingFails;
    std::string Planted;
    std::size_t Listings;
  };
  const std::vector<std::string> system{"winmm.dll", "wdmaud.drv", "imaadp32.acm", "readme.txt"};
  const Case cases[] = {
      {"narrowed to the system folder: not searched",
       TDllSearch::SystemFolderOnly,
       {{"winmm.dll", 0x20}},
       {},
       false,
       "",
       0},
      {"nothing of the system's",
       TDllSearch::NoCurrentFolder,
       {{"Lullscreen.exe", 0x20}, {"own.dll", 0x20}, {"readme.txt", 0x20}},
       {},
       false,
       "",
       1},
      {"a driver's name, in any case",
       TDllSearch::NoCurrentFolder,
       {{"Lullscreen.exe", 0x20}, {"WDMAUD.DRV", 0x20}},
       {},
       false,
       "C:\\Downloads\\WDMAUD.DRV",
       1},
      {"a codec, where nothing was narrowed",
       TDllSearch::Unchanged,
       {{"imaadp32.acm", 0x20}},
       {},
       false,
       "C:\\Downloads\\imaadp32.acm",
       1},
      {"a folder of a DLL's name is no DLL",
       TDllSearch::Unchanged,
       {{"winmm.dll", FILE_ATTRIBUTE_DIRECTORY}},
       {},
       false,
       "",
       2},
      {"where nothing was narrowed, the current folder too",
       TDllSearch::Unchanged,
       {{"Lullscreen.exe", 0x20}},
       {{"winmm.dll", 0x20}},
       false,
       "C:\\Users\\me\\winmm.dll",
       2},
      {"the current folder, where it is no longer searched",
       TDllSearch::NoCurrentFolder,
       {{"Lullscreen.exe", 0x20}},
       {{"winmm.dll", 0x20}},
       false,
       "",
       1},
      {"a folder that cannot be listed is not trusted",
       TDllSearch::NoCurrentFolder,
       {},
       {},
       true,
       "C:\\Downloads\\",
       1},
  };
  for (const Case& c : cases) {
    FakeLoader loader;
    loader.SystemFolder = WSTR("C:\\Windows\\System32");
    loader.Beside = c.Beside;
    loader.InCurrent = c.InCurrent;
    loader.InSystem = system;
    loader.ListingFails = c.ListingFails;
    EXPECT_EQ(Narrow(PlantedLibrary(loader, c.Search)), c.Planted) << c.Name;
    const auto listings = std::count_if(loader.Calls.begin(), loader.Calls.end(),
                                        [](const std::string& call) { return call.rfind("FindFirstFileW(", 0) == 0; });
    EXPECT_EQ(static_cast<std::size_t>(listings), c.Listings) << c.Name;
    // Every listing that was opened is closed.
    EXPECT_EQ(static_cast<std::size_t>(loader.Closed), c.ListingFails ? 0 : c.Listings) << c.Name;
  }
}

// The table a resolver hands to TLoadedWinmm, filled by the test.
TWinmmFunctions Loaded{};
const TWinmmFunctions& Resolved() { return Loaded; }

TEST(LoaderTest, WinmmWithAnyFunctionMissingIsASystemWithoutMixers) {
  const char* names[] = {"mixerGetNumDevs",
                         "mixerGetDevCapsW",
                         "mixerOpen",
                         "mixerClose",
                         "mixerGetLineInfoW",
                         "mixerGetLineControlsW",
                         "mixerGetControlDetailsW",
                         "mixerSetControlDetails"};
  struct Case {
    const char* Name;
    std::string Missing;  // an export winmm lacks, or none
    bool Loads;
  };
  const Case cases[] = {{"complete", "", true},
                        {"no device count", "mixerGetNumDevs", true},
                        {"no writes", "mixerSetControlDetails", true},
                        {"winmm not loaded", "", false}};
  for (const Case& c : cases) {
    FakeLoader loader;
    // Stand-ins: only the count is ever called here.
    for (const char* name : names)
      if (name != c.Missing)
        loader.Winmm[name] = name == std::string("mixerGetNumDevs") ? Proc(&OneDevice) : Proc(&Closed);
    loader.WinmmLoads = c.Loads;
    Loaded = LoadWinmm(loader);
    TLoadedWinmm winmm(&Resolved);
    const bool complete = c.Missing.empty() && c.Loads;
    EXPECT_EQ(winmm.Available(), complete) << c.Name;
    EXPECT_EQ(winmm.mixerGetNumDevs(), complete ? 1u : 0u) << c.Name;
    if (!complete) {
      // Not a single function of a half set is kept.
      EXPECT_EQ(Loaded.mixerClose, nullptr) << c.Name;
      EXPECT_EQ(Loaded.mixerGetLineInfoW, nullptr) << c.Name;
      HMIXER handle = nullptr;
      EXPECT_NE(winmm.mixerOpen(&handle, 0, 0, 0, 0), MMSYSERR_NOERROR) << c.Name;
      // The mixer library sees no devices, and nothing to mute.
      TMixer mixer(TMixerPlatform{nullptr, nullptr, &winmm, nullptr, nullptr});
      EXPECT_NO_THROW(mixer.Scan()) << c.Name;
      EXPECT_EQ(mixer.GetCount(), 0) << c.Name;
    }
  }
  Loaded = TWinmmFunctions{};
}

}  // namespace
