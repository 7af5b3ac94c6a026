// A DLL planted beside a program under a system DLL's name: once loaded, it appends
// "<process> loaded <this file>" to the file that LULLSCREEN_MARKER names, so the suite
// sees from outside that it was loaded at all. It exports nothing and does nothing else.
#include <windows.h>

namespace {

constexpr int LineLength = 2 * MAX_PATH + 16;

void AppendLine(const wchar_t* markerPath, const wchar_t* line) {
  char bytes[3 * LineLength];
  const int size = WideCharToMultiByte(CP_UTF8, 0, line, -1, bytes, static_cast<int>(sizeof bytes), nullptr, nullptr);
  if (size <= 1) return;
  // Appending: several planted files, and several processes, may write to one marker.
  const HANDLE file = CreateFileW(markerPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD done = 0;
  WriteFile(file, bytes, static_cast<DWORD>(size - 1), &done, nullptr);
  CloseHandle(file);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t marker[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"LULLSCREEN_MARKER", marker, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  wchar_t line[LineLength] = L"";
  const DWORD process = GetModuleFileNameW(nullptr, line, MAX_PATH);
  if (process == 0 || process >= MAX_PATH) lstrcpyW(line, L"?");
  lstrcatW(line, L" loaded ");
  wchar_t file[MAX_PATH];
  const DWORD own = GetModuleFileNameW(self, file, MAX_PATH);
  lstrcatW(line, own != 0 && own < MAX_PATH ? file : L"?");
  lstrcatW(line, L"\r\n");
  AppendLine(marker, line);
  return TRUE;
}
