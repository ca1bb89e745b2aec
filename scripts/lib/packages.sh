# Installs the Debian packages the build, the tests and the demo need, when missing:
# as root with apt-get, as a normal user through sudo; without either it stops at once
# and prints the line to run. Sourced by scripts/test, scripts/demo and bench/run.

KORVANE_PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-qpa-plugins libqt6sql6-mysql libqt6sql6-sqlite fonts-dejavu-core
  qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
  libdvbv5-dev libudev-dev dvb-tools zlib1g-dev
  mariadb-server mariadb-client
  xvfb xauth xdotool x11-utils desktop-file-utils
  jq
)

korvane_missing_packages() {
  local missing=() p
  for p in "${KORVANE_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  echo "${missing[@]:-}"
}

korvane_ensure_packages() {
  local missing sudo=()
  missing=$(korvane_missing_packages "$@")
  [ -z "$missing" ] && return 0
  echo "These Debian packages are missing: $missing"
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
      echo "Install them as root, then run this again:" >&2
      echo "  apt-get install -y --no-install-recommends $missing" >&2
      exit 1
    fi
    sudo=(sudo)
  fi
  echo "Installing them${sudo:+ with sudo}..."
  # shellcheck disable=SC2086
  if ! "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq ||
    ! "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
      apt-get install -y -qq --no-install-recommends $missing >/dev/null; then
    echo "Installing failed. Install them as root, then run this again:" >&2
    echo "  apt-get install -y --no-install-recommends $missing" >&2
    exit 1
  fi
}
