#!/usr/bin/env bash
# libpng for the Windows build. Debian packages no mingw libpng, so this
# fetches Debian's own source package (with Debian's patches) with
# `apt-get source` and cross-builds it once as a static library against
# Debian's mingw zlib.
#
#   scripts/build-libpng-mingw.sh PREFIX
#
# PREFIX (normally build/windows/deps) receives include/ and lib/libpng16.a;
# when PREFIX/lib/libpng16.a exists the script does nothing. The source
# entry it needs is derived from the machine's own apt configuration (the
# mirror and key of the Debian entry already in use), never a fixed host.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
prefix="$(realpath -m "${1:?usage: build-libpng-mingw.sh PREFIX}")"
[ -f "$prefix/lib/libpng16.a" ] && exit 0

work="$prefix/../libpng-src"
mkdir -p "$work"
work="$(realpath "$work")"
as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)

# A deb-src twin of the first Debian entry that carries the main suite.
sources_file=/etc/apt/sources.list.d/kestrane-deb-src.sources
if ! apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null | grep -qx 'Sources'; then
  codename="$(. /etc/os-release && echo "$VERSION_CODENAME")"
  # The repository apt already reads the release's packages from, and the
  # entry (file:line) that configured it, whose Signed-By key is reused.
  fmt='$(REPO_URI) $(SOURCESENTRY)'
  read -r uris origin < <(apt-get indextargets --format "$fmt" \
      'Created-By: Packages' "Codename: $codename" 'Origin: Debian' | head -n1) || true
  if [ -z "${uris:-}" ]; then
    echo "build-libpng-mingw: no Debian $codename repository in the apt configuration" >&2
    exit 1
  fi
  key=""
  file="${origin%:*}"
  case "$file" in
    *.sources) key="$(awk -v want="${origin##*:}" 'BEGIN { RS = ""; FS = "\n" }
                 NR == want { for (i = 1; i <= NF; i++) if ($i ~ /^Signed-By:/) { sub(/^Signed-By:[ \t]*/, "", $i); print $i } }' "$file")" ;;
    *) key="$(sed -n "${origin##*:}p" "$file" | sed -n 's/.*signed-by=\([^] ]*\).*/\1/p')" ;;
  esac
  {
    echo "Types: deb-src"
    echo "URIs: $uris"
    echo "Suites: $codename ${codename}-updates"
    echo "Components: main"
    [ -n "$key" ] && echo "Signed-By: $key"
  } | "${as_root[@]}" tee "$sources_file" >/dev/null
  "${as_root[@]}" apt-get -o DPkg::Lock::Timeout=900 update -q
fi

cd "$work"
if ! ls -d libpng1.6-*/ >/dev/null 2>&1; then
  apt-get source -q --download-only libpng1.6
  dpkg-source -x libpng1.6_*.dsc >/dev/null
fi
src="$(ls -d "$work"/libpng1.6-*/ | head -n1)"

cmake -S "$src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include >/dev/null
cmake --build "$work/build" -j2 >/dev/null
cmake --install "$work/build" >/dev/null
echo "build-libpng-mingw: $(ls "$prefix/lib/libpng16.a")" >&2
