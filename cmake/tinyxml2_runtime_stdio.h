// Forced into TinyXML-2 in the Windows builds (cmake/TinyXml2.cmake): its printf and scanf calls
// go to the C runtime's own functions (msvcrt's, through MinGW's C99 wrappers, which end a
// truncated text with NUL and return the full length) instead of MinGW's implementation, which
// libstdc++ turns on for all C++ code. TinyXML-2 is its last user in Setup.exe, where it would
// add about 50 KB of floating-point formatting and parsing that Setup never runs: Setup only
// parses, TinyXML-2 then formats only its error texts ("%s", "%d", "%x", which both write alike),
// and Setup reads numbers itself (config/xml_document.h). TinyXML-2's own number conversions
// would differ ("%.17g" writes three exponent digits, "%f" does not read "inf"); nothing of ours
// calls them.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>

extern "C" {
int __cdecl __ms_snprintf(char* buffer, std::size_t size, const char* format, ...);
int __cdecl __ms_vsnprintf(char* buffer, std::size_t size, const char* format, va_list arguments);
}

#define snprintf __ms_snprintf
#define vsnprintf __ms_vsnprintf
#define printf __ms_printf
#define vfprintf __ms_vfprintf
#define sscanf __ms_sscanf
