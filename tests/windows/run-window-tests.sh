#!/usr/bin/env bash
# Runs the window test under Wine in a virtual X display, once under a Chinese locale (ANSI code
# page 936) and once under an English one (1252), each in a throw-away Wine prefix. Each run's
# transcript must be the expected one, and the package the window wrote, after the first press and
# around a file held open, the golden one.
#
# run-window-tests.sh <windows build dir> <expected transcript> <golden package> <output dir>
set -uo pipefail
[ -n "${WONDERGEN_DISPLAY:-}" ] ||
  exec env WONDERGEN_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
windows_build=$(realpath "$1") expected=$(realpath "$2") golden=$(realpath "$3")
output=$(realpath -m "$4")
wine=/usr/lib/wine/wine64 wineserver=/usr/lib/wine/wineserver
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
scratch=$(mktemp -d -t wondergen-window-test.XXXXXX)
trap 'for p in "$scratch"/*/prefix; do WINEPREFIX=$p "$wineserver" -k; done; rm -rf "$scratch"' EXIT
mkdir -p "$output"
windows_path() { echo "Z:${1//\//\\}"; }

status=0
check() {  # check <what> <command>...: runs the command quietly, says whether it passed
  if "${@:2}" >"$scratch/check" 2>&1; then echo "ok    $1"; else
    echo "FAIL  $1" && cat "$scratch/check" && status=1
  fi
}
for run in zh_CN:zh_CN.GBK:936 en_US:en_US.UTF-8:1252; do
  IFS=: read -r name locale code_page <<<"$run"
  work="$scratch/$name"
  export WINEPREFIX="$work/prefix" LC_ALL=$locale
  mkdir -p "$work"
  echo "== The window under LC_ALL=$locale (code page $code_page)"
  "$wine" wineboot -i >/dev/null 2>&1
  "$wineserver" -w
  "$wineserver" -p  # a persistent server first, so that no service keeps the driver's output open
  "$wine" "$windows_build/tests/windows/wondergen-window-test.exe" \
    "$(windows_path "$windows_build/ui/wondergen.exe")" "$(windows_path "$work")" \
    "$(windows_path "$output/transcript-$name.txt")" "$(windows_path "$work/form.ppm")" \
    "$code_page" >"$output/wine-$name.log" 2>&1
  "$wineserver" -k
  pnmtopng "$work/form.ppm" >"$output/form-$name.png" 2>/dev/null
  check "the window did what the transcript says" diff -u "$expected" "$output/transcript-$name.txt"
  check "the first press wrote the golden package" diff -r "$golden" "$work/first-press"
  # The program's folder is named in the locale's own encoding, hence the glob.
  check "the last press completed it around the held file" diff -r -x held.txt "$golden" "$work"/*/AAA
done
echo "Screenshots: $output/form-zh_CN.png $output/form-en_US.png"
exit $status
