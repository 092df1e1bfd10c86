#!/bin/bash
# The first start builds only the client; the tests build everything.  Each
# script runs in a copy of the scripts folder whose build step only records
# the targets it was asked for and stops the script there.
set -euo pipefail
source_dir=$1
fail() { echo "checkscripts: $*" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

asked_targets() {
    local script=$1
    rm -rf "$work/tree"
    mkdir -p "$work/tree/scripts"
    cp "$source_dir/scripts/$script" "$work/tree/scripts/"
    printf '#!/bin/bash\nexit 0\n' >"$work/tree/scripts/install-deps"
    printf '#!/bin/bash\necho "targets:$*" >"%s/asked"\nexit 3\n' "$work" >"$work/tree/scripts/build"
    rm -f "$work/asked"
    if (cd "$work" && bash tree/scripts/"$script" </dev/null >/dev/null 2>&1); then
        fail "$script went on after its build step failed"
    fi
    [ -f "$work/asked" ] || fail "$script never called scripts/build"
    cat "$work/asked"
}

[ "$(asked_targets run)" = "targets:tabel" ] || fail "scripts/run builds more than the client: $(asked_targets run)"
[ "$(asked_targets test)" = "targets:" ] || fail "scripts/test does not build everything: $(asked_targets test)"

# scripts/build hands its targets to the build step: a stand-in cmake records
# how it is called.
mkdir -p "$work/bin" "$work/tree2/scripts"
cp "$source_dir/scripts/build" "$work/tree2/scripts/"
printf '#!/bin/bash\necho "$*" >>"%s/cmake-calls"\n' "$work" >"$work/bin/cmake"
chmod +x "$work/bin/cmake"
built() {
    rm -f "$work/cmake-calls"
    PATH="$work/bin:$PATH" bash "$work/tree2/scripts/build" "$@" >/dev/null
    grep -- '--build' "$work/cmake-calls"
}
grep -qE -- '--build build -j[0-9]+ --target tabel$' <<<"$(built tabel)" \
    || fail "scripts/build tabel builds: $(built tabel)"
grep -qE -- '--build build -j[0-9]+$' <<<"$(built)" || fail "scripts/build builds: $(built)"
echo "checkscripts: run builds the client only, test builds everything"
