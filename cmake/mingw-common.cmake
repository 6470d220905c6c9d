# Shared by both mingw-w64 toolchains: the posix-thread compilers, so std::thread and
# friends work, linked statically so that only system DLLs are imported.
set(CMAKE_C_COMPILER ${PELLMARK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PELLMARK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PELLMARK_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PELLMARK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
