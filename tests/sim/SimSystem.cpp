#include "sim/SimSystem.h"

SimSystem::SimSystem() : Kernel32(Log), User32(Log), Advapi32(Log, Kernel32), Ole32(Log), Winmm(Log) {}

TPlatform SimSystem::Platform() {
  return TPlatform{&Kernel32, &User32, &Advapi32, &Ole32, &Winmm, SimUser32::DefWindowProcAddress()};
}
