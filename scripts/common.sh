# Shared set-up of scripts/run and scripts/test: installs what is missing
# from Debian's packages, then configures and builds in build/ (or, with
# the sanitizers, in build-sanitize/). Quiet when everything is already in
# place.

YARNWISE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
YARNWISE_BUILD="$YARNWISE_ROOT/build"
YARNWISE_SANITIZE_OPTIONS=()

# Build tools, Qt 6 (with the TIFF picture writer) and the fonts that make rendering the same everywhere.
YARNWISE_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
    qt6-image-formats-plugins
    fonts-liberation2 fonts-dejavu-core
)

yarnwise_install_missing() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# yarnwise_build [extra cmake options...]
yarnwise_build() {
    yarnwise_install_missing "${YARNWISE_PACKAGES[@]}"
    cmake -S "$YARNWISE_ROOT" -B "$YARNWISE_BUILD" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$YARNWISE_BUILD" -- --quiet -j "$(nproc)"
}

# Builds in build-sanitize/ with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer from now on, and makes any report they give
# fail the program that gave it. Only leaks inside system libraries are
# suppressed (tests/sanitizers/lsan.supp).
yarnwise_use_sanitizers() {
    YARNWISE_BUILD="$YARNWISE_ROOT/build-sanitize"
    YARNWISE_SANITIZE_OPTIONS=(-DYARNWISE_SANITIZE=ON -DCMAKE_CXX_COMPILER=g++)
    export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:check_initialization_order=1
    export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
    export LSAN_OPTIONS="suppressions=$YARNWISE_ROOT/tests/sanitizers/lsan.supp:print_suppressions=0"
}
