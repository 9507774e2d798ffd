#!/usr/bin/env bash
# Runs the window test under Wine, under a Chinese locale (ANSI code page 936) and an English one
# (1252) at once, each in a virtual X display and a throw-away Wine prefix of its own: the driver
# takes the steps of steps.txt, and what the window showed must be the expected transcript, and
# its screenshot the golden image of the locale, pixel for pixel. The driver stops at the first
# line that differs; WINDOW_TEST_ALL=1 has it write the whole transcript whatever happens.
#
# run-window-tests.sh <windows build dir> <steps> <expected transcript> <golden package> <output dir>
set -uo pipefail
# As root, in a mount namespace of its own, where a step may make a folder read-only for good.
if [ "$(id -u)" -eq 0 ] && [ -z "${WONDERGEN_NAMESPACE:-}" ]; then
  exec env WONDERGEN_NAMESPACE=1 unshare -m --propagation private "$0" "$@"
fi
windows_build=$(realpath "$1") steps=$(realpath "$2") expected=$(realpath "$3")
golden=$(realpath "$4") output=$(realpath -m "$5") images=$(dirname "$(realpath "$3")")
wine=/usr/lib/wine/wine64 wineserver=/usr/lib/wine/wineserver
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
scratch=$(mktemp -d -t wondergen-window-test.XXXXXX)
trap 'for p in "$scratch"/*-prefix; do WINEPREFIX=$p "$wineserver" -k; done
      pkill -P $$ 2>/dev/null; umount "$scratch"/*/ro 2>/dev/null; rm -rf "$scratch"' EXIT
mkdir -p "$output"
windows_path() { echo "Z:${1//\//\\}"; }

# One locale's run, from its own X server (which picks a free display) to the driver's end.
run_locale() {
  local name=$1 locale=$2 code_page=$3 charset=$4 work="$scratch/$1"
  export WINEPREFIX="$scratch/$name-prefix" LC_ALL=$locale
  # What the steps' shell commands need: the program's folder is named in the locale's encoding.
  export WINDOW_TEST_EXPECTED=$(windows_path "$expected") WINDOW_TEST_WORK=$work \
    WINDOW_TEST_GOLDEN=$golden WINDOW_TEST_OUTPUT=$output/$name \
    WINDOW_TEST_EXE=$windows_build/ui/wondergen.exe \
    WINDOW_TEST_PROGRAM=$work/$(printf '程序 文件夹' | iconv -f UTF-8 -t "$charset")
  mkdir -p "$work" "$output/$name"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/$name-display" >/dev/null 2>&1 &
  local xvfb=$!
  for _ in $(seq 100); do [ -s "$scratch/$name-display" ] && break || sleep 0.1; done
  export DISPLAY=:$(cat "$scratch/$name-display")
  "$wine" wineboot -i >/dev/null 2>&1
  "$wineserver" -w
  "$wineserver" -p  # a persistent server first, so that no service keeps the driver's output open
  "$wine" "$windows_build/tests/windows/wondergen-window-test.exe" \
    "$(windows_path "$windows_build/ui/wondergen.exe")" "$(windows_path "$work")" \
    "$(windows_path "$steps")" "$(windows_path "$output/transcript-$name.txt")" "$code_page" \
    >"$output/wine-$name.log" 2>&1
  "$wineserver" -k
  kill "$xvfb"
}

locales=(zh_CN:zh_CN.GBK:936:GBK en_US:en_US.UTF-8:1252:UTF-8)
for run in "${locales[@]}"; do
  IFS=: read -r name locale code_page charset <<<"$run"
  run_locale "$name" "$locale" "$code_page" "$charset" &
done
wait

. "$(dirname "$(realpath "$0")")/../check.sh"
for run in "${locales[@]}"; do
  name=${run%%:*}
  echo "== The window under LC_ALL=$(cut -d: -f2 <<<"$run") (code page $(cut -d: -f3 <<<"$run"))"
  check "the window did what the transcript says" diff -u "$expected" "$output/transcript-$name.txt"
  pnmtopng "$output/$name/form.ppm" >"$output/form-$name.png" 2>/dev/null
  # On a difference, the pixels that differ are dark in form-<locale>-difference.png.
  if ! check "the form is painted as form-$name.png shows" cmp -s \
    <(pngtopnm "$images/form-$name.png") "$output/$name/form.ppm"; then
    pamarith -difference <(pngtopnm "$images/form-$name.png") "$output/$name/form.ppm" |
      pnminvert | pnmtopng >"$output/form-$name-difference.png"
    echo "      screenshot $output/form-$name.png, difference $output/form-$name-difference.png"
  fi
done
exit $status
