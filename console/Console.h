// Console lines over the standard handles, each ended by exactly one CR LF:
// UTF-16 text as it is on a console, converted to the ANSI code page when
// standard output is redirected to a file or a pipe.
#pragma once

#include "core/Exception.h"
#include "console/ConsoleKernel32.h"
#include "platform/WinTypes.h"

/// A console write that failed.
class EInOutError : public Exception {
 public:
  EInOutError() : Exception(WSTR("I/O error")) {}
  String ClassName() const override { return WSTR("EInOutError"); }
};

class TConsole {
 public:
  /// The functions must outlive the console.
  explicit TConsole(IConsoleKernel32& Kernel32) : FKernel32(Kernel32) {}

  /// Writes one line; raises EInOutError when the write fails.
  void WriteLine(const String& Text);
  /// Writes one line; false when the write fails.
  bool TryWriteLine(const String& Text);
  /// Reads and drops one line of standard input; returns at once at the end
  /// of input, on a read failure, or when there is no standard input.
  void ReadLine();

 private:
  IConsoleKernel32& FKernel32;
};
