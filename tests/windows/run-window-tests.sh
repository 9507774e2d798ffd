#!/usr/bin/env bash
# Runs the window test under Wine in a virtual X display, once under a Chinese locale (ANSI code
# page 936) and once under an English one (1252), each in a throw-away Wine prefix, and checks
# that both runs wrote the same files.
#
# run-window-tests.sh <windows build dir> <output dir for logs and screenshots>
set -euo pipefail
windows_build=$(realpath "$1")
output=$(realpath -m "$2")
program="$windows_build/ui/wondergen.exe"
driver="$windows_build/tests/windows/wondergen-window-test.exe"
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

mkdir -p "$output"
scratch=$(mktemp -d /tmp/wondergen-window-test.XXXXXX)
xvfb_pid=""
cleanup() {
  for prefix in "$scratch"/prefix-*; do
    [ -d "$prefix" ] && WINEPREFIX="$prefix" "$wineserver" -k 2>/dev/null || true
  done
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

# A display of our own; Xvfb writes the number it took.
exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$scratch/display")"

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
to_windows() { local path=$1; echo "Z:${path//\//\\}"; }

status=0
run_locale() {
  local name=$1 locale=$2 code_page=$3
  local prefix="$scratch/prefix-$name" work="$scratch/$name"
  mkdir -p "$work/program-cwd"
  echo "== Window test under LC_ALL=$locale (code page $code_page)"
  export WINEPREFIX="$prefix"
  LC_ALL=$locale "$wine" wineboot -i >/dev/null 2>&1
  LC_ALL=$locale "$wineserver" -w
  # A persistent server started first, so that no service keeps our output open.
  LC_ALL=$locale "$wineserver" -p
  local result=0
  LC_ALL=$locale "$wine" "$driver" "$(to_windows "$program")" "$(to_windows "$work/program-cwd")" \
    "$(to_windows "$work/reference")" "$(to_windows "$output/form-$name.png")" "$code_page" \
    >"$output/window-test-$name.log" 2>&1 || result=$?
  cat "$output/window-test-$name.log"
  "$wineserver" -k 2>/dev/null || true
  if [ "$result" -ne 0 ]; then
    echo "window test under $locale failed ($result)"
    status=1
  fi
}

run_locale zh_CN zh_CN.GBK 936
run_locale en_US en_US.UTF-8 1252

echo "== The same files under both locales"
# The program folder's name is stored in each locale's own encoding, hence the globs.
if diff -r "$scratch"/zh_CN/program-cwd/*/AAA "$scratch"/en_US/program-cwd/*/AAA; then
  echo "ok    identical packages"
else
  echo "FAIL  the packages differ"
  status=1
fi
echo "Screenshots: $output/form-zh_CN.png $output/form-en_US.png"
exit $status
