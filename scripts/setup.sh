#!/usr/bin/env bash
# Brings a Debian 12 machine (run as root) to the point where Quiverleaf
# builds for both Windows targets and its tests run under Wine.
#
# It runs before every build, so when everything is already in place it only
# asks dpkg once and looks at two stamp files, and prints nothing.
#
#  1. installs the Debian packages that are missing (one apt-get update first);
#  2. fetches Debian's libjpeg-turbo source package into .deps/src;
#  3. builds it as a static library for x86_64 and i686 MinGW into
#     .deps/<arch>/libjpeg/{include,lib/libjpeg.a}, with SIMD when nasm exists.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

root=$qv_root
deps="$root/.deps"
mkdir -p "$deps"

# Two scripts may call this at once (a build beside a test run): the second
# waits for the first instead of building the same library twice.
exec {lock_fd}>"$deps/.setup.lock"
flock "$lock_fd"

say() { printf 'setup: %s\n' "$*" >&2; }

# wine32 is left out on purpose: this kernel can't execute 32-bit programs,
# so only the x86_64 build is ever run here.
packages=(
    cmake ninja-build
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
    wine wine64
    xvfb xdotool imagemagick x11-utils
    nasm googletest libjpeg-turbo-progs dpkg-dev python3
)

apt_updated=0
apt_update_once() {
    if [ "$apt_updated" = 0 ]; then
        say "apt-get update"
        apt-get update -qq >/dev/null
        apt_updated=1
    fi
}

missing_packages() {
    local installed
    # dpkg-query fails when any name is unknown to it, yet still lists the
    # others: its exit status says nothing useful here.
    installed=$( (dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${packages[@]}" 2>/dev/null || true) |
                awk '$2 == "installed" { print $1 }')
    local p
    for p in "${packages[@]}"; do
        grep -qx -- "$p" <<<"$installed" || printf '%s\n' "$p"
    done
}

mapfile -t missing < <(missing_packages)
if [ "${#missing[@]}" -gt 0 ]; then
    apt_update_once
    say "installing ${missing[*]}"
    install_log=$(mktemp)
    # With recommends on purpose: Wine's (fonts-wine, the XRender, XInput2
    # and RandR libraries) change how it draws and takes input, and the
    # machines our tests were checked on have them.
    if ! DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" \
            >"$install_log" 2>&1; then
        say "apt-get install failed; the end of its output:"
        tail -n 30 "$install_log" >&2
        rm -f "$install_log"
        exit 1
    fi
    rm -f "$install_log"
fi

# ---------------------------------------------------------------- libjpeg

# The SIMD flavour decodes several times faster; nasm decides whether we can
# build it, and the stamp remembers which flavour a build is.
if command -v nasm >/dev/null 2>&1; then simd=ON; else simd=OFF; fi

arches=(x86_64 i686)
need_build=()
for arch in "${arches[@]}"; do
    stamp="$deps/$arch/libjpeg/.stamp"
    built=""
    [ -f "$stamp" ] && built=$(cat "$stamp")
    if [ ! -f "$deps/$arch/libjpeg/lib/libjpeg.a" ] || [ "$built" != "simd=$simd" ]; then
        need_build+=("$arch")
    fi
done
[ "${#need_build[@]}" -eq 0 ] && exit 0

has_deb_src() {
    grep -rqsE '^[[:space:]]*(deb-src[[:space:]]|Types:.*deb-src)' \
        /etc/apt/sources.list /etc/apt/sources.list.d/
}

# Adds a deb-src entry beside the machine's own Debian entry, taking its
# mirror so that source and binaries come from the same place.
add_deb_src() {
    local uri="" suite=""
    if ! uri=$(qv_debian_mirror); then
        say "no Debian archive entry found in /etc/apt to add a deb-src entry beside"
        exit 1
    fi
    # shellcheck disable=SC1091
    suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    say "adding a deb-src entry for $uri $suite"
    cat >/etc/apt/sources.list.d/quiverleaf-deb-src.sources <<EOF
Types: deb-src
URIs: $uri
Suites: $suite
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
}

find_jpeg_source() {
    find "$deps/src" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' 2>/dev/null | sort -V | tail -n 1
}

mkdir -p "$deps/src"
src=$(find_jpeg_source)
if [ -z "$src" ]; then
    if ! ls "$deps"/src/libjpeg-turbo_*.dsc >/dev/null 2>&1; then
        if ! has_deb_src; then
            add_deb_src
            apt_updated=0
        fi
        apt_update_once
        say "fetching Debian's libjpeg-turbo source package"
        (cd "$deps/src" && apt-get source -qq --download-only -o APT::Sandbox::User=root libjpeg-turbo >/dev/null)
    fi
    dsc=$(ls "$deps"/src/libjpeg-turbo_*.dsc | sort -V | tail -n 1)
    # apt already checked the files against the signed Release file; the
    # .dsc signature itself can't be checked without Debian's keyring tools.
    (cd "$deps/src" && dpkg-source --no-check -x "$(basename "$dsc")" >/dev/null)
    src=$(find_jpeg_source)
fi
[ -n "$src" ] || { say "libjpeg-turbo source not found in $deps/src"; exit 1; }

for arch in "${need_build[@]}"; do
    build="$deps/build/$arch"
    prefix="$deps/$arch/libjpeg"
    say "building libjpeg-turbo for $arch (SIMD $simd)"
    rm -rf "$build" "$prefix"
    log="$deps/build-$arch.log"
    if ! {
        cmake -S "$src" -B "$build" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch.cmake" \
            -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_INSTALL_PREFIX="$prefix" \
            -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
            -DWITH_TURBOJPEG=OFF -DWITH_SIMD="$simd" &&
        # Only the library: the command-line tools and their tests would
        # double the build time for nothing we use.
        cmake --build "$build" --target jpeg-static
    } >"$log" 2>&1; then
        say "libjpeg-turbo build for $arch failed; see $log"
        tail -n 30 "$log" >&2
        exit 1
    fi
    mkdir -p "$prefix/include" "$prefix/lib"
    cp "$build/libjpeg.a" "$prefix/lib/"
    cp "$build/jconfig.h" "$src/jpeglib.h" "$src/jmorecfg.h" "$src/jerror.h" "$prefix/include/"
    echo "simd=$simd" >"$prefix/.stamp"
    rm -f "$log"
done
