# Shared by scripts/run and scripts/test: packages, configure and build.
# Sourced, not run.

HX9_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

HX9_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libegl-dev
  libgtest-dev libgmock-dev
  xvfb xauth xdotool imagemagick x11-utils bsdutils
  fonts-liberation
  desktop-file-utils appstream groff-base
)

# Installs whatever of HX9_PACKAGES is missing; quick when all are there.
hx9_install_packages() {
  local missing=()
  local p
  for p in "${HX9_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# hx9_build DIR BUILD_TYPE [cmake options...]: configures once, then builds.
hx9_build() {
  local dir="$1" type="$2"
  shift 2
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$HX9_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@"
  fi
  cmake --build "$dir" -j "$(nproc)"
}
