# Delay-load import libraries for MinGW builds.
#
# GNU ld has no /DELAYLOAD switch, so for each DLL we take the function names of the
# toolchain's own import library, write a .def file and let dlltool build a delay-import
# library from it. The result is an IMPORTED target named after the DLL itself: any
# `target_link_libraries(... gdiplus)` anywhere in the project then binds to the delay-load
# library instead of `-lgdiplus`, so a load-time import of that DLL cannot creep back in.
#
#   setup_delay_load_dlls(gdiplus comctl32 shell32)

if(NOT CMAKE_DLLTOOL)
    find_program(CMAKE_DLLTOOL NAMES ${TOOLCHAIN_PREFIX}-dlltool dlltool REQUIRED)
endif()

function(setup_make_delay_library dll out_library)
    set(work "${CMAKE_BINARY_DIR}/delayload")
    file(MAKE_DIRECTORY "${work}")
    find_library(import_${dll} NAMES "lib${dll}.a" NO_CACHE REQUIRED)
    execute_process(COMMAND ${CMAKE_NM} "${import_${dll}}"
                    OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "cannot list ${import_${dll}}")
    endif()

    # Every code symbol ("T") of an import library is one imported function. On i686 the C
    # symbol carries a leading underscore that the .def name does not; __stdcall names keep
    # their @N suffix in the .def and lose it in the imported name through --kill-at.
    string(REGEX MATCHALL "[^\n]* T [^\n]+" code_lines "${symbols}")
    set(exports "")
    foreach(line IN LISTS code_lines)
        string(REGEX REPLACE ".* T " "" name "${line}")
        if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND name MATCHES "^_")
            string(SUBSTRING "${name}" 1 -1 name)  # one underscore only: _TrackMouseEvent keeps its own
        endif()
        string(APPEND exports "    ${name}\n")
    endforeach()
    if(exports STREQUAL "")
        message(FATAL_ERROR "no functions found in ${import_${dll}}")
    endif()

    set(def "${work}/${dll}.def")
    set(library "${work}/lib${dll}_delay.a")
    file(WRITE "${def}.new" "LIBRARY ${dll}.dll\nEXPORTS\n${exports}")
    file(COPY_FILE "${def}.new" "${def}" ONLY_IF_DIFFERENT)
    if(NOT EXISTS "${library}" OR "${def}" IS_NEWER_THAN "${library}")
        set(kill_at "")
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
            set(kill_at --kill-at)
        endif()
        execute_process(COMMAND ${CMAKE_DLLTOOL} ${kill_at} --input-def "${def}" --dllname "${dll}.dll"
                                --output-delaylib "${library}"
                        RESULT_VARIABLE rc)
        if(NOT rc EQUAL 0)
            message(FATAL_ERROR "dlltool failed for ${dll}")
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
        # delayimp holds __delayLoadHelper2, which resolves each function on its first call.
        set_target_properties(${dll} PROPERTIES IMPORTED_LOCATION "${library}"
                                                INTERFACE_LINK_LIBRARIES delayimp)
    endforeach()
endfunction()
