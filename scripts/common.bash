# SPDX-FileCopyrightText: 2026 The Stallark developers
# SPDX-License-Identifier: MIT
# Sourced by every script for what they share: the repository's root, the values that
# CMakeLists.txt sets (the version, the previous releases), the number of parallel jobs, sudo
# where the script does not run as root, and the commit's time for everything built.

# The repository's root: this file lies in its scripts/ folder.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# A value as CMakeLists.txt sets it, its words one a line: `stallark_setting NAME` reads
# set(NAME ...), `stallark_setting VERSION` the project's version and `stallark_setting option`
# the names of the project's options. The one place that reads CMakeLists.txt.
stallark_setting() {
    awk -v name="$1" '
        name == "VERSION" && /^project\(Stallark VERSION / { print $3 }
        name == "option" && /^option\(STALLARK_[A-Z_]+ / { sub(/^option\(/, "", $1); print $1 }
        $1 == "set(" name {
            sub(/^set\([A-Z_]+ */, ""); sub(/\)$/, "")
            for (i = 1; i <= NF; i++) print $i
        }' "$root/CMakeLists.txt"
}
# The version being built, and the releases before it that the packages' tests upgrade.
stallark_version() { stallark_setting VERSION; }
stallark_previous_releases() { stallark_setting STALLARK_PREVIOUS_RELEASES; }

# Builds run one job per core of the machine.
jobs=$(nproc)

# Prefixes the commands that need root.
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# Every time in what is built comes from the commit (the programs' headers, Qt's resources, the
# packages' entries), so that any clone of it gives the same bytes; a time exported by the
# caller stays.
use_commit_time() {
    SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}
    export SOURCE_DATE_EPOCH
}
