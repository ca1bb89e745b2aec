# Installs the Debian packages the build, the tests and the demo need, when missing.
# Sourced by scripts/test and scripts/demo.

KORVANE_PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-qpa-plugins libqt6sql6-mysql fonts-dejavu-core
  mariadb-server mariadb-client
  xvfb xauth xdotool x11-utils desktop-file-utils
)

korvane_missing_packages() {
  local missing=() p
  for p in "${KORVANE_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  echo "${missing[@]:-}"
}

korvane_ensure_packages() {
  local missing
  missing=$(korvane_missing_packages "$@")
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "These Debian packages are missing: $missing" >&2
    echo "Install them as root (apt-get install $missing) and run this again." >&2
    exit 1
  fi
  echo "Installing: $missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing >/dev/null
}
