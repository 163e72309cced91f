# Running the shipped i686 Setup.exe under Wine as 64-bit Windows runs it (WoW64). Sourced, not run.
#
# Wine starts every 32-bit process by exec'ing its 32-bit loader, /usr/lib/wine/wine. A kernel
# without 32-bit support runs it only through qemu-i386 user-mode emulation, which binfmt_misc
# hands it to. The entry is global to the machine and the kernel takes any entry that matches,
# so each run registers one under a name of its own and removes it when it ends, also on
# failure or interrupt; concurrent runs then never pull each other's entry away. Debian's
# qemu-user-static registers no i386 entry of its own on amd64, where it counts i386 as native,
# and its other entries go through binfmt-support, which nothing here installs.

I686_PACKAGES=(wine32:i386 qemu-user-static gcc-multilib libxrender1:i386 libxrandr2:i386 libxi6:i386
               libxcursor1:i386 libxfixes3:i386 libxinerama1:i386 libxcomposite1:i386 libxxf86vm1:i386)
WINE32_LOADER=/usr/lib/wine/wine
QEMU_I386=/usr/bin/qemu-i386-static
BINFMT_DIR=/proc/sys/fs/binfmt_misc
# i386 ELF executables and shared objects; the usual qemu mask.
I386_ELF_MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
I386_ELF_MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
# The mmap shim (tests/e2e/emulation/mmap_shim.c) in the x86_64 tree; $LIB stays literal for the
# dynamic loader, which picks the 32- or 64-bit library per process.
I686_PRELOAD="$ROOT/build/win64/tests/e2e/emulation/\$LIB/libsetup_mmap_shim.so"

I686_BINFMT_NAME=""
I686_RUNNER=""

ensure_i386_architecture() {
    dpkg --print-foreign-architectures | grep -qx i386 && return 0
    log "adding the i386 architecture"
    as_root dpkg --add-architecture i386
    as_root apt-get update -qq
}

# True when an entry (another run's, or the system's) already hands i386 programs to qemu: our
# 32-bit processes are then emulated whatever the kernel could do, and that entry may be gone
# before this run ends.
i386_emulation_registered() {
    [ -e "$BINFMT_DIR/register" ] || return 1
    grep -ls "^interpreter .*qemu-i386" "$BINFMT_DIR"/* 2>/dev/null | while read -r entry; do
        grep -qx enabled "$entry" && echo "$entry"
    done | grep -q .
}

# "native" when the kernel runs Wine's 32-bit loader by itself, else "qemu".
# SETUP_I686_RUNNER=qemu (or native) overrides the choice, e.g. to try the emulation on a machine
# that would not need it.
choose_i686_runner() {
    case "${SETUP_I686_RUNNER:-auto}" in
        native|qemu) I686_RUNNER="$SETUP_I686_RUNNER" ;;
        auto)
            if ! i386_emulation_registered && "$WINE32_LOADER" --version >/dev/null 2>&1; then I686_RUNNER=native
            else I686_RUNNER=qemu; fi ;;
        *) log "SETUP_I686_RUNNER must be auto, native or qemu"; return 1 ;;
    esac
}

register_i386_emulation() {
    if [ ! -e "$BINFMT_DIR/register" ]; then
        as_root mount -t binfmt_misc binfmt_misc "$BINFMT_DIR"
    fi
    I686_BINFMT_NAME="setup-i686-$$-$(date +%s%N)"
    # F: the kernel opens qemu now, so the entry works wherever the emulated program runs.
    printf ':%s:M::%s:%s:%s:F' "$I686_BINFMT_NAME" "$I386_ELF_MAGIC" "$I386_ELF_MASK" "$QEMU_I386" \
        | as_root tee "$BINFMT_DIR/register" >/dev/null
    log "binfmt_misc entry $I686_BINFMT_NAME: i386 programs run under $QEMU_I386"
}

unregister_i386_emulation() {
    [ -n "$I686_BINFMT_NAME" ] || return 0
    if [ -e "$BINFMT_DIR/$I686_BINFMT_NAME" ]; then
        echo -1 | as_root tee "$BINFMT_DIR/$I686_BINFMT_NAME" >/dev/null || true
    fi
    I686_BINFMT_NAME=""
}

# Makes 32-bit Wine work for the rest of this shell, until stop_i686. Exports LD_PRELOAD with
# the mmap shim: harmless where 32-bit programs run natively, and needed the moment anyone's
# qemu entry takes them over.
start_i686() {
    choose_i686_runner
    log "32-bit Wine runs: $I686_RUNNER"
    if [ "$I686_RUNNER" = qemu ]; then
        [ -x "$QEMU_I386" ] || { log "no $QEMU_I386"; return 1; }
        register_i386_emulation
    fi
    [ -f "$ROOT/build/win64/tests/e2e/emulation/lib/i386-linux-gnu/libsetup_mmap_shim.so" ] \
        || { log "the mmap shim is not built (build/win64)"; return 1; }
    export LD_PRELOAD="$I686_PRELOAD"
}

stop_i686() {
    unregister_i386_emulation
    unset LD_PRELOAD
}
