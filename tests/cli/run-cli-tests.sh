#!/usr/bin/env bash
# Runs wondergen-cli as a user would, case by case, and compares what it printed, its exit status
# and the tree it left with the expected transcript; the package of every golden form must be the
# golden one, byte for byte.
#
# run-cli-tests.sh <wondergen-cli> <golden dir> <expected transcript> <version>
set -uo pipefail
cli=$(realpath "$1") golden=$(realpath "$2") expected=$(realpath "$3") version=$4
scratch=$(mktemp -d /tmp/wondergen-cli-test.XXXXXX)
trap 'chmod -R u+rwx "$scratch"; rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
cd "$scratch"
# As root, the runs that rely on permissions are made as nobody, for whom they hold.
user=()
[ "$(id -u)" -eq 0 ] && user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)

# Starts a case in a fresh, empty folder "work".
case_() {
  [ -d work ] && chmod -R u+rwx work
  rm -rf work
  mkdir work
  echo "== $1"
}
# Runs the command line in "work" with the given arguments and prints what it did.
run() {
  local shown=() argument
  for argument in "$@"; do
    [[ -z $argument || $argument == *[\ \"\<\>\&]* ]] && argument="'$argument'"
    shown+=("$argument")
  done
  echo "\$ wondergen-cli ${shown[*]}"
  (cd work && "${prefix[@]}" "$cli" "$@" >../out 2>../err)
  local status=$?
  sed "s/^/out: /; s/$version/<version>/" out
  sed 's/^/err: /' err
  echo "exit $status"
}
# Lists what is left under work/AAA, and the size of each file.
tree() {
  (cd work && find AAA -mindepth 1 \( -type d -printf 'tree: %p/\n' \) -o -printf 'tree: %p %s\n' |
    sort)
}
# Compares work/AAA with a golden form's package.
same_as() {
  diff -r work/AAA "$golden/$1/AAA" >/dev/null && echo "AAA is the golden $1" ||
    diff -r work/AAA "$golden/$1/AAA" | head -20
}
prefix=()
as_user() {
  [ ${#user[@]} -gt 0 ] && chown -R nobody:nogroup work
  prefix=("${user[@]}")
}

{
  case_ "help and version"
  run --help
  run --version

  for form in "$golden"/*/args; do
    name=$(basename "$(dirname "$form")")
    case_ "golden form $name"
    mapfile -t arguments <"$form"
    run "${arguments[@]}" >/dev/null
    cat err
    same_as "$name"
  done

  while IFS='|' read -r -a arguments; do
    case_ "bad usage: ${arguments[*]}"
    mkdir -p work/AAA/old
    run "${arguments[@]}"
    tree
  done <<'CASES'
--science|abc
--gold|2000
--faith|-3
--food=
--housing|1234567890
--amenity|1科技科技科
--culture|😀
--title|😀
--colour|red
--science
stray
--out|missing
--science|5|--relic-slots|x
CASES

  case_ "a folder the user cannot delete"
  mkdir -p work/AAA/locked work/AAA/open
  echo held >work/AAA/locked/held.txt
  echo free >work/AAA/open/free.txt
  as_user
  chmod 555 work/AAA/locked
  run --science 25
  tree

  case_ "a folder that can be read but not searched"
  mkdir -p work/AAA/dark
  echo x >work/AAA/dark/x.txt
  as_user
  chmod 444 work/AAA/dark
  run
  chmod 755 work/AAA/dark
  tree

  case_ "one document that cannot be written"
  mkdir -p work/AAA/Base/Assets/Text/Translations
  as_user
  chmod 555 work/AAA/Base/Assets/Text/Translations work/AAA/Base/Assets/Text
  run --gold 10
  tree
  prefix=()

  case_ "nowhere to write"
  run --out /proc

  # Where the C library has no converter for code page 936, no document may lose its texts.
  gconv=$(dirname "$(find /usr/lib* -name GBK.so -path '*gconv*' -print -quit)")
  case_ "no converter for code page 936"
  if unshare -m true 2>/dev/null; then
    prefix=(unshare -m sh -c "mount -t tmpfs none '$gconv' && exec \"\$0\" \"\$@\"")
    run --science 25 --title Wonder
    tree
    run --title 奇观
    prefix=()
  else
    echo "skipped: needs a mount namespace"
  fi
} >transcript 2>&1

# Without a mount namespace (not root) the case without a converter is left out of the comparison.
awk -v skipped="$(grep -c '^skipped:' transcript)" '
  /^== / { skip = skipped && /^== no converter/; if (skip) print $0 "\nskipped: needs a mount namespace" }
  !skip' "$expected" >expected
if diff -u expected transcript; then
  echo "the command line did what the transcript says"
else
  echo "FAIL: the command line's transcript differs (above: - expected, + actual)"
  exit 1
fi
