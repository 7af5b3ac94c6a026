#include "console/Console.h"

#include <string>
#include <vector>

namespace {

// WriteConsoleW takes its buffer from a 64 KB heap that the console shares
// on Windows 7 and earlier, and fails beyond it: long lines go in pieces.
constexpr std::size_t ConsolePiece = 4096;

bool IsHighSurrogate(WCHAR Unit) { return Unit >= 0xD800 && Unit <= 0xDBFF; }

// Hands Size units to Write (which says how many it took) until all are
// taken, at most MaxPiece at a time and never splitting a surrogate pair;
// false when a write fails or takes nothing.
template <class Unit, class TWrite>
bool WriteAll(const Unit* Data, std::size_t Size, std::size_t MaxPiece, TWrite Write) {
  while (Size > 0) {
    std::size_t piece = Size < MaxPiece ? Size : MaxPiece;
    if constexpr (sizeof(Unit) == sizeof(WCHAR))
      if (piece < Size && piece > 1 && IsHighSurrogate(static_cast<WCHAR>(Data[piece - 1]))) --piece;
    DWORD done = 0;
    if (Write(Data, static_cast<DWORD>(piece), &done) == 0 || done == 0 || done > piece) return false;
    Data += done;
    Size -= done;
  }
  return true;
}

}  // namespace

void TConsole::WriteLine(const String& Text) {
  if (!TryWriteLine(Text)) throw EInOutError();
}

bool TConsole::TryWriteLine(const String& Text) {
  const HANDLE output = FKernel32.GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (FKernel32.GetConsoleMode(output, &mode) != 0) {
    // A console shows UTF-16 as it is, whatever its code page.
    const String line = Text + WSTR("\r\n");
    return WriteAll(line.data(), line.size(), ConsolePiece, [&](const WCHAR* Data, DWORD Size, DWORD* Done) {
      return FKernel32.WriteConsoleW(output, Data, Size, Done, nullptr);
    });
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
  // A pipe may take part of it; the rest follows.
  bytes += "\r\n";
  return WriteAll(bytes.data(), bytes.size(), bytes.size(), [&](const char* Data, DWORD Size, DWORD* Done) {
    return FKernel32.WriteFile(output, Data, Size, Done, nullptr);
  });
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
