# The unit tests cross-built for 64-bit Windows in the posix threads flavour
# (GoogleTest needs std::mutex), for machines whose Wine cannot run 32-bit programs.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
