#!/usr/bin/env bash
# Records what tervix-cli produces for a fixed set of commands against tervix-sim: every
# file written, stdout, stderr and the exit status of each command. Two runs of different
# builds are compared with `diff -r`.
#   tests/compare/cli-outputs.sh BUILD_DIR OUT_DIR
# The data files carry the PC's date; run both sides on the same day. PDFs are recorded
# as their text (pdftotext) since their bytes carry a creation time.
set -uo pipefail
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
cli="$build/src/tervix-cli"
sim="$build/src/tervix-sim"
address=A1B2C3D4E5F6
work=$(mktemp -d)
trap 'rm -rf "$work"; [ -n "${simpid:-}" ] && kill "$simpid" 2>/dev/null' EXIT
cd "$work"

# run NAME ARGS...: one command, its streams and status kept under NAME. The scratch folder
# differs between runs; messages that name it show WORK instead.
run() {
  local name=$1
  shift
  "$cli" "$@" >"$out/$name.stdout" 2>"$out/$name.stderr"
  echo $? >"$out/$name.status"
  sed -i "s|$work|WORK|g" "$out/$name.stdout" "$out/$name.stderr"
}

# start_sim OPTIONS...: a fresh simulator; its terminal path in $port.
start_sim() {
  [ -n "${simpid:-}" ] && kill "$simpid" 2>/dev/null && wait "$simpid" 2>/dev/null
  coproc SIM { exec "$sim" "$@"; }
  simpid=$SIM_PID
  read -r port <&"${SIM[0]}"
}

common() { echo --port "$port" --address "$address" --lang "$1"; }

start_sim --linked "$address" --type 4 --records 25 --stored 3
run info-e $(common e) info

for lang in p e i; do
  start_sim --linked "$address" --unit 3 --records 4 --stored 2 --negative
  run download-$lang $(common $lang) download -o "$work/d-$lang.dat" --title "Ensaio $lang" \
    --objective "Pressão, línea 2" --responsible "Ana" --record off
  cp "$work/d-$lang.dat" "$out/d-$lang.dat" 2>/dev/null
  run show-$lang --lang $lang show "$work/d-$lang.dat"
  run export-$lang --lang $lang export "$work/d-$lang.dat" -o "$work/e-$lang.csv"
  cp "$work/e-$lang.csv" "$out/e-$lang.csv" 2>/dev/null
  run chart-$lang --lang $lang chart "$work/d-$lang.dat" -m 2 --all -o "$work/c-$lang.bmp"
  cp "$work/c-$lang.bmp" "$out/c-$lang.bmp" 2>/dev/null
  run chart-start-$lang --lang $lang chart "$work/d-$lang.dat" -m 1 --start 1 -o "$work/s-$lang.bmp"
  cp "$work/s-$lang.bmp" "$out/s-$lang.bmp" 2>/dev/null
  run report-$lang --lang $lang report "$work/d-$lang.dat" -o "$work/r-$lang.pdf"
  [ -f "$work/r-$lang.pdf" ] && pdftotext -layout "$work/r-$lang.pdf" "$out/r-$lang.txt"
done

start_sim --linked "$address" --records 25 --stored 3
run configure-i $(common i) configure --interval 00:00:10 --records 30 --measurements 2
run clear-i $(common i) clear --yes
run info-after-i $(common i) info

# Failures: usage, interface, logger silent, files.
run fail-nocommand --simulate
run fail-unknown --simulate fly
run fail-badlang --lang x info
run fail-noport --port /dev/tervix-none --address "$address" --lang i info
run fail-openfail --simulate --sim-options --open-fail --address "$address" --lang p info
run fail-longaddress --simulate --address A1B2C3D4E5F6AB --lang i info
run fail-configure --port /dev/tervix-none --address "$address" --lang i configure \
  --interval 00:00:10 --records 3601 --measurements 51
start_sim --linked "$address" --drop 7
run fail-silent $(common e) --timeout 5 info
run fail-show-missing --lang e show "$work/none.dat"
printf 'not a data file\r\n' >"$work/bad.dat"
run fail-show-bad --lang p show "$work/bad.dat"
run fail-export-dir --lang i export "$work/d-i.dat" -o "$work/nodir/x.csv"
run fail-chart-m --lang e chart "$work/d-e.dat" -m 9 --all -o "$work/x.bmp"
run help --help
exit 0
