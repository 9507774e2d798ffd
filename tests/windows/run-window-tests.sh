#!/usr/bin/env bash
# Runs the window test under Wine, in the runs of runs.txt: a Chinese locale (ANSI code page 936)
# and an English one (1252), each on three screens, 1280x1024 at 96 DPI, where the driver takes
# the steps of steps.txt, and 1920x1080 at 144 DPI and 1366x768 at 96 DPI, where it takes those of
# screen-steps.txt; and the Chinese one on a screen that holds the table's window exactly. All run
# at once, each in a virtual X display of its own and a throw-away copy of one Wine prefix made
# for the test and kept for the next. What the window showed must be the expected transcript of the screen
# (transcript.txt, transcript-<screen>.txt), and its screenshot the golden image of the run
# (form-<run>.png), pixel for pixel. The driver stops at the first line that differs;
# WINDOW_TEST_ALL=1 has it write the whole transcript whatever happens.
#
# run-window-tests.sh <windows build dir> <golden package> <output dir> <wondergen-cli>
set -uo pipefail
# As root, in a mount namespace of its own, where a step may make a folder read-only for good.
if [ "$(id -u)" -eq 0 ] && [ -z "${WONDERGEN_NAMESPACE:-}" ]; then
  exec env WONDERGEN_NAMESPACE=1 unshare -m --propagation private "$0" "$@"
fi
windows_build=$(realpath "$1") golden=$(realpath "$2") output=$(realpath -m "$3") cli=$(realpath "$4")
tests=$(dirname "$(realpath "$0")")
wine=/usr/lib/wine/wine64 wineserver=/usr/lib/wine/wineserver
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
scratch=$(mktemp -d -t wondergen-window-test.XXXXXX)
trap 'for p in "$scratch"/*-prefix; do WINEPREFIX=$p "$wineserver" -k; done
      pkill -P $$ 2>/dev/null; awk -v s="$scratch" "index(\$2, s) == 1 { print \$2 }" /proc/self/mounts |
      sort -r | xargs -r umount; chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT
mkdir -p "$output"
windows_path() { echo "Z:${1//\//\\}"; }

# An X server for what runs next, which picks a free display; its process in $xvfb.
start_display() {  # NAME SCREEN
  Xvfb -displayfd 3 -screen 0 "$2x24" -nolisten tcp 3>"$scratch/$1-display" >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$scratch/$1-display" ] && break || sleep 0.1; done
  export DISPLAY=:$(cat "$scratch/$1-display")
}

# The prefix each run starts from a copy of, made once: making one (wineboot) took most of the
# test's time when each run made its own, and two made at once on a new machine once left one
# without its DLLs. The faces the program asks for (and those Wine puts for its system font in a
# Chinese locale) are taken from the installed WenQuanYi Micro Hei, whatever else the machine has:
# Droid Sans Fallback, which ImageMagick brings along, has no Latin letters. Registry values go
# into the registry's files once its server has saved them and gone, as the server reads them
# when it starts: each "wine reg" started the prefix's services anew, for seconds each.
make_template() (
  export WINEPREFIX=$scratch/template-prefix HOME=$scratch/template-home
  mkdir -p "$HOME"
  start_display template 640x480
  "$wine" wineboot -i >/dev/null 2>&1
  "$wineserver" -w
  kill "$xvfb"
  printf '\n[Software\\\\Wine\\\\Fonts\\\\Replacements]\n' >>"$WINEPREFIX/user.reg"
  for face in "Microsoft YaHei" SimSun NSimSun; do
    printf '"%s"="WenQuanYi Micro Hei"\n' "$face" >>"$WINEPREFIX/user.reg"
  done
  # No window manager runs on the test's X servers: Wine, which waits for one to take each of its
  # windows away, waited 2 s for every message box that closed. Its windows are left unmanaged.
  printf '\n[Software\\\\Wine\\\\X11 Driver]\n"Managed"="N"\n' >>"$WINEPREFIX/user.reg"
)

# One run, from its own X server to the driver's end.
run() {
  local name=$1 locale=$2 code_page=$3 charset=$4 screen=$5 dpi=$6 steps=$tests/$7
  local expected=$tests/$8 work="$scratch/$1" link target
  # The runs of steps.txt set the test's time: on a busy machine the short ones yield to them.
  [ "$7" = steps.txt ] || renice -n 10 -p "$BASHPID" >/dev/null
  # Wine links the prefix's Documents (and Desktop) to $HOME: a scratch one, never the tester's;
  # the copy's links to the template's are made links to the run's.
  export WINEPREFIX="$scratch/$name-prefix" LC_ALL=$locale HOME="$scratch/$name-home"
  export WINDOW_TEST_DOCUMENTS=$HOME WINDOW_TEST_PREFIX=$WINEPREFIX
  mkdir -p "$HOME"
  # The copy shares the template's programs and libraries, which Wine only maps (690 MB, whose
  # copying at once took most of the time after the template), and has its own of the rest, the
  # registry and the .ini files, which Wine rewrites in place.
  local binaries=(-iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' -o -iname '*.sys' -o -iname '*.ocx'
    -o -iname '*.cpl' -o -iname '*.acm' -o -iname '*.tlb' -o -iname '*.msstyles')
  cp -al "$template" "$WINEPREFIX"
  find "$WINEPREFIX" -type f ! \( "${binaries[@]}" \) -delete
  (cd "$template" && find . -type f ! \( "${binaries[@]}" \) -print0 |
    tar --null -T - -cf -) | tar -xpf - -C "$WINEPREFIX"
  for link in "$WINEPREFIX"/drive_c/users/*/*; do
    target=$(readlink "$link") || continue
    case $target in */template-home*) ln -sfn "$HOME${target#*/template-home}" "$link" ;; esac
  done
  # What the steps' shell commands need: the program's folder is named in the locale's encoding.
  export WINDOW_TEST_EXPECTED=$(windows_path "$expected") WINDOW_TEST_WORK=$work \
    WINDOW_TEST_GOLDEN=$golden WINDOW_TEST_OUTPUT=$output/$name \
    WINDOW_TEST_EXE=$windows_build/ui/wondergen.exe WINDOW_TEST_CLI=$cli \
    WINDOW_TEST_PROGRAM=$work/$(printf '程序 文件夹' | iconv -f UTF-8 -t "$charset")
  mkdir -p "$work" "$output/$name"
  # The DPI, in the copy's registry before its server reads it.
  awk -v dpi="$(printf '"LogPixels"=dword:%08x' "$dpi")" '
    /^\[/ { if (desktop) print dpi; desktop = index($0, "[Control Panel\\\\Desktop]") == 1 }
    desktop && /^"LogPixels"=/ { next }
    { print } END { if (desktop) print dpi }' "$WINEPREFIX/user.reg" >"$scratch/$name.reg" &&
    mv "$scratch/$name.reg" "$WINEPREFIX/user.reg"
  start_display "$name" "$screen"
  "$wineserver" -p  # a persistent server first, so that no service keeps the driver's output open
  "$wine" "$windows_build/tests/windows/wondergen-window-test.exe" "$(windows_path "$work")" \
    "$(windows_path "$steps")" "$(windows_path "$output/transcript-$name.txt")" "$code_page" \
    >"$output/wine-$name.log" 2>&1
  "$wineserver" -k
  kill "$xvfb"
}

mapfile -t runs < <(grep -v '^#' "$tests/runs.txt")
# The template is kept in the output folder for the next test, by Wine's version and the way it is
# made: a fresh build makes it once. One made by another test at the same time is taken as it is.
template=$output/wine-template-$({ "$wine" --version; declare -f make_template; } | md5sum | cut -c1-12)
if [ ! -d "$template" ]; then
  rm -rf "$output"/wine-template-*
  make_template
  mv -T "$scratch/template-prefix" "$template" 2>/dev/null || [ -d "$template" ] ||
    template=$scratch/template-prefix
fi
for entry in "${runs[@]}"; do
  run $entry &
done
wait

. "$(dirname "$(realpath "$0")")/../check.sh"
for entry in "${runs[@]}"; do
  read -r name locale code_page _ screen dpi _ expected <<<"$entry"
  echo "== The window under LC_ALL=$locale (code page $code_page), $screen at $dpi DPI"
  check "the window did what $expected says" diff -u "$tests/$expected" "$output/transcript-$name.txt"
  pnmtopng "$output/$name/form.ppm" >"$output/form-$name.png" 2>/dev/null
  # On a difference, the pixels that differ are dark in form-<locale>-difference.png.
  if ! check "the form is painted as form-$name.png shows" cmp -s \
    <(pngtopnm "$tests/form-$name.png") "$output/$name/form.ppm"; then
    pamarith -difference <(pngtopnm "$tests/form-$name.png") "$output/$name/form.ppm" |
      pnminvert | pnmtopng >"$output/form-$name-difference.png"
    echo "      screenshot $output/form-$name.png, difference $output/form-$name-difference.png"
  fi
done
exit $status
