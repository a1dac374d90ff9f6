# What a Windows build needs beyond the common settings: Unicode Win32 calls,
# optionally a self-contained C++ runtime, GoogleTest built with the same
# compiler, and wine to run the programs when cross-compiling.
if(NOT WIN32)
    return()
endif()

# Wide-character Win32 calls throughout. Our own code asks for no call newer
# than Windows 7; the window still needs what Qt 6 needs, Windows 10.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

option(ZELMAR_STATIC_RUNTIME "Link libstdc++, libgcc and winpthread into each program" OFF)
if(ZELMAR_STATIC_RUNTIME)
    add_link_options(-static)
endif()

if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    # A wine prefix of the build's own, so that tests never touch the user's;
    # a test that wine did not start is started again.
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh ${CMAKE_BINARY_DIR}/wineprefix
        --again-if-not-started)
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

# fmt (header-only) and nlohmann::json are header libraries Debian ships
# for Linux alone; their headers serve a Windows build as they are. Only
# those folders are seen, through a folder of links, never the rest of
# /usr/include.
set(ZELMAR_LINUX_HEADERS /usr/include CACHE PATH "Where the Linux fmt and nlohmann headers are")
set(zelmar_header_links ${CMAKE_BINARY_DIR}/linux-headers)
foreach(dir fmt nlohmann)
    if(NOT EXISTS ${ZELMAR_LINUX_HEADERS}/${dir})
        message(FATAL_ERROR "${ZELMAR_LINUX_HEADERS}/${dir} is missing (Debian: libfmt-dev, nlohmann-json3-dev)")
    endif()
    file(MAKE_DIRECTORY ${zelmar_header_links})
    file(CREATE_LINK ${ZELMAR_LINUX_HEADERS}/${dir} ${zelmar_header_links}/${dir} SYMBOLIC)
endforeach()
if(NOT TARGET fmt::fmt-header-only)
    add_library(fmt::fmt-header-only INTERFACE IMPORTED)
    set_target_properties(fmt::fmt-header-only PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES ${zelmar_header_links} INTERFACE_COMPILE_DEFINITIONS FMT_HEADER_ONLY=1)
endif()
if(NOT TARGET nlohmann_json::nlohmann_json)
    add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
    set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${zelmar_header_links})
endif()

# Version information for each program, and for the two windows their icons,
# drawn from packaging/<program>.svg at 16 to 256 px. Called once every
# program is defined.
enable_language(RC)
function(zelmar_windows_icon program out) # makes <build>/windows/<program>.ico
    set(dir ${CMAKE_BINARY_DIR}/windows)
    set(svg ${PROJECT_SOURCE_DIR}/packaging/${program}.svg)
    set(pngs)
    set(icotool_args)
    foreach(size 16 24 32 48 64 128 256)
        set(png ${dir}/${program}-${size}.png)
        add_custom_command(OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
            COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${svg}
            DEPENDS ${svg})
        list(APPEND pngs ${png})
        if(size EQUAL 256)
            list(APPEND icotool_args --raw=${png}) # kept as PNG, as Windows expects at 256 px
        else()
            list(APPEND icotool_args ${png})
        endif()
    endforeach()
    set(ico ${dir}/${program}.ico)
    add_custom_command(OUTPUT ${ico} COMMAND ${ICOTOOL} --create --output=${ico} ${icotool_args} DEPENDS ${pngs}
        COMMENT "Making the Windows icon of ${program}")
    set(${out} ${ico} PARENT_SCOPE)
endfunction()

function(zelmar_windows_resources)
    find_program(RSVG_CONVERT rsvg-convert REQUIRED) # Debian: librsvg2-bin
    find_program(ICOTOOL icotool REQUIRED) # Debian: icoutils
    set(dir ${CMAKE_BINARY_DIR}/windows)
    string(REGEX REPLACE "^[0-9]+\\.([0-9]+).*" "\\1" ZELMAR_VERSION_MINOR "${PROJECT_VERSION}.0")
    foreach(program zelmar zelmar-analysis zelmar-replay zelmar-sim)
        if(NOT TARGET ${program})
            continue()
        endif()
        set(ZELMAR_RC_NAME ${program})
        set(ZELMAR_RC_FILE ${program}.exe)
        set(ico "")
        if(program STREQUAL "zelmar")
            set(ZELMAR_RC_DESCRIPTION "Zelmar 注码计算器")
            zelmar_windows_icon(${program} ico)
        elseif(program STREQUAL "zelmar-analysis")
            set(ZELMAR_RC_DESCRIPTION "Zelmar 策略分析")
            zelmar_windows_icon(${program} ico)
        else()
            set(ZELMAR_RC_DESCRIPTION "${program}（Zelmar 命令行工具）")
        endif()
        if(ico)
            set(ZELMAR_RC_ICON_LINE "its icon")
            set(ZELMAR_RC_ICON "1 ICON \"${ico}\"")
        else()
            set(ZELMAR_RC_ICON_LINE "no icon")
            set(ZELMAR_RC_ICON "")
        endif()
        configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/version.rc.in ${dir}/${program}.rc @ONLY)
        target_sources(${program} PRIVATE ${dir}/${program}.rc)
        if(ico)
            add_custom_target(${program}_windows_icon DEPENDS ${ico})
            add_dependencies(${program} ${program}_windows_icon)
            set_source_files_properties(${dir}/${program}.rc TARGET_DIRECTORY ${program} PROPERTIES OBJECT_DEPENDS ${ico})
        endif()
    endforeach()
endfunction()
