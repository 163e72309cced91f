# Delay-load import libraries for MinGW builds.
#
# GNU ld has no /DELAYLOAD switch, and the delay libraries of `dlltool --output-delaylib` lose
# the thunk of every function the headers declare dllimport on i686 (see
# tools/delayload/make_delay_library.py). So for each DLL we list the functions of the
# toolchain's own import library and build a delay library of our own objects from them. The
# result is an IMPORTED target named after the DLL itself: any `target_link_libraries(...
# gdiplus)` anywhere in the project then binds to the delay library instead of `-lgdiplus`, so
# a load-time import of that DLL cannot creep back in. The post-link step of the executable
# registers the descriptors as the image's Delay Import Directory.
#
#   setup_delay_load_dlls(gdiplus comctl32 shell32)

find_package(Python3 REQUIRED COMPONENTS Interpreter)
if(NOT CMAKE_AS)
    find_program(CMAKE_AS NAMES ${TOOLCHAIN_PREFIX}-as REQUIRED)
endif()

set(SETUP_DELAY_LIBRARY_MAKER "${PROJECT_SOURCE_DIR}/tools/delayload/make_delay_library.py")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${SETUP_DELAY_LIBRARY_MAKER}")

function(setup_make_delay_library dll out_library)
    set(work "${CMAKE_BINARY_DIR}/delayload")
    file(MAKE_DIRECTORY "${work}")
    find_library(import_${dll} NAMES "lib${dll}.a" NO_CACHE REQUIRED)
    execute_process(COMMAND ${CMAKE_NM} "${import_${dll}}" OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "cannot list ${import_${dll}}")
    endif()

    set(listing "${work}/${dll}.nm")
    set(library "${work}/lib${dll}_delay.a")
    file(WRITE "${listing}.new" "${symbols}")
    file(COPY_FILE "${listing}.new" "${listing}" ONLY_IF_DIFFERENT)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(arch x86_64)
    else()
        set(arch i686)
    endif()
    if(NOT EXISTS "${library}" OR "${listing}" IS_NEWER_THAN "${library}"
       OR "${SETUP_DELAY_LIBRARY_MAKER}" IS_NEWER_THAN "${library}")
        execute_process(
            COMMAND "${Python3_EXECUTABLE}" "${SETUP_DELAY_LIBRARY_MAKER}" --arch ${arch} --dll ${dll}.dll
                    --symbols "${listing}" --as "${CMAKE_AS}" --ar "${CMAKE_AR}"
                    --work "${work}/${dll}" --out "${library}"
            RESULT_VARIABLE rc)
        if(NOT rc EQUAL 0)
            message(FATAL_ERROR "cannot make the delay library of ${dll}")
        endif()
    endif()
    set(${out_library} "${library}" PARENT_SCOPE)
endfunction()

function(setup_delay_load_dlls)
    foreach(dll IN LISTS ARGN)
        if(TARGET ${dll})
            continue()
        endif()
        setup_make_delay_library(${dll} library)
        add_library(${dll} STATIC IMPORTED GLOBAL)
        set_target_properties(${dll} PROPERTIES IMPORTED_LOCATION "${library}")
    endforeach()
endfunction()
