# 32-bit Windows in mingw-w64's posix threads flavour, for the unit tests only:
# GoogleTest needs std::mutex, which the win32 flavour lacks. The shipped
# programs use the win32 flavour (see mingw-w64-i686.cmake).
set(MINGW_TRIPLE i686-w64-mingw32)
set(MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
