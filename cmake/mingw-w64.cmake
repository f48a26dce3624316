# Cross build for 64-bit Windows with Debian's MinGW-w64 (the posix thread flavour, for std::thread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUELVO_MINGW_TRIPLE x86_64-w64-mingw32)

find_program(QUELVO_MINGW_CXX NAMES ${QUELVO_MINGW_TRIPLE}-g++-posix ${QUELVO_MINGW_TRIPLE}-g++ REQUIRED)
find_program(QUELVO_MINGW_CC NAMES ${QUELVO_MINGW_TRIPLE}-gcc-posix ${QUELVO_MINGW_TRIPLE}-gcc REQUIRED)
set(CMAKE_CXX_COMPILER ${QUELVO_MINGW_CXX})
set(CMAKE_C_COMPILER ${QUELVO_MINGW_CC})
set(CMAKE_RC_COMPILER ${QUELVO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUELVO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything linked in, so that the executables run under Wine without MinGW's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test discovery runs the test programs; under Wine when it is there.
find_program(QUELVO_WINE NAMES wine wine64)
if(QUELVO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUELVO_WINE})
endif()
