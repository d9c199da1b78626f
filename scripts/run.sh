#!/usr/bin/env bash
# Installs what is missing, builds the release programs (the window and the
# headless trainer), installs both for this user under ~/.local (programs in
# ~/.local/bin, desktop entry, icons, man pages) and starts the window in the
# directory run.sh was called from, where Laden and Speichern find zarnik.dat.
# PREFIX=DIR installs under DIR instead.
set -euo pipefail
start_dir=$PWD
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target zarnik zarnik-train zarnik_man_pages
prefix=${PREFIX:-$HOME/.local}
cmake --install build/release --prefix "$prefix" >/dev/null
# The desktop menu's entry starts the program by its full path: a fresh
# ~/.local/bin reaches the desktop session's PATH only at the next login.
desktop=$prefix/share/applications/io.github.zarnik32.Zarnik32.desktop
sed -i "s|^Exec=zarnik\$|Exec=$prefix/bin/zarnik|" "$desktop"
echo "Installed for you: $prefix/bin/zarnik and $prefix/bin/zarnik-train (man zarnik, man zarnik-train)."
case ":$PATH:" in
  *":$prefix/bin:"*) ;;
  *)
    # Debian's ~/.profile puts ~/.local/bin on the PATH at the next login once it exists.
    echo "Not on your PATH yet; until your next login, run:"
    echo "    export PATH=\"$prefix/bin:\$PATH\""
    ;;
esac
cd "$start_dir"
exec "$prefix/bin/zarnik" "$@"
