#pragma once

// Marks of the start-up's phases for the benchmark. Setup_trace.exe, a bench build of the same
// sources with SETUP_PHASE_TRACE defined, records each mark's time since the process was
// created and writes them beside itself when it ends (phase_trace.cpp). In Setup.exe a mark
// compiles to nothing: it reads no switch at run time.
namespace framework {

#ifdef SETUP_PHASE_TRACE
// `detail` (when not negative) tells marks of one kind apart, such as the id of a button.
void MarkPhase(const char* phase, int detail = -1) noexcept;
#else
inline void MarkPhase(const char*, int = -1) noexcept {}
#endif

}  // namespace framework
