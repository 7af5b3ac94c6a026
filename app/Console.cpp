#include "app/Console.h"

#include <string>
#include <vector>

void TConsole::WriteLine(const String& Text) {
  if (!TryWriteLine(Text)) throw EInOutError();
}

bool TConsole::TryWriteLine(const String& Text) {
  const HANDLE output = FKernel32.GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (FKernel32.GetConsoleMode(output, &mode) != 0) {
    // A console shows UTF-16 as it is, whatever its code page.
    const String line = Text + WSTR("\r\n");
    DWORD done = 0;
    const DWORD length = static_cast<DWORD>(line.size());
    return FKernel32.WriteConsoleW(output, line.data(), length, &done, nullptr) != 0 && done == length;
  }
  // Redirected to a file or a pipe: bytes in the ANSI code page.
  std::string bytes;
  if (!Text.empty()) {
    const int length = static_cast<int>(Text.size());
    const int needed = FKernel32.WideCharToMultiByte(CP_ACP, 0, Text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return false;
    std::vector<char> buffer(static_cast<std::size_t>(needed));
    const int written =
        FKernel32.WideCharToMultiByte(CP_ACP, 0, Text.data(), length, buffer.data(), needed, nullptr, nullptr);
    if (written <= 0) return false;
    bytes.assign(buffer.data(), static_cast<std::size_t>(written));
  }
  // The line end goes out with the text, byte for byte: no text-mode translation.
  bytes += "\r\n";
  DWORD done = 0;
  const DWORD size = static_cast<DWORD>(bytes.size());
  return FKernel32.WriteFile(output, bytes.data(), size, &done, nullptr) != 0 && done == size;
}

void TConsole::ReadLine() {
  const HANDLE input = FKernel32.GetStdHandle(STD_INPUT_HANDLE);
  if (input == nullptr || input == INVALID_HANDLE_VALUE) return;
  for (;;) {
    char c = 0;
    DWORD got = 0;
    if (FKernel32.ReadFile(input, &c, 1, &got, nullptr) == 0 || got == 0 || c == '\n') return;
  }
}
