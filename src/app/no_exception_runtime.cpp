// Setup is built without exceptions: no error path of it uses them, and the C++ runtime's
// exception machinery (throwing, unwinding, the verbose terminate handler with its demangler,
// and the POSIX threads it locks with) was over a third of the shipped program. The library
// code that Setup instantiates still names the runtime's throwing helpers and allocation
// functions; defining them here keeps the linker from taking the library's versions, and with
// them the machinery. Running out of memory, the one condition they report, ends the process.
#include <bits/functexcept.h>

#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void Fail() noexcept { std::abort(); }

void* Allocate(std::size_t size) noexcept { return std::malloc(size != 0 ? size : 1); }

}  // namespace

// The replaceable global allocation functions: the throwing forms end the process instead of
// throwing std::bad_alloc; the nothrow forms return null as the standard ones do.
void* operator new(std::size_t size) {
    void* block = Allocate(size);
    if (block == nullptr) Fail();
    return block;
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

// What a call of a pure virtual function runs (it cannot happen in a correct program).
extern "C" void __cxa_pure_virtual() { Fail(); }

// The helpers through which libstdc++'s headers report errors (bits/functexcept.h).
namespace std {
void __throw_bad_exception() { Fail(); }
void __throw_bad_alloc() { Fail(); }
void __throw_bad_array_new_length() { Fail(); }
void __throw_bad_cast() { Fail(); }
void __throw_bad_typeid() { Fail(); }
void __throw_logic_error(const char*) { Fail(); }
void __throw_domain_error(const char*) { Fail(); }
void __throw_invalid_argument(const char*) { Fail(); }
void __throw_length_error(const char*) { Fail(); }
void __throw_out_of_range(const char*) { Fail(); }
void __throw_out_of_range_fmt(const char*, ...) { Fail(); }
void __throw_runtime_error(const char*) { Fail(); }
void __throw_range_error(const char*) { Fail(); }
void __throw_overflow_error(const char*) { Fail(); }
void __throw_underflow_error(const char*) { Fail(); }
void __throw_ios_failure(const char*) { Fail(); }
void __throw_ios_failure(const char*, int) { Fail(); }
void __throw_system_error(int) { Fail(); }
void __throw_future_error(int) { Fail(); }
void __throw_bad_function_call() { Fail(); }
}  // namespace std
