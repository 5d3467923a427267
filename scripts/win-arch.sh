# Sourced by the scripts that run Tarnwell under Wine: chooses the tree.
# Wine's loader for 32-bit programs is itself a 32-bit Linux program, from
# the package wine32:i386. Where that package could not be installed, or
# the kernel runs without 32-bit support, it cannot start, while `wine
# --version` still answers through the 64-bit loader. So the choice starts
# the 32-bit loader itself. Where it does not run, the same sources, built
# for 64-bit Windows, run under Wine's 64-bit loader; the shipped program
# stays the 32-bit one. Sets TARNWELL_WIN_ARCH, WINEARCH and win_tree.
win_arch_loader32=/usr/lib/wine/wine
if [ -x "$win_arch_loader32" ] && "$win_arch_loader32" --version >/dev/null 2>&1; then
  export TARNWELL_WIN_ARCH=i686 WINEARCH=win32
  export win_tree=build/win32
else
  export TARNWELL_WIN_ARCH=x86_64 WINEARCH=win64
  export win_tree=build/win64
  if [ -x "$win_arch_loader32" ]; then
    win_arch_reason="its kernel runs without 32-bit support (dmesg: \"32-bit emulation disabled\")"
  else
    win_arch_reason="Wine's 32-bit part (wine32:i386) is not installed"
  fi
  cat >&2 <<TXT
*** This machine cannot run 32-bit Windows programs: $win_arch_reason.
*** The 64-bit build of the same sources ($win_tree) runs under 64-bit Wine
*** instead; what ships is still the 32-bit build, whose imports are checked.
TXT
fi
