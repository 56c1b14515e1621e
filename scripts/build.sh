#!/usr/bin/env bash
# Installs the Debian packages Skyvane needs (only those missing), then configures and builds
# in build/. Run by ./run and ./test, which say what else they want:
#   SKYVANE_EXTRA_PACKAGES     further required packages (the tests' locales)
#   SKYVANE_OPTIONAL_PACKAGES  packages some tests use; installed in a step of their own, and
#                              what cannot be installed is reported, not fatal (the tests that
#                              need it say they were skipped)
#   SKYVANE_CMAKE_ARGS         options for the configure step (-DBUILD_TESTING=ON)
#   SKYVANE_TARGETS            the targets to build (default: all)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
updated=0

# Prints the packages of the list that are not installed.
missing_of() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done
}
update_once() {
    [ "$updated" -eq 1 ] && return 0
    $sudo apt-get update -qq && updated=1
}
install() {
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@"
}

# Real package names only: a virtual one (libqt6svg6-dev) never shows as installed, so every
# run would go back to apt-get.
# qt6-image-formats-plugins: the TIFF and WebP readers, for maps in those kinds.
required=(cmake g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
          libjpeg62-turbo-dev libgtest-dev qt6-svg-dev qt6-image-formats-plugins
          ${SKYVANE_EXTRA_PACKAGES:-})
mapfile -t missing < <(missing_of "${required[@]}")
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    update_once
    install "${missing[@]}"
fi

# One at a time, so that one package the mirror lacks does not keep the others out.
read -r -a optional <<<"${SKYVANE_OPTIONAL_PACKAGES:-}"
mapfile -t missing < <(missing_of "${optional[@]}")
for p in "${missing[@]}"; do
    echo "Installing (optional): $p"
    if ! { update_once && install "$p"; }; then
        echo "Could not install the optional package $p; the tests that need it will be skipped." >&2
    fi
done

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
build="$top/build"
read -r -a cmake_args <<<"${SKYVANE_CMAKE_ARGS:-}"
if [ ! -f "$build/CMakeCache.txt" ] || [ ${#cmake_args[@]} -gt 0 ]; then
    cmake -S "$top" -B "$build" "${launcher[@]}" "${cmake_args[@]}" >/dev/null
fi
targets=()
for t in ${SKYVANE_TARGETS:-}; do
    targets+=(--target "$t")
done
# Progress lines are dropped; warnings and errors are shown, and a failed build fails here.
status=0
cmake --build "$build" -j"$(nproc)" "${targets[@]}" >"$build/build.log" 2>&1 || status=$?
grep -v -E '^\[ *[0-9]+%\]|^Automatic (MOC|UIC)|^(make|gmake)\[[0-9]+\]: (Entering|Leaving)' \
    "$build/build.log" || true
if [ "$status" -ne 0 ]; then
    echo "Build failed (exit $status); full log: $build/build.log" >&2
    exit "$status"
fi
