# The libraries the Windows host links (libsndfile, libsamplerate, libpng),
# cross-built with mingw-w64 from Debian's source packages, static and
# library only (no programs, tests or documents), into <build>/windows-deps.
# Each is built once per build folder; zlib is Debian's libz-mingw-w64-dev.
include(ExternalProject)

set(WOWFIX_WINDOWS_DEPS ${PROJECT_BINARY_DIR}/windows-deps/install)
set(wowfix_deps_sources ${PROJECT_BINARY_DIR}/windows-deps/source)
set(wowfix_mingw_zlib /usr/x86_64-w64-mingw32/lib/libz.a)
if(NOT EXISTS ${wowfix_mingw_zlib})
  message(FATAL_ERROR "The Windows host needs zlib for mingw-w64: install libz-mingw-w64-dev (see the README)")
endif()

set(wowfix_deps_common_args
  -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
  -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_INSTALL_PREFIX=${WOWFIX_WINDOWS_DEPS}
  -DBUILD_SHARED_LIBS=OFF
  -DBUILD_TESTING=OFF)

# wowfix_windows_dependency(NAME DEBIAN_SOURCE_PACKAGE cmake-arguments...)
function(wowfix_windows_dependency name package)
  ExternalProject_Add(${name}
    PREFIX ${PROJECT_BINARY_DIR}/windows-deps/${name}
    SOURCE_DIR ${wowfix_deps_sources}/${package}
    DOWNLOAD_COMMAND sh ${PROJECT_SOURCE_DIR}/cmake/fetch-debian-source.sh ${wowfix_deps_sources} ${package}
    CMAKE_ARGS ${wowfix_deps_common_args} ${ARGN}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --parallel 2
    INSTALL_COMMAND ${CMAKE_COMMAND} --install <BINARY_DIR>
    LOG_DOWNLOAD ON LOG_CONFIGURE ON LOG_BUILD ON LOG_INSTALL ON LOG_OUTPUT_ON_FAILURE ON)
endfunction()

# Only the codecs built into libsndfile itself (WAV, AIFF, AU, CAF, W64 and
# the rest of the uncompressed ones); FLAC, Ogg, Opus and MPEG would need their
# own cross builds.
wowfix_windows_dependency(wowfix_dep_sndfile libsndfile
  -DENABLE_EXTERNAL_LIBS=OFF -DENABLE_MPEG=OFF -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF
  -DBUILD_REGTEST=OFF -DENABLE_CPACK=OFF -DINSTALL_MANPAGES=OFF)
wowfix_windows_dependency(wowfix_dep_samplerate libsamplerate0
  -DLIBSAMPLERATE_EXAMPLES=OFF)
wowfix_windows_dependency(wowfix_dep_png libpng1.6
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF
  -DZLIB_LIBRARY=${wowfix_mingw_zlib} -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include)

# The sources are unpacked one at a time (apt's lists are shared).
add_dependencies(wowfix_dep_samplerate wowfix_dep_sndfile)
add_dependencies(wowfix_dep_png wowfix_dep_samplerate)
set(WOWFIX_WINDOWS_DEPENDENCIES wowfix_dep_sndfile wowfix_dep_samplerate wowfix_dep_png)
