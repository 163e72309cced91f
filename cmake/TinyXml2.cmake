# TinyXML-2: Debian's package natively; Debian's source package compiled in for Windows and for
# the Linux checker that ships (which cannot count on the library on the vendor's machine).
set(TINYXML2_SOURCE_DIR "" CACHE PATH "Folder holding tinyxml2.cpp and tinyxml2.h")

if(WIN32 OR SETUP_FUZZ OR SETUP_RELEASE_CHECKER)
    if(NOT EXISTS "${TINYXML2_SOURCE_DIR}/tinyxml2.cpp")
        message(FATAL_ERROR "TINYXML2_SOURCE_DIR must hold the tinyxml2 sources (./dev fetches them)")
    endif()
    add_library(tinyxml2_lib STATIC "${TINYXML2_SOURCE_DIR}/tinyxml2.cpp")
    target_include_directories(tinyxml2_lib SYSTEM PUBLIC "${TINYXML2_SOURCE_DIR}")
    target_link_libraries(tinyxml2_lib PRIVATE setup_product_code)
    if(WIN32)
        target_compile_options(tinyxml2_lib PRIVATE -include ${CMAKE_CURRENT_LIST_DIR}/tinyxml2_runtime_stdio.h)
    endif()
else()
    find_package(tinyxml2 REQUIRED)
    add_library(tinyxml2_lib INTERFACE)
    target_link_libraries(tinyxml2_lib INTERFACE tinyxml2::tinyxml2)
endif()
