// The banner and usage text written when the program is started without arguments.
#pragma once

#include <array>

#include "platform/WinTypes.h"

using TUsageLines = std::array<const WCHAR*, 10>;

/// The ten lines, banner first, ASCII only.
const TUsageLines& UsageLines();
