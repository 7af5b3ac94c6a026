// Reading the command line into the run settings: the wait value and the
// option scan (the splitting is console/Arguments.h).
#pragma once

#include <cstdint>
#include <vector>

#include "app/RunSettings.h"
#include "console/Arguments.h"
#include "platform/WinTypes.h"

/// Converts text to a signed 32-bit number: leading spaces, an optional sign,
/// then decimal digits or hexadecimal ones after "$", "x", "X", "0x" or "0X".
/// Hexadecimal takes a full 32-bit pattern bit for bit. False (Value untouched)
/// on anything else.
bool TryStrToInt32(const String& Text, std::int32_t& Value);

/// Fills Settings from the arguments (Args[0] is the program): the wait from
/// argument 1, then the option scan over arguments 1 onwards.
void ReadSettings(const std::vector<String>& Args, TRunSettings& Settings);
