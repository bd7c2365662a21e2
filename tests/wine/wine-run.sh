#!/usr/bin/env bash
# Runs one Windows program of the build under Wine, headless and quiet:
#   wine-run.sh PREFIX PROGRAM [ARGS...]
# It is the build's cross-compiling emulator, so CTest (and GoogleTest's test
# discovery) run every Windows test program through it.
#
# PREFIX is a Wine prefix inside the build tree, made on first use (under a
# lock, so parallel tests make it once): Wine's null display driver (windows
# and drawing work without any X server), no crash dialog (a crash prints a
# backtrace and exits instead of waiting for a click), no menu entries, and
# Wine's own fonts copied in beside the host's (Liberation, DejaVu), so GDI
# finds "Arial" (Liberation Sans), Tahoma, and "Verdana" (DejaVu Sans, as
# fontconfig gives it on Linux). HOME points into the build tree
# too, because the prefix links its user folders to HOME.
set -uo pipefail
making=0
if [ "$1" = --make-prefix ]; then
  making=1
  shift
fi
prefix="$1"
shift
loader=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver64

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export HOME="$prefix-home"
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$HOME"

make_prefix() {
  [ -f "$prefix/.kestrane-ready" ] && return 0
  rm -rf "$prefix"
  "$loader" wineboot -i >/dev/null 2>&1
  "$loader" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  "$loader" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  cp -n /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
  # Verdana (the editor's version text) as the Linux build draws it.
  "$loader" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Verdana /d 'DejaVu Sans' /f >/dev/null 2>&1
  # The registry is written when the server ends.
  "$server" -k >/dev/null 2>&1
  "$server" -w >/dev/null 2>&1
  touch "$prefix/.kestrane-ready"
}

if [ $making = 1 ]; then
  make_prefix
  exit 0
fi
# flock -o: the lock is not inherited by the wineserver started inside.
mkdir -p "$(dirname "$prefix")"
[ -f "$prefix/.kestrane-ready" ] || flock -o "$prefix.lock" "$0" --make-prefix "$prefix"

# Wine's helper processes (services, explorer...) inherit the output of
# whoever starts them and outlive the test; CTest would wait for them to
# close it. So a persistent server and the helpers are started here with
# their output on /dev/null, and the test's own output goes through files.
"$server" -p20 </dev/null >/dev/null 2>&1 || true
"$loader" cmd /c exit </dev/null >/dev/null 2>&1 || true

out="$(mktemp)"
err="$(mktemp)"
for attempt in 1 2; do
  "$loader" "$@" >"$out" 2>"$err"
  status=$?
  # Every test program writes before it does anything else, so a failure
  # with no output at all is Wine failing to start it (seen once in about
  # 850 runs here, under heavy load): that one is retried once.
  [ $status -ne 0 ] && [ ! -s "$out" ] || break
  cat "$err" >&2
  sleep 1
done
cat "$out"
# Wine's own complaints that no setting can silence (a missing 32-bit
# loader, access to Z:\) are left out.
grep -v -e 'syswow64' -e 'Read access denied for device' "$err" >&2
rm -f "$out" "$err"
exit $status
