# Compiler settings shared by every target of ours (not by third-party code).
add_library(setup_warnings INTERFACE)
target_compile_options(setup_warnings INTERFACE -Wall -Wextra -Werror)

if(WIN32)
    # Static runtime: no libstdc++/libwinpthread DLL beside Setup.exe to be planted or missing.
    add_link_options(-static -static-libgcc -static-libstdc++)
    add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
    # Windows 7 (NT 6.1) is the oldest system supported. With the default 4.0 Windows takes the
    # program for one written before Windows 7 and its compatibility assistant watches it as an
    # old installer.
    add_link_options(LINKER:--major-subsystem-version,6 LINKER:--minor-subsystem-version,1
                     LINKER:--major-os-version,6 LINKER:--minor-os-version,1)
    if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
        add_link_options(-s)
    endif()
endif()

# How the code of Setup.exe is compiled in both Windows builds, its libraries and TinyXML-2
# included: without exceptions and run-time type information (src/app/no_exception_runtime.cpp
# says why), and without unwind tables: nothing in Setup throws or catches, and a fault ends
# the process with or without them. On i686 they were a sixth of the image; on x86_64 the SEH
# unwind data of our functions goes too, which only a debugger's stack walk would miss. Each
# function in a section of its own, so that the launcher's link keeps only what it calls
# (--gc-sections, src/app/CMakeLists.txt). Tests and tools link these libraries with the usual
# settings of their own.
add_library(setup_product_code INTERFACE)
if(WIN32)
    target_compile_options(setup_product_code INTERFACE -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
                                                        -ffunction-sections)
endif()

if(SETUP_RELEASE_CHECKER AND NOT WIN32)
    # The shipped Linux checker runs on machines without this one's libraries: zlib and the C++
    # runtime go into the program (TinyXML-2 too, see TinyXml2.cmake). The C library stays
    # shared, for iconv's code-page modules.
    set(ZLIB_USE_STATIC_LIBS ON)
    add_link_options(-static-libstdc++ -static-libgcc -s)
endif()

if(SETUP_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
endif()
