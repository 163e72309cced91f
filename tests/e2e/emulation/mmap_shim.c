// Preloaded into 32-bit Wine processes that run under qemu-i386 user-mode emulation.
//
// Wine reserves its address space with mmap(MAP_FIXED_NOREPLACE) and expects EEXIST where the
// range is taken. qemu 7.2 treats the flag as a hint and hands back some other address instead,
// and Debian's wine32 has no preloader that would have reserved the ranges first, so Wine's
// reservation splits its request down to 64 KiB pieces: about 65,000 mmap/munmap calls and
// some 65 s for every process start. This wrapper restores the kernel's answer: a
// MAP_FIXED_NOREPLACE mapping that did not land where it was asked for is undone and fails
// with EEXIST. Process starts then take well under a second.
//
// Loaded through LD_PRELOAD='DIR/$LIB/libsetup_mmap_shim.so': the dynamic loader expands $LIB
// per process, so 32-bit processes get this library and 64-bit ones an empty twin of the same
// name.

#define _GNU_SOURCE
#include <errno.h>
#include <stdint.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

#ifndef MAP_FIXED_NOREPLACE
#define MAP_FIXED_NOREPLACE 0x100000
#endif

enum { kPageShift = 12 };

static void* MapPages(void* address, size_t length, int protection, int flags, int fd, uint64_t offset) {
    if (offset & ((1u << kPageShift) - 1)) {
        errno = EINVAL;
        return MAP_FAILED;
    }
    // mmap2 takes the offset in pages, which reaches past 4 GiB on a 32-bit system.
    long result = syscall(SYS_mmap2, address, length, protection, flags, fd, (unsigned long)(offset >> kPageShift));
    void* mapped = (void*)result;
    if (mapped == MAP_FAILED) return MAP_FAILED;
    if ((flags & MAP_FIXED_NOREPLACE) && !(flags & MAP_FIXED) && mapped != address) {
        munmap(mapped, length);
        errno = EEXIST;
        return MAP_FAILED;
    }
    return mapped;
}

void* mmap(void* address, size_t length, int protection, int flags, int fd, off_t offset) {
    return MapPages(address, length, protection, flags, fd, (uint64_t)(uint32_t)offset);
}

void* mmap64(void* address, size_t length, int protection, int flags, int fd, off64_t offset) {
    return MapPages(address, length, protection, flags, fd, (uint64_t)offset);
}
