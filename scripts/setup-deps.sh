#!/usr/bin/env bash
# Installs the toolchain, Wine and the cross-built libraries that the build needs.
# Idempotent: each step is skipped when its result is already there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/build/deps"
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"

packages=(cmake ninja-build g++ make pkg-config
          g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32 mingw-w64-i686-dev
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
toolchain="$root/cmake/mingw-i686.cmake"

# Cross-built libraries from another toolchain (an older thread model) are
# built again, and so is the Win32 tree that linked them.
stamp="$deps/toolchain.stamp"
if [ -f "$stamp" ] && cmp -s "$stamp" "$toolchain"; then :; else
  rm -rf "$deps/libjpeg" "$deps/src/libjpeg-build" "$deps/gtest-win32" "$deps/src/gtest-win32" "$root/build/win32"
fi

# libjpeg for the banner, from Debian's libjpeg-turbo source package.
if [ ! -f "$deps/libjpeg/lib/libjpeg.a" ]; then
  (cd "$deps/src" && rm -rf libjpeg-turbo-* && apt-get source -qq libjpeg-turbo >/dev/null 2>&1)
  src=$(find "$deps/src" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)
  cmake -S "$src" -B "$deps/src/libjpeg-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DWITH_SIMD=OFF -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF \
    -DCMAKE_INSTALL_PREFIX="$deps/libjpeg" -DCMAKE_INSTALL_LIBDIR=lib >/dev/null
  cmake --build "$deps/src/libjpeg-build" --target install >/dev/null
  # The static library is not among what the package installs on Windows.
  mkdir -p "$deps/libjpeg/lib"
  cp "$deps/src/libjpeg-build/libjpeg.a" "$deps/libjpeg/lib/"
fi

# GoogleTest from Debian's sources, built for both targets.
gtest_src=/usr/src/googletest
if [ ! -d "$gtest_src" ]; then
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq googletest >/dev/null
fi
for target in native win32; do
  prefix="$deps/gtest-$target"
  [ -f "$prefix/lib/libgtest.a" ] && continue
  extra=()
  # The win32 thread model has no std::mutex: GoogleTest gets a Notification
  # of its own, see the header.
  [ "$target" = win32 ] && extra=(-DCMAKE_TOOLCHAIN_FILE="$toolchain" -Dgtest_disable_pthreads=ON
    -DCMAKE_CXX_FLAGS="-include $root/tests/win32/support/gtest_notification.h")
  cmake -S "$gtest_src" -B "$deps/src/gtest-$target" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib \
    "${extra[@]}" >/dev/null
  cmake --build "$deps/src/gtest-$target" --target install >/dev/null
done
cp "$toolchain" "$stamp"
