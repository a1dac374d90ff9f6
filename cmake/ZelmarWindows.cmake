# What a Windows build needs beyond the common settings: Unicode Win32 calls,
# optionally a self-contained C++ runtime, GoogleTest built with the same
# compiler, and wine to run the programs when cross-compiling.
if(NOT WIN32)
    return()
endif()

# Wide-character Win32 calls throughout; Windows 7 or later.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

option(ZELMAR_STATIC_RUNTIME "Link libstdc++, libgcc and winpthread into each program" OFF)
if(ZELMAR_STATIC_RUNTIME)
    add_link_options(-static)
endif()

if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    # A wine prefix of the build's own, so that tests never touch the user's.
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh ${CMAKE_BINARY_DIR}/wineprefix)
endif()

# GoogleTest from its sources (Debian's googletest package), since the
# system's libgtest is built for Linux.
if(ZELMAR_BUILD_TESTS AND NOT TARGET GTest::gtest_main)
    set(ZELMAR_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for a Windows build")
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${ZELMAR_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    set_target_properties(gtest gtest_main PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
endif()
