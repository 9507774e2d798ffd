#!/usr/bin/env bash
# Runs the window test under Wine in a virtual X display, once under a Chinese locale (ANSI code
# page 936) and once under an English one (1252), each in a throw-away Wine prefix. Each run's
# transcript must be the expected one, and the package the window wrote, after the first press and
# around a file held open, the golden one.
#
# run-window-tests.sh <windows build dir> <expected transcript> <golden package> <output dir>
set -uo pipefail
windows_build=$(realpath "$1") expected=$(realpath "$2") golden=$(realpath "$3")
output=$(realpath -m "$4")
driver="$windows_build/tests/windows/wondergen-window-test.exe"
wine=/usr/lib/wine/wine64 wineserver=/usr/lib/wine/wineserver

mkdir -p "$output"
scratch=$(mktemp -d /tmp/wondergen-window-test.XXXXXX)
xvfb_pid=""
cleanup() {
  for prefix in "$scratch"/prefix-*; do
    [ -d "$prefix" ] && WINEPREFIX="$prefix" "$wineserver" -k 2>/dev/null
  done
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

# A display of our own; Xvfb writes the number it took.
exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$scratch/display")" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
windows_path() { echo "Z:${1//\//\\}"; }

status=0
check() {  # check <what> <command>...: runs the command quietly, says whether it passed
  if "${@:2}" >"$scratch/check" 2>&1; then echo "ok    $1"; else
    echo "FAIL  $1"; cat "$scratch/check"; status=1
  fi
}
for run in zh_CN:zh_CN.GBK:936 en_US:en_US.UTF-8:1252; do
  IFS=: read -r name locale code_page <<<"$run"
  work="$scratch/$name"
  mkdir -p "$work"
  export WINEPREFIX="$scratch/prefix-$name"
  echo "== The window under LC_ALL=$locale (code page $code_page)"
  LC_ALL=$locale "$wine" wineboot -i >/dev/null 2>&1
  LC_ALL=$locale "$wineserver" -w
  # A persistent server started first, so that no service keeps the driver's output open.
  LC_ALL=$locale "$wineserver" -p
  LC_ALL=$locale "$wine" "$driver" "$(windows_path "$windows_build/ui/wondergen.exe")" \
    "$(windows_path "$work")" "$(windows_path "$output/transcript-$name.txt")" \
    "$(windows_path "$work/form.ppm")" "$code_page" >"$output/wine-$name.log" 2>&1
  "$wineserver" -k 2>/dev/null
  pnmtopng "$work/form.ppm" >"$output/form-$name.png" 2>/dev/null
  check "the window did what the transcript says" diff -u "$expected" "$output/transcript-$name.txt"
  check "the first press wrote the golden package" diff -r "$golden" "$work/first-press"
  # The program's folder is named in the locale's own encoding.
  check "the last press completed it around the held file" diff -r -x held.txt "$golden" "$work"/*/AAA
done
echo "Screenshots: $output/form-zh_CN.png $output/form-en_US.png"
exit $status
