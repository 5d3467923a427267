# Sourced by the scripts that run Tarnwell under Wine: chooses the tree.
# Wine's loader for 32-bit programs is itself a 32-bit Linux program, and a
# kernel without 32-bit support cannot start it. There the same sources,
# built for 64-bit Windows, run under Wine's 64-bit loader instead; the
# shipped program stays the 32-bit one. Sets TARNWELL_WIN_ARCH, WINEARCH
# and win_tree.
if wine --version >/dev/null 2>&1; then
  export TARNWELL_WIN_ARCH=i686 WINEARCH=win32
  export win_tree=build/win32
else
  export TARNWELL_WIN_ARCH=x86_64 WINEARCH=win64
  export win_tree=build/win64
  cat >&2 <<TXT
*** This machine cannot run 32-bit programs (its kernel runs without 32-bit
*** support), so Wine cannot start 32-bit Windows programs here. The 64-bit
*** build of the same sources ($win_tree) runs under 64-bit Wine instead.
TXT
fi
