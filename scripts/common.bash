# SPDX-FileCopyrightText: 2026 The Stallark developers
# SPDX-License-Identifier: MIT
# Sourced by the scripts for what several of them need: the version and the previous release
# as CMakeLists.txt names them, sudo where the script does not run as root, and the commit's
# time for everything built.
stallark_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The version being built, and the release before it, which the packages' tests upgrade.
stallark_version() {
    sed -n 's/^project(Stallark VERSION \([0-9.]*\).*/\1/p' "$stallark_root/CMakeLists.txt"
}
stallark_previous_release() {
    sed -n 's/^set(STALLARK_PREVIOUS_RELEASE \([0-9.]*\))$/\1/p' "$stallark_root/CMakeLists.txt"
}

# Prefixes the commands that need root.
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# Every time in what is built comes from the commit (the programs' headers, Qt's resources, the
# packages' entries), so that any clone of it gives the same bytes; a time exported by the
# caller stays.
use_commit_time() {
    SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$stallark_root" log -1 --format=%ct)}
    export SOURCE_DATE_EPOCH
}
