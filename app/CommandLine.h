// Reading the command line into the run settings: splitting, the wait value
// and the option scan.
#pragma once

#include <cstdint>
#include <vector>

#include "app/RunSettings.h"
#include "platform/WinTypes.h"

/// Splits a command line into arguments, argument 0 (the program) included.
/// Separators are characters with a code of 32 or less; a double quote opens a
/// run up to the next quote or the end, quotes are dropped, nothing escapes.
/// Pairs of quotes at the start of an argument are skipped; an argument that
/// still comes out empty ends the list.
std::vector<String> SplitCommandLine(const WCHAR* CommandLine);

/// The number of arguments after the program's own (argument 0).
int ArgumentCount(const std::vector<String>& Args);

/// Text with the ASCII capitals A to Z made small, every other code unit as it
/// is: options match in either case.
String AsciiLowered(const String& Text);

/// Converts text to a signed 32-bit number: leading spaces, an optional sign,
/// then decimal digits or hexadecimal ones after "$", "x", "X", "0x" or "0X".
/// Hexadecimal takes a full 32-bit pattern bit for bit. False (Value untouched)
/// on anything else.
bool TryStrToInt32(const String& Text, std::int32_t& Value);

/// Fills Settings from the arguments (Args[0] is the program): the wait from
/// argument 1, then the option scan over arguments 1 onwards.
void ReadSettings(const std::vector<String>& Args, TRunSettings& Settings);
