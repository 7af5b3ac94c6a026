// What happens when an exception escapes everything: one fixed line on
// standard error, then abort. The C++ runtime's own handler names the
// exception's type, and with MinGW its name demangler alone is larger than
// the program's own code.
#pragma once

/// Makes std::terminate write "<ProgramName>: unexpected error, stopping." to
/// standard error and abort. ProgramName must stay valid until the process ends.
void InstallTerminateHandler(const char* ProgramName);
