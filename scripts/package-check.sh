#!/usr/bin/env bash
# Builds the Debian package from the package preset (the programs and their
# data, no tests or benchmarks) and checks it: control fields, the exact file
# list, the copyright file, the desktop entry, the AppStream metainfo, the
# icons and the man pages. Then installs into a temporary prefix and starts the
# programs from there, in an empty working directory.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build=build/package
[ -f "$build/CMakeCache.txt" ] || cmake --preset package
cmake --build --preset package -j "$(nproc)"

id=io.github.zarnik32.Zarnik32
version=$(sed -n 's/^project(Zarnik32 VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "package-check: $*" >&2; failures=$((failures + 1)); }

# Both programs belong in the package, and nothing else is built.
for target in annga_tests train_tests zarnik_window_test arm_bench; do
  [ -z "$(find "$build" -path "$build/_CPack_Packages" -prune -o -type f -name "$target" -print -quit)" ] ||
    fail "the package build made $target"
done
train=$(find "$build" -path "$build/_CPack_Packages" -prune -o -type f -name zarnik-train -perm -u+x -print -quit)
[ -n "$train" ] || fail "zarnik-train was not built"

# --- the package ------------------------------------------------------------
rm -f "$build"/zarnik32_*.deb
if ! (cd "$build" && cpack -G DEB) >"$tmp/cpack.log" 2>&1; then
  cat "$tmp/cpack.log" >&2
  echo "package-check: cpack failed" >&2
  exit 1
fi
debs=("$build"/zarnik32_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "package-check: expected one zarnik32_*.deb, found: ${debs[*]}" >&2
  exit 1
fi
deb=${debs[0]}
echo "Package: $deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zarnik32 ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', the project's is $version"
[ "$(field Section)" = science ] || fail "Section is '$(field Section)'"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer '$(field Maintainer)' is not 'Name <address>'"
[ "$(field Description | wc -l)" -ge 3 ] || fail "Description has no long text"
depends=$(field Depends)
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
  [[ ", $depends," == *", $lib "* || ", $depends," == *", $lib,"* ]] || fail "Depends lacks $lib: $depends"
done
[[ ", $(field Recommends)," == *", qt6-translations-l10n,"* ]] || fail "Recommends lacks qt6-translations-l10n: $(field Recommends)"

# Exactly these files, nothing left over from the build (libraries, tests, headers).
{
  echo "./usr/bin/zarnik"
  echo "./usr/share/applications/$id.desktop"
  echo "./usr/share/metainfo/$id.metainfo.xml"
  for size in 16 32 48 64 128 256; do echo "./usr/share/icons/hicolor/${size}x${size}/apps/$id.png"; done
  echo "./usr/share/man/man1/zarnik.1.gz"
  echo "./usr/share/doc/zarnik32/copyright"
  if [ -n "$train" ]; then
    echo "./usr/bin/zarnik-train"
    echo "./usr/share/man/man1/zarnik-train.1.gz"
  fi
} | sort >"$tmp/expected"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort >"$tmp/listed"
diff -u "$tmp/expected" "$tmp/listed" >&2 || fail "the package does not hold exactly the expected files"

root=$tmp/root
dpkg-deb -x "$deb" "$root"
share=$root/usr/share

# --- desktop entry and metainfo ---------------------------------------------
desktop=$share/applications/$id.desktop
metainfo=$share/metainfo/$id.metainfo.xml
if [ -f "$desktop" ]; then
  # Hints (the entry names two main categories on purpose) are fine, warnings are not.
  if ! desktop-file-validate "$desktop" >"$tmp/desktop.log" 2>&1 || grep -Eq ': (error|warning):' "$tmp/desktop.log"; then
    cat "$tmp/desktop.log" >&2
    fail "desktop-file-validate"
  fi
  key() { sed -n "s/^$1=//p" "$desktop"; }
  [ "$(key Icon)" = "$id" ] || fail "desktop entry Icon is '$(key Icon)', not $id"
  exec_program=$(key Exec | cut -d' ' -f1)
  [ -x "$root/usr/bin/$exec_program" ] || fail "desktop entry Exec '$exec_program' is not a packaged program"
  [ "$(key Categories)" = "Education;Science;ArtificialIntelligence;" ] || fail "Categories are '$(key Categories)'"
fi
if [ -f "$metainfo" ]; then
  appstreamcli validate --no-net "$metainfo" >"$tmp/appstream.log" 2>&1 || { cat "$tmp/appstream.log" >&2; fail "appstreamcli validate"; }
  grep -q "<id>$id</id>" "$metainfo" || fail "metainfo id is not $id"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "metainfo launchable is not $id.desktop"
  grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo has no release $version"
  grep -q "<project_license>MIT</project_license>" "$metainfo" || fail "metainfo does not name the MIT licence"
  for binary in $(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo"); do
    [ -x "$root/usr/bin/$binary" ] || fail "metainfo provides '$binary', which is not packaged"
  done
fi

# --- licence ----------------------------------------------------------------
copyright=$share/doc/zarnik32/copyright
if [ -f "$copyright" ]; then
  # Debian's machine-readable format: its Format line, and every Files paragraph's licence given in full.
  head -n1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "copyright does not start with the format line"
  grep -q '^License: Expat$' "$copyright" || fail "copyright does not name the Expat (MIT) licence"
  grep -q '^ Permission is hereby granted, free of charge' "$copyright" || fail "copyright lacks the licence text"
  diff <(sed -n '5,$p' LICENSE | sed 's/^$/./; s/^/ /') <(sed -n '/^License: Expat$/,$p' "$copyright" | tail -n +2 | grep '^ ') >&2 ||
    fail "copyright's licence text differs from LICENSE"
fi

# --- icons and man pages ----------------------------------------------------
for size in 16 32 48 64 128 256; do
  icon=$share/icons/hicolor/${size}x${size}/apps/$id.png
  [ -f "$icon" ] || continue
  file -b "$icon" | grep -q "^PNG image data, $size x $size," || fail "$icon is not a $size x $size PNG: $(file -b "$icon")"
done
for page in "$share"/man/man1/*.1.gz; do
  [ -f "$page" ] || continue
  name=$(basename "$page" .1.gz)
  # The checks Debian's lintian makes: groff warnings and a NAME line whatis can read.
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$name.1: $warnings"
  lexgrog "$page" 2>/dev/null | grep -q "^[^:]*: \"$name - " || fail "$name.1 has no NAME line for whatis"
done

# --- installed into a prefix, started from there ----------------------------
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || { cat "$tmp/install.log" >&2; fail "cmake --install"; }
mkdir "$tmp/run"
for program in "$prefix"/bin/*; do
  # The installed program must not look into the build tree for its libraries.
  if readelf -d "$program" | grep -E 'R(UN)?PATH' | grep -q "$PWD"; then fail "$program keeps a path into the build tree"; fi
done
if [ -x "$prefix/bin/zarnik-train" ]; then
  (cd "$tmp/run" && "$prefix/bin/zarnik-train" --help) >"$tmp/help.log" 2>&1 || { cat "$tmp/help.log" >&2; fail "zarnik-train --help"; }
  [ -s "$tmp/help.log" ] || fail "zarnik-train --help prints nothing"
  (cd "$tmp/run" && "$prefix/bin/zarnik-train" --version) 2>&1 | grep -qF "$version" || fail "zarnik-train --version does not print $version"
else
  fail "zarnik-train is not installed"
fi
if [ -x "$prefix/bin/zarnik" ]; then
  # Still running after 3 s (timeout's 124) passes; ending early or crashing fails.
  status=0
  (cd "$tmp/run" && QT_QPA_PLATFORM=offscreen timeout 3 "$prefix/bin/zarnik") >"$tmp/zarnik.log" 2>&1 || status=$?
  [ "$status" -eq 124 ] || { cat "$tmp/zarnik.log" >&2; fail "zarnik from the prefix ended with status $status within 3 s"; }
else
  fail "zarnik is not installed"
fi

if [ "$failures" -ne 0 ]; then
  echo "package-check: $failures check(s) failed" >&2
  exit 1
fi
dpkg-deb -f "$deb" Depends
echo "Package checks passed."
