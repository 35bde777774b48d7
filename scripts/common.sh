# Shared by scripts/run and scripts/test: the one list of Debian packages the project needs,
# and the build steps. Source it; do not run it.

ORVANE_PACKAGES=(
    cmake g++ make pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev
    libyaml-dev liblz4-dev libvorbis-dev libpng-dev
    fonts-dejavu-core
)
# Fuzz targets are built with clang's libFuzzer, only when CI asks for them.
ORVANE_FUZZ_PACKAGES=(clang libclang-rt-dev)

ORVANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ORVANE_JOBS="${ORVANE_JOBS:-$(nproc)}"

# Installs whatever is missing from the given package list (needs root, as on CI).
orvane_install() {
    local missing=()
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# orvane_configure <build dir> [cmake options...]: configures with warnings as errors.
orvane_configure() {
    local dir="$1"
    shift
    cmake -S "$ORVANE_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_WERROR=ON "$@"
}

# orvane_build <build dir> [cmake options...]: configures and builds everything.
orvane_build() {
    orvane_configure "$@"
    cmake --build "$1" -j "$ORVANE_JOBS"
}
