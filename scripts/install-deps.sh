#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running, testing and packaging
# Zarnik32 need (dpkg-dev gives cpack the shared-library dependencies).
# Only what is missing is installed; the package lists are refreshed once, and only then.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  # Qt6Gui's CMake package looks for xkbcommon on every find_package and,
  # without it, prints "Could NOT find XKB" (harmless, but it reads as an error).
  libxkbcommon-dev
  # Qt Linguist's lupdate and lrelease and their CMake functions, for the English texts.
  qt6-l10n-tools qt6-tools-dev
  # Qt Charts for the fitness chart; its CMake package needs Qt6OpenGL's,
  # which bookworm's qt6-charts-dev does not pull in.
  qt6-charts-dev libqt6opengl6-dev
  # FFmpeg's libraries for filming the scene (H.264 and VP9 encoders come with libavcodec).
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  fonts-dejavu-core
  xvfb xauth
  # Keys as X11 delivers them: a window manager, xdotool and xprop for the Xvfb tests.
  openbox xdotool x11-utils
  # Qt's own texts in German (standard buttons, file dialogs).
  qt6-translations-l10n
  dpkg-dev file desktop-file-utils appstream man-db
  # A German locale with its decimal comma, for the tests of the machine-readable lines.
  locales
  # NumPy's 80-bit longdouble for tools/zarnik_network.py, the reader of exported networks, and its test.
  python3-numpy
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

# The German locale the tests switch to (Debian's locales package generates none by itself).
make_locale() {
  if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "de_DE.UTF-8 not made: its tests are skipped"
  fi
}

if [ ${#missing[@]} -eq 0 ]; then
  echo "All build packages are present."
  make_locale
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
make_locale
