# The unit tests cross-built for 64-bit Windows in the posix threads flavour
# (GoogleTest needs std::mutex), for machines whose Wine cannot run 32-bit programs.
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
