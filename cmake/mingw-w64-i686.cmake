# 32-bit Windows, in mingw-w64's win32 threads flavour: the posix flavour links
# a threads library that imports GetTickCount64, which Windows XP lacks, so the
# program would not even start there.
set(MINGW_TRIPLE i686-w64-mingw32)
set(MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
