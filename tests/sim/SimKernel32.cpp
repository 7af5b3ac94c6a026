#include <algorithm>
#include <cstdio>
#include <cstring>

#include "sim/SimSystem.h"

namespace {

// Console handles as a console process is given them: small distinct values
// that never meet the handles NewHandle gives out.
HANDLE const InputHandle = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x3));
HANDLE const OutputHandle = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x7));
HANDLE const ProcessPseudoHandle = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));

constexpr std::uintptr_t FirstHandle = 0x100;
constexpr std::uintptr_t HandleStep = 4;

constexpr DWORD FORMAT_MESSAGE_ALLOCATE_BUFFER_ = 0x00000100;

std::size_t TextLength(const WCHAR* text) {
  std::size_t n = 0;
  while (text[n] != 0) ++n;
  return n;
}

// A string argument as the call saw it: up to its count, or to its terminator for -1.
std::string CountedArg(const WCHAR* text, int count) {
  if (text == nullptr || count == -1) return Arg(text);
  if (count < 0) return Arg(static_cast<const void*>(text));
  return "\"" + Narrow(String(text, static_cast<std::size_t>(count))) + "\"";
}

// Bytes as a quoted, escaped literal.
std::string BytesArg(const void* data, DWORD size) {
  if (data == nullptr) return "null";
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  std::string out = "\"";
  for (DWORD i = 0; i < size; ++i) {
    const unsigned char c = bytes[i];
    switch (c) {
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        if (c >= 0x20 && c < 0x7F) {
          out.push_back(static_cast<char>(c));
        } else {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\x%02X", c);
          out += buf;
        }
    }
  }
  return out + "\"";
}

}  // namespace

SimKernel32::SimKernel32(CallLog& Log) : FLog(Log) {}

HANDLE SimKernel32::NewHandle() {
  FHandles.push_back(true);
  return reinterpret_cast<HANDLE>(FirstHandle + HandleStep * (FHandles.size() - 1));
}

std::size_t SimKernel32::OpenHandleCount() const {
  return static_cast<std::size_t>(std::count(FHandles.begin(), FHandles.end(), true));
}

bool SimKernel32::IsOpenHandle(HANDLE Handle) const {
  const std::uintptr_t value = reinterpret_cast<std::uintptr_t>(Handle);
  if (value < FirstHandle || (value - FirstHandle) % HandleStep != 0) return false;
  const std::size_t index = (value - FirstHandle) / HandleStep;
  return index < FHandles.size() && FHandles[index];
}

WCHAR SimKernel32::Fold(WCHAR c) {
  const unsigned u = static_cast<unsigned>(c);
  // Basic Latin and Latin-1: capitals map 0x20 down, except the multiplication sign.
  if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) return static_cast<WCHAR>(u + 0x20);
  if (u == 0x178) return static_cast<WCHAR>(0xFF);  // Y with diaeresis: its capital lies outside Latin-1
  return c;
}

DWORD SimKernel32::GetTickCount() {
  FLog.Record(CallText("GetTickCount"));  // cannot fail
  return Tick;
}

void SimKernel32::Sleep(DWORD dwMilliseconds) {
  FLog.Record(CallText("Sleep", dwMilliseconds));  // cannot fail
  // Unsigned arithmetic in 32 bits: the clock wraps as the system's does.
  Tick = static_cast<DWORD>(static_cast<std::uint32_t>(Tick) + static_cast<std::uint32_t>(dwMilliseconds) +
                            static_cast<std::uint32_t>(TicksPerSleep));
}

HANDLE SimKernel32::GetCurrentProcess() {
  FLog.Record(CallText("GetCurrentProcess"));  // cannot fail
  return ProcessPseudoHandle;
}

BOOL SimKernel32::CloseHandle(HANDLE hObject) {
  if (FLog.Record(CallText("CloseHandle", hObject))) return FALSE;
  if (hObject == ProcessPseudoHandle) return TRUE;  // closing the pseudo handle is allowed and does nothing
  if (!IsOpenHandle(hObject)) return FALSE;
  FHandles[(reinterpret_cast<std::uintptr_t>(hObject) - FirstHandle) / HandleStep] = false;
  return TRUE;
}

BOOL SimKernel32::SetSystemPowerState(BOOL fSuspend, BOOL fForce) {
  if (FLog.Record(CallText("SetSystemPowerState", fSuspend, fForce))) return FALSE;
  return TRUE;
}

BOOL SimKernel32::GetVersionExW(LPOSVERSIONINFOW lpVersionInformation) {
  const std::string size =
      lpVersionInformation != nullptr ? Arg(lpVersionInformation->dwOSVersionInfoSize) : std::string("null");
  if (FLog.Record(CallText("GetVersionExW", size))) return FALSE;
  if (lpVersionInformation == nullptr || lpVersionInformation->dwOSVersionInfoSize != sizeof(OSVERSIONINFOW))
    return FALSE;
  lpVersionInformation->dwMajorVersion = MajorVersion;
  lpVersionInformation->dwMinorVersion = MinorVersion;
  lpVersionInformation->dwBuildNumber = BuildNumber;
  lpVersionInformation->dwPlatformId = 2;  // VER_PLATFORM_WIN32_NT
  std::fill(std::begin(lpVersionInformation->szCSDVersion), std::end(lpVersionInformation->szCSDVersion), WCHAR(0));
  return TRUE;
}

int SimKernel32::CompareStringW(LCID Locale, DWORD dwCmpFlags, LPCWSTR lpString1, int cchCount1, LPCWSTR lpString2,
                                int cchCount2) {
  if (FLog.Record(CallText("CompareStringW", Hex(Locale), Hex(dwCmpFlags), CountedArg(lpString1, cchCount1), cchCount1,
                           CountedArg(lpString2, cchCount2), cchCount2)))
    return 0;
  if (lpString1 == nullptr || lpString2 == nullptr || cchCount1 < -1 || cchCount2 < -1) return 0;
  const std::size_t n1 = cchCount1 == -1 ? TextLength(lpString1) : static_cast<std::size_t>(cchCount1);
  const std::size_t n2 = cchCount2 == -1 ? TextLength(lpString2) : static_cast<std::size_t>(cchCount2);
  // The library always passes NORM_IGNORECASE (the record shows the flags), so case never decides.
  const std::size_t common = std::min(n1, n2);
  for (std::size_t i = 0; i < common; ++i) {
    const unsigned a = static_cast<unsigned>(Fold(lpString1[i]));
    const unsigned b = static_cast<unsigned>(Fold(lpString2[i]));
    if (a != b) return a < b ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
  }
  if (n1 != n2) return n1 < n2 ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
  return CSTR_EQUAL;
}

LPWSTR SimKernel32::GetCommandLineW() {
  FLog.Record(CallText("GetCommandLineW"));  // cannot fail
  // The same buffer every time, as the system's; renewed only when a test changes CommandLine.
  if (FCommandLineBuffer.empty() || CommandLine != FCommandLineSource) {
    FCommandLineSource = CommandLine;
    FCommandLineBuffer = CommandLine;
    FCommandLineBuffer.reserve(FCommandLineBuffer.size() + 1);
  }
  return &FCommandLineBuffer[0];
}

HANDLE SimKernel32::GetStdHandle(DWORD nStdHandle) {
  if (FLog.Record(CallText("GetStdHandle", static_cast<int>(nStdHandle)))) return INVALID_HANDLE_VALUE;
  if (nStdHandle == STD_INPUT_HANDLE) return InputHandle;
  if (nStdHandle == STD_OUTPUT_HANDLE) return OutputHandle;
  return INVALID_HANDLE_VALUE;
}

BOOL SimKernel32::WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
                            LPVOID lpOverlapped) {
  if (FLog.Record(CallText("WriteFile", hFile, BytesArg(lpBuffer, nNumberOfBytesToWrite), nNumberOfBytesToWrite)))
    return FALSE;
  if (lpOverlapped != nullptr || (lpBuffer == nullptr && nNumberOfBytesToWrite != 0)) return FALSE;
  if (hFile != OutputHandle) return FALSE;
  const DWORD taken = std::min(nNumberOfBytesToWrite, PipeTakes);
  Output.append(static_cast<const char*>(lpBuffer), taken);
  if (lpNumberOfBytesWritten != nullptr) *lpNumberOfBytesWritten = taken;
  return TRUE;
}

BOOL SimKernel32::GetConsoleMode(HANDLE hConsoleHandle, LPDWORD lpMode) {
  if (FLog.Record(CallText("GetConsoleMode", hConsoleHandle))) return FALSE;
  if (!ConsoleOutput || hConsoleHandle != OutputHandle || lpMode == nullptr) return FALSE;
  *lpMode = 0x3;  // ENABLE_PROCESSED_OUTPUT | ENABLE_WRAP_AT_EOL_OUTPUT
  return TRUE;
}

BOOL SimKernel32::WriteConsoleW(HANDLE hConsoleOutput, LPCVOID lpBuffer, DWORD nNumberOfCharsToWrite,
                                LPDWORD lpNumberOfCharsWritten, LPVOID lpReserved) {
  const auto* text = static_cast<const WCHAR*>(lpBuffer);
  const String shown = text != nullptr ? String(text, nNumberOfCharsToWrite) : String();
  if (FLog.Record(CallText("WriteConsoleW", hConsoleOutput, shown.c_str(), nNumberOfCharsToWrite))) return FALSE;
  if (!ConsoleOutput || hConsoleOutput != OutputHandle || lpReserved != nullptr ||
      (text == nullptr && nNumberOfCharsToWrite != 0) || nNumberOfCharsToWrite > ConsoleTakesAtMost)
    return FALSE;
  ConsoleText.append(text, nNumberOfCharsToWrite);
  ConsolePieces.push_back(nNumberOfCharsToWrite);
  if (lpNumberOfCharsWritten != nullptr) *lpNumberOfCharsWritten = nNumberOfCharsToWrite;
  return TRUE;
}

BOOL SimKernel32::ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                           LPVOID lpOverlapped) {
  if (FLog.Record(CallText("ReadFile", hFile, nNumberOfBytesToRead))) return FALSE;
  if (hFile != InputHandle || lpOverlapped != nullptr || (lpBuffer == nullptr && nNumberOfBytesToRead != 0))
    return FALSE;
  if (Input.empty() && InputClosed) return FALSE;  // a broken pipe
  const std::size_t n = std::min<std::size_t>(Input.size(), nNumberOfBytesToRead);
  if (n != 0) std::memcpy(lpBuffer, Input.data(), n);
  Input.erase(0, n);
  if (lpNumberOfBytesRead != nullptr) *lpNumberOfBytesRead = static_cast<DWORD>(n);
  return TRUE;
}

int SimKernel32::WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                                     LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR, LPBOOL) {
  if (FLog.Record(CallText("WideCharToMultiByte", CodePage, Hex(dwFlags), CountedArg(lpWideCharStr, cchWideChar),
                           cchWideChar, cbMultiByte)))
    return 0;
  if (CodePage != CP_ACP || lpWideCharStr == nullptr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
      (cbMultiByte > 0 && lpMultiByteStr == nullptr))
    return 0;
  // With -1 the terminator is converted too and counted.
  const std::size_t n = cchWideChar == -1 ? TextLength(lpWideCharStr) + 1 : static_cast<std::size_t>(cchWideChar);
  std::string bytes;
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned u = static_cast<unsigned>(lpWideCharStr[i]);
    if (u < 0x80) {
      bytes.push_back(static_cast<char>(u));
      continue;
    }
    // A surrogate pair is one character and becomes one replacement.
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n) {
      const unsigned next = static_cast<unsigned>(lpWideCharStr[i + 1]);
      if (next >= 0xDC00 && next <= 0xDFFF) ++i;
    }
    bytes.push_back('?');
  }
  if (cbMultiByte == 0) return static_cast<int>(bytes.size());
  if (bytes.size() > static_cast<std::size_t>(cbMultiByte)) return 0;  // buffer too small
  std::memcpy(lpMultiByteStr, bytes.data(), bytes.size());
  return static_cast<int>(bytes.size());
}

DWORD SimKernel32::FormatMessageW(DWORD dwFlags, LPCVOID /*lpSource*/, DWORD dwMessageId, DWORD dwLanguageId,
                                  LPWSTR lpBuffer, DWORD nSize, void* /*Arguments*/) {
  if (FLog.Record(CallText("FormatMessageW", Hex(dwFlags), Hex(dwMessageId), dwLanguageId, nSize))) return 0;
  if ((dwFlags & FORMAT_MESSAGE_FROM_SYSTEM) == 0 || (dwFlags & FORMAT_MESSAGE_ALLOCATE_BUFFER_) != 0 ||
      lpBuffer == nullptr || nSize == 0)
    return 0;
  const auto found = SystemMessages.find(dwMessageId);
  if (found == SystemMessages.end()) return 0;
  const std::size_t n = std::min<std::size_t>(found->second.size(), nSize - 1);
  std::copy_n(found->second.begin(), n, lpBuffer);
  lpBuffer[n] = 0;
  return static_cast<DWORD>(n);
}
