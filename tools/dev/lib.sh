# Shared steps of ./dev. Sourced, not run.

PACKAGES=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools wine wine64 xvfb xdotool
          x11-apps imagemagick libtinyxml2-dev libgtest-dev cmake ninja-build g++ clang
          libclang-rt-14-dev fonts-wqy-microhei dpkg-dev python3 zlib1g-dev libz-mingw-w64-dev
          fonts-liberation zip unzip clang-format locales nsis)
TINYXML2_SRC="$ROOT/build/third_party/tinyxml2"

log() { printf '== %s\n' "$*" >&2; }

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

ensure_packages() {
    ensure_i386_architecture
    local missing=()
    for p in "${PACKAGES[@]}" "${I686_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        log "installing ${missing[*]}"
        as_root apt-get update -qq
        DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    fi
    ensure_tinyxml2_source
}

# The Windows builds compile TinyXML-2 from Debian's source package; it is never committed.
ensure_tinyxml2_source() {
    [ -f "$TINYXML2_SRC/tinyxml2.cpp" ] && return 0
    local list=/etc/apt/sources.list.d/setup-deb-src.sources
    if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
        log "adding a deb-src entry for bookworm main"
        printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
            | as_root tee "$list" >/dev/null
        as_root apt-get update -qq
    fi
    local scratch; scratch="$(mktemp -d)"
    (cd "$scratch" && apt-get source -qq --download-only tinyxml2 >/dev/null 2>&1 || apt-get source -qq --download-only tinyxml2)
    (cd "$scratch" && dpkg-source -x --no-check ./*.dsc src >/dev/null)
    mkdir -p "$TINYXML2_SRC"
    cp "$scratch"/src/tinyxml2.cpp "$scratch"/src/tinyxml2.h "$TINYXML2_SRC"/
    rm -rf "$scratch"
}

configure() {  # name, extra cmake args...
    local name="$1"; shift
    configure_folder "$ROOT/build/$name" -DTINYXML2_SOURCE_DIR="$TINYXML2_SRC" "$@"
}

NATIVE_ARGS=(-DCMAKE_BUILD_TYPE=Debug -DSETUP_SANITIZE=ON)
WIN64_ARGS=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake")
WIN32_ARGS=(-DCMAKE_BUILD_TYPE=MinSizeRel -DSETUP_BUILD_TESTS=OFF -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake")

configure_and_build() {  # name, extra cmake args...
    local name="$1"; shift
    local dir="$ROOT/build/$name"
    configure "$name" "$@"
    log "building $name"
    cmake --build "$dir" -- -k 0 | grep -v '^\[' || true
    cmake --build "$dir" >/dev/null  # fail loudly if anything is left unbuilt
}

build_all() {
    configure_and_build native "${NATIVE_ARGS[@]}"
    configure_and_build win64 "${WIN64_ARGS[@]}"
    configure_and_build win32 "${WIN32_ARGS[@]}"
}

source "$ROOT/tools/dev/configure.sh"
source "$ROOT/tools/dev/wait.sh"
source "$ROOT/tools/dev/display.sh"
source "$ROOT/tools/dev/wine.sh"
source "$ROOT/tools/dev/emulation.sh"
source "$ROOT/tools/dev/tasks.sh"

# What ./dev starts or registers ends with it, also when a step fails or the run is interrupted.
dev_cleanup() { stop_i686; stop_display; }
trap dev_cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
