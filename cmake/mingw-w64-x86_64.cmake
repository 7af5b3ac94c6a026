# A 64-bit Windows build of the programs, for running the end-to-end suite on
# machines whose Wine cannot run 32-bit programs; what ships stays 32-bit (see
# mingw-w64-i686.cmake).
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
