#!/usr/bin/env bash
# Installs the Debian packages Skyvane needs (only those missing), then configures and builds
# in build/. Sourced by ./run and ./test; $1 lists extra packages.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Real package names only: a virtual one (libqt6svg6-dev) never shows as installed, so every
# run would go back to apt-get.
packages=(cmake g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
          libjpeg62-turbo-dev libgtest-dev qt6-svg-dev ${SKYVANE_EXTRA_PACKAGES:-})
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
build="$top/build"
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$build" "${launcher[@]}" ${SKYVANE_CMAKE_ARGS:-} >/dev/null
fi
# Progress lines are dropped; warnings and errors are shown, and a failed build fails here.
status=0
cmake --build "$build" -j"$(nproc)" >"$build/build.log" 2>&1 || status=$?
grep -v -E '^\[ *[0-9]+%\]|^Automatic (MOC|UIC)|^(make|gmake)\[[0-9]+\]: (Entering|Leaving)' \
    "$build/build.log" || true
if [ "$status" -ne 0 ]; then
    echo "Build failed (exit $status); full log: $build/build.log" >&2
    exit "$status"
fi
