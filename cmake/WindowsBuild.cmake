# On Linux, the Windows plug-in (wowfix.dll, PVC_Plugin.dll, Zendral.dll and
# the load check) and the Windows host (wowfix-host.exe, with the libraries
# it needs built first) are cross-built into <build>/windows with mingw-w64
# as part of the normal build, when the cross compiler is installed, and
# Wine's first start is done then too, so that the tests can run the checks
# under Wine.
find_program(WOWFIX_MINGW_CXX x86_64-w64-mingw32-g++-posix)
find_program(WOWFIX_WINEBOOT wineboot)
set(wowfix_windows_default OFF)
if(WOWFIX_MINGW_CXX)
  set(wowfix_windows_default ON)
endif()
option(WOWFIX_BUILD_WINDOWS "Cross-build the Windows plug-in with mingw-w64" ${wowfix_windows_default})

if(WOWFIX_BUILD_WINDOWS)
  if(NOT WOWFIX_MINGW_CXX)
    message(FATAL_ERROR "WOWFIX_BUILD_WINDOWS needs x86_64-w64-mingw32-g++-posix (g++-mingw-w64-x86-64-posix)")
  endif()
  include(${PROJECT_SOURCE_DIR}/cmake/WindowsDependencies.cmake)
  ExternalProject_Add(wowfix_windows
    DEPENDS ${WOWFIX_WINDOWS_DEPENDENCIES}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${PROJECT_BINARY_DIR}/windows
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
               -DCMAKE_BUILD_TYPE=Release -DWOWFIX_BUILD_TESTS=OFF -DWOWFIX_BUILD_HOST=ON -DWOWFIX_BUILD_TOOLS=ON
               -DWOWFIX_WINDOWS_DEPS=${WOWFIX_WINDOWS_DEPS}
               -DZLIB_LIBRARY=${wowfix_mingw_zlib} -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include
               -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)
  if(WOWFIX_WINEBOOT)
    # Wine's first start makes its prefix (about 15 s); later starts reuse it.
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/wine-ready
      COMMAND env WINEDEBUG=-all ${WOWFIX_WINEBOOT} -i
      # The editor's and the host's checks under Wine run in prefixes of their
      # own (Wine makes the prefix, not the folder it lies in).
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/wine-editor
      COMMAND env WINEDEBUG=-all WINEPREFIX=${PROJECT_BINARY_DIR}/wine-editor/wine ${WOWFIX_WINEBOOT} -i
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/wine-host
      COMMAND env WINEDEBUG=-all WINEPREFIX=${PROJECT_BINARY_DIR}/wine-host/wine ${WOWFIX_WINEBOOT} -i
      COMMAND ${CMAKE_COMMAND} -E touch ${PROJECT_BINARY_DIR}/wine-ready
      COMMENT "Wine's first start")
    add_custom_target(wowfix_wine_ready ALL DEPENDS ${PROJECT_BINARY_DIR}/wine-ready)
  endif()
endif()
