#!/usr/bin/env bash
# Installs the toolchain, Wine and the cross-built libraries that the build needs.
# Idempotent: each step is skipped when its result is already there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/build/deps"
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"

packages=(cmake ninja-build g++ make pkg-config nsis googletest
          g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32 mingw-w64-i686-dev
          g++-mingw-w64-x86-64-win32 gcc-mingw-w64-x86-64-win32 mingw-w64-x86-64-dev
          wine wine32:i386 wine64 fonts-wine xvfb xauth x11-utils imagemagick x11-apps xdotool
          dpkg-dev clang libclang-rt-14-dev)
# Wine's 32-bit part must match amd64 packages of the same version; when the
# mirror lacks the i386 index that carries them it cannot be installed, and
# the tests run the 64-bit stand-in tree instead (scripts/win-arch.sh).
optional=(wine32:i386)
wine32_unavailable="$deps/wine32-unavailable"

is_optional() { [[ " ${optional[*]} " == *" $1 "* ]]; }

# Missing packages; wine32 counts only until an attempt found it unavailable.
missing() {
  local p
  for p in "${packages[@]}"; do
    if [ -f "$wine32_unavailable" ] && is_optional "$p"; then continue; fi
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || { echo yes; return; }
  done
}

enable_sources() {
  local f=/etc/apt/sources.list.d/debian.sources
  if [ -f "$f" ] && ! grep -q 'deb-src' "$f"; then
    $sudo_cmd sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"
  fi
  if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list && ! grep -q '^deb-src ' /etc/apt/sources.list; then
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | $sudo_cmd tee -a /etc/apt/sources.list >/dev/null
  fi
}

# A mirror in the middle of a sync fails single indexes ("File has
# unexpected size"), and `apt-get update` then exits 100 although the other
# lists are fresh. Try a few times, then go on with the lists that are
# there: only an install that cannot be done from them stops the set-up.
apt_update() {
  local attempt
  for attempt in 1 2 3; do
    $sudo_cmd apt-get update -qq && return 0
    echo "apt-get update failed (attempt $attempt of 3)" >&2
    [ "$attempt" -eq 3 ] || sleep $((attempt * 10))
  done
  echo "*** apt-get update kept failing; going on with the package lists that are there" >&2
}

apt_install() {
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

install_packages() {
  if apt_install "${packages[@]}"; then rm -f "$wine32_unavailable"; return 0; fi
  local required=() p
  for p in "${packages[@]}"; do is_optional "$p" || required+=("$p"); done
  if apt_install "${required[@]}"; then
    mkdir -p "$deps"
    date >"$wine32_unavailable"
    cat >&2 <<TXT
*** Wine's 32-bit part (wine32:i386) cannot be installed from this mirror's
*** package lists now; everything else is installed. 32-bit Windows programs
*** cannot start here, so the tests run the 64-bit build of the same sources
*** under 64-bit Wine; the 32-bit build and its import check still run.
*** (To try wine32 again later: rm $wine32_unavailable)
TXT
    return 0
  fi
  echo "*** the packages the build needs cannot be installed: ${required[*]}" >&2
  echo "*** (apt-get's messages are above; try again once the mirror has synced)" >&2
  exit 1
}

if [ -n "$(missing)" ] || [ ! -f "$deps/libjpeg/lib/libjpeg.a" ]; then
  if ! dpkg --print-foreign-architectures | grep -q i386; then
    $sudo_cmd dpkg --add-architecture i386
  fi
  enable_sources
  apt_update
  install_packages
fi

mkdir -p "$deps/src"

# libjpeg-turbo from Debian's source package, unpacked once for every tree;
# a download the mirror breaks is tried again.
jpeg_src=$(find "$deps/src" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)
for attempt in 1 2 3; do
  [ -z "$jpeg_src" ] || break
  [ "$attempt" -eq 1 ] || { echo "apt-get source libjpeg-turbo failed (attempt $((attempt - 1)) of 3)" >&2; sleep 10; }
  (cd "$deps/src" && apt-get source -qq libjpeg-turbo >/dev/null 2>"$deps/src/apt-source.log") || true
  jpeg_src=$(find "$deps/src" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)
done
if [ -z "$jpeg_src" ]; then
  cat "$deps/src/apt-source.log" >&2
  echo "*** Debian's source package libjpeg-turbo cannot be fetched (deb-src lists missing, or the mirror is syncing)" >&2
  exit 1
fi

# GoogleTest from Debian's sources (the googletest package).
gtest_src=/usr/src/googletest

# libjpeg (for the banner) and GoogleTest cross-built with TOOLCHAIN into
# DEST; TREE is the build tree that links them. Libraries from another
# toolchain (an older thread model) are built again, and so is that tree.
cross_deps() {
  local toolchain=$1 dest=$2 tree=$3
  local stamp="$dest/toolchain.stamp"
  if ! cmp -s "$stamp" "$toolchain" 2>/dev/null; then
    rm -rf "$dest/libjpeg" "$dest/src/libjpeg-build" "$dest/gtest-win32" "$dest/src/gtest-win32" "$tree"
  fi
  mkdir -p "$dest/src"
  if [ ! -f "$dest/libjpeg/lib/libjpeg.a" ]; then
    cmake -S "$jpeg_src" -B "$dest/src/libjpeg-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=Release -DWITH_SIMD=OFF -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF \
      -DCMAKE_INSTALL_PREFIX="$dest/libjpeg" -DCMAKE_INSTALL_LIBDIR="$dest/libjpeg/lib" -Wno-dev >/dev/null
    cmake --build "$dest/src/libjpeg-build" --target install >/dev/null
    # The static library is not among what the package installs on Windows.
    mkdir -p "$dest/libjpeg/lib"
    cp "$dest/src/libjpeg-build/libjpeg.a" "$dest/libjpeg/lib/"
  fi
  if [ ! -f "$dest/gtest-win32/lib/libgtest.a" ]; then
    # The win32 thread model has no std::mutex: GoogleTest gets a
    # Notification of its own, see the header.
    cmake -S "$gtest_src" -B "$dest/src/gtest-win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON -DCMAKE_INSTALL_PREFIX="$dest/gtest-win32" -DCMAKE_INSTALL_LIBDIR=lib \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" -Dgtest_disable_pthreads=ON \
      -DCMAKE_CXX_FLAGS="-include $root/tests/win32/support/gtest_notification.h" >/dev/null
    cmake --build "$dest/src/gtest-win32" --target install >/dev/null
  fi
  cp "$toolchain" "$stamp"
}

if [ ! -f "$deps/gtest-native/lib/libgtest.a" ]; then
  cmake -S "$gtest_src" -B "$deps/src/gtest-native" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON -DCMAKE_INSTALL_PREFIX="$deps/gtest-native" -DCMAKE_INSTALL_LIBDIR=lib >/dev/null
  cmake --build "$deps/src/gtest-native" --target install >/dev/null
fi
cross_deps "$root/cmake/mingw-i686.cmake" "$deps" "$root/build/win32"
# The 64-bit stand-in tree, for machines that cannot run 32-bit programs.
cross_deps "$root/cmake/mingw-x86_64.cmake" "$root/build/deps-x86_64" "$root/build/win64"
