// Stands in for the shell's "Progman" window for scripts/run and the end-to-end tests: it owns a
// top-level window of that class and prints every WM_SYSCOMMAND it receives, with the
// tick count of its arrival, so the harness can see the display power-off from outside.
//
// Usage: progman_watch.exe <stop file> [lifetime ms]
// It prints "READY" once the window exists and ends when the stop file appears or the
// lifetime (default 60 s) has passed. Every line is flushed at once: the harness reads
// the output file while the program is still running.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

const UINT_PTR kPollTimer = 1;
const UINT kPollMsec = 100;

const char* g_stopFile = nullptr;
DWORD g_deadline = 0;

template <typename... Args>
void PrintLine(const char* format, Args... args) {
  std::printf(format, args...);
  std::fflush(stdout);
}

unsigned long HandleValue(HWND hwnd) { return static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(hwnd)); }

LRESULT CALLBACK WatchProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SYSCOMMAND:
      // Not handed to DefWindowProcW: the watcher only observes, it must not act.
      PrintLine("WM_SYSCOMMAND wParam=0x%04lX lParam=%ld tick=%lu\n", static_cast<unsigned long>(wParam),
                static_cast<long>(lParam), GetTickCount());
      return 0;
    case WM_TIMER:
      if (wParam == kPollTimer) {
        const bool stopAsked = g_stopFile != nullptr && GetFileAttributesA(g_stopFile) != INVALID_FILE_ATTRIBUTES;
        if (stopAsked || static_cast<LONG>(GetTickCount() - g_deadline) >= 0) {
          DestroyWindow(hwnd);
        }
        return 0;
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  g_stopFile = argc > 1 ? argv[1] : nullptr;
  const DWORD lifetime = argc > 2 ? static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)) : 60000;
  g_deadline = GetTickCount() + lifetime;

  // Another window of the class would take the program's messages instead of ours.
  HWND existing = FindWindowW(L"Progman", nullptr);
  if (existing != nullptr) {
    PrintLine("OTHER hwnd=0x%08lX tick=%lu\n", HandleValue(existing), GetTickCount());
  }

  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WatchProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"Progman";
  if (RegisterClassExW(&wc) == 0) {
    PrintLine("FAILED RegisterClassExW error=%lu\n", GetLastError());
    return 1;
  }
  HWND hwnd =
      CreateWindowExW(0, L"Progman", L"Program Manager", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  if (hwnd == nullptr) {
    PrintLine("FAILED CreateWindowExW error=%lu\n", GetLastError());
    return 1;
  }
  SetTimer(hwnd, kPollTimer, kPollMsec, nullptr);
  PrintLine("READY hwnd=0x%08lX tick=%lu\n", HandleValue(hwnd), GetTickCount());

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    DispatchMessageW(&msg);
  }
  PrintLine("EXIT tick=%lu\n", GetTickCount());
  return 0;
}
