# Sourced by run.sh and test.sh: makes sure the Debian packages the project needs are there.
# As root it installs what is missing with apt-get; otherwise it names the missing packages.

# Build tools and libraries.
CHARVANE_BUILD_PACKAGES=(
    g++ cmake ninja-build pkg-config gettext
    libgtest-dev libgmock-dev libbenchmark-dev libexpat1-dev
    libsdl2-dev libx11-dev libxext-dev libfreetype-dev libfontconfig-dev libjpeg62-turbo-dev zlib1g-dev libpng-dev
    fonts-liberation fonts-dejavu-core
)
# What the window needs at run time besides the build: xdg-open for the web-page button.
CHARVANE_RUN_PACKAGES=(
    xdg-utils
)
# What the tests need besides the build: a virtual display to drive the real window,
# picture tools to make test pictures, the fuzzers' compiler, the desktop validators and
# dpkg-shlibdeps for the Debian package.
CHARVANE_TEST_PACKAGES=(
    xvfb xauth xdotool x11-utils imagemagick openbox clang libclang-rt-14-dev desktop-file-utils
    man-db appstream dpkg-dev
)

charvane_missing_packages() {
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            printf '%s\n' "$pkg"
        fi
    done
}

charvane_ensure_packages() {
    local missing
    mapfile -t missing < <(charvane_missing_packages "$@")
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null; then
        echo "Installing: ${missing[*]}"
        if [ ! -f /tmp/.charvane-apt-updated ]; then
            apt-get update -qq && touch /tmp/.charvane-apt-updated
        fi
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" \
            >/tmp/charvane-apt.log 2>&1 || { cat /tmp/charvane-apt.log; return 1; }
    else
        echo "Missing Debian packages: ${missing[*]}"
        echo "Install them with: sudo apt-get install ${missing[*]}"
        return 1
    fi
}
