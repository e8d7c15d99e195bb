#!/usr/bin/env bash
# The menu launcher, with a stand-in monitor beside it that reports where and
# how it was started: the data folder it runs in, and the library search path.
#   LauncherTest.sh PATH_TO_tqxfft-launch
set -euo pipefail
launcher=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

mkdir -p "$scratch/prefix/bin" "$scratch/prefix/lib/tqxfft/sim" "$scratch/home"
cp "$launcher" "$scratch/prefix/bin/tqxfft-launch"
cat >"$scratch/prefix/bin/tqxfft" <<'STANDIN'
#!/bin/sh
echo "cwd=$(pwd)"
echo "path=${LD_LIBRARY_PATH:-}"
echo "args=$*"
STANDIN
chmod +x "$scratch/prefix/bin/tqxfft"
failures=0

# expect NAME ACTUAL EXPECTED
expect() {
  if [[ $2 != "$3" ]]; then
    echo "FAIL $1: got '$2', expected '$3'" >&2
    failures=$((failures + 1))
  fi
}

launch() {
  env -u LD_LIBRARY_PATH -u XDG_DATA_HOME HOME="$scratch/home" "$@"
}

# Started through a link, as a package manager's alternatives would.
ln -s "$scratch/prefix/bin/tqxfft-launch" "$scratch/link-to-launcher"

out=$(launch "$scratch/link-to-launcher")
expect "no XDG_DATA_HOME: the default data folder" "$(sed -n 1p <<<"$out")" "cwd=$scratch/home/.local/share/tqxfft"
expect "plain entry leaves the search path alone" "$(sed -n 2p <<<"$out")" "path="

out=$(launch XDG_DATA_HOME="$scratch/data" "$scratch/prefix/bin/tqxfft-launch" --simulated -style fusion)
expect "XDG_DATA_HOME is used and created" "$(sed -n 1p <<<"$out")" "cwd=$scratch/data/tqxfft"
expect "simulated entry puts the module first" "$(sed -n 2p <<<"$out")" "path=$scratch/prefix/bin/../lib/tqxfft/sim"
expect "the rest of the command line reaches the monitor" "$(sed -n 3p <<<"$out")" "args=-style fusion"

out=$(launch XDG_DATA_HOME="relative/data" LD_LIBRARY_PATH=/opt/driver "$scratch/prefix/bin/tqxfft-launch" --simulated)
expect "a relative XDG_DATA_HOME is ignored" "$(sed -n 1p <<<"$out")" "cwd=$scratch/home/.local/share/tqxfft"
expect "an existing search path stays behind the module" "$(sed -n 2p <<<"$out")" \
  "path=$scratch/prefix/bin/../lib/tqxfft/sim:/opt/driver"

touch "$scratch/blocked"
if launch XDG_DATA_HOME="$scratch/blocked" "$scratch/prefix/bin/tqxfft-launch" 2>"$scratch/err"; then
  expect "an unusable data folder stops the launch" "started" "refused"
fi
expect "an unusable data folder is named" "$(tail -n 1 "$scratch/err")" \
  "tqxfft-launch: cannot use $scratch/blocked/tqxfft as the data folder"

exit $((failures > 0))
