# Cross-compiling the Windows build with mingw-w64 (Debian's
# g++-mingw-w64-x86-64-posix, the POSIX threads flavour, for std::thread and
# std::mutex). The runtime is linked statically, so the DLLs and the host
# need nothing beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The Windows host's libraries (cmake/WindowsDependencies.cmake) are looked for
# in their own install folder, and pkg-config reads only their modules, not
# the Linux ones.
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES WOWFIX_WINDOWS_DEPS)
if(WOWFIX_WINDOWS_DEPS)
  list(APPEND CMAKE_FIND_ROOT_PATH ${WOWFIX_WINDOWS_DEPS})
  set(ENV{PKG_CONFIG_LIBDIR} ${WOWFIX_WINDOWS_DEPS}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
endif()
