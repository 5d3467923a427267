#!/usr/bin/env bash
# Installs the toolchain, Wine and the cross-built libraries that the build needs.
# Idempotent: each step is skipped when its result is already there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/build/deps"
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"

packages=(cmake ninja-build g++ make pkg-config nsis
          g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32 mingw-w64-i686-dev
          g++-mingw-w64-x86-64-win32 gcc-mingw-w64-x86-64-win32 mingw-w64-x86-64-dev
          wine wine32:i386 wine64 fonts-wine xvfb xauth x11-utils imagemagick x11-apps xdotool
          dpkg-dev clang libclang-rt-14-dev)

missing() {
  local p
  for p in "${packages[@]}"; do
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

if [ -n "$(missing)" ] || [ ! -f "$deps/libjpeg/lib/libjpeg.a" ]; then
  if ! dpkg --print-foreign-architectures | grep -q i386; then
    $sudo_cmd dpkg --add-architecture i386
  fi
  enable_sources
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
fi

mkdir -p "$deps/src"

# libjpeg-turbo from Debian's source package, unpacked once for every tree.
jpeg_src=$(find "$deps/src" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)
if [ -z "$jpeg_src" ]; then
  (cd "$deps/src" && apt-get source -qq libjpeg-turbo >/dev/null 2>&1)
  jpeg_src=$(find "$deps/src" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)
fi

# GoogleTest from Debian's sources.
gtest_src=/usr/src/googletest
if [ ! -d "$gtest_src" ]; then
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq googletest >/dev/null
fi

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
