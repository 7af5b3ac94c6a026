// The command line as both programs read it: split into arguments, and
// matched without regard to ASCII case.
#pragma once

#include <vector>

#include "platform/WinTypes.h"

/// Splits a command line into arguments, argument 0 (the program) included.
/// Separators are characters with a code of 32 or less; a double quote opens a
/// run up to the next quote or the end, quotes are dropped, nothing escapes.
/// Pairs of quotes at the start of an argument are skipped; an argument that
/// still comes out empty ends the list.
std::vector<String> SplitCommandLine(const WCHAR* CommandLine);

/// The number of arguments after the program's own (argument 0).
int ArgumentCount(const std::vector<String>& Args);
