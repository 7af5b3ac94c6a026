/* The floor for Lullscreen.exe's start-up: a C program that imports the same
 * system DLLs and turns the display off the way "Lullscreen.exe 0" does (the
 * shell's window, the two WM_SYSCOMMAND posts), and does nothing else.
 * tests/bench/startup builds and times it. */
#include <windows.h>
#include <objbase.h>

int main(int argc, char** argv) {
  HWND shell;
  (void)argv;
  if (argc > 99) {
    /* Never taken by the benchmark: it keeps the DLLs that Lullscreen.exe imports. */
    HANDLE token;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    CoUninitialize();
  }
  shell = FindWindowW(L"ProgMan", NULL);
  PostMessageW(shell, WM_SYSCOMMAND, SC_MONITORPOWER, 1);
  Sleep(0);
  PostMessageW(shell, WM_SYSCOMMAND, SC_MONITORPOWER, 2);
  return 0;
}
