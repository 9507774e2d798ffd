#!/usr/bin/env bash
# Runs wondergen-cli as a user would, case by case, and compares what it printed, its exit status
# and what it left on disk with the expected transcript; the package of every golden form must be
# the golden one, byte for byte.
#
# run-cli-tests.sh <wondergen-cli> <golden dir> <expected transcript> <version>
set -uo pipefail
cli=$(realpath "$1") golden=$(realpath "$2") expected=$(realpath "$3") version=$4
scratch=$(mktemp -d -t wondergen-cli-test.XXXXXX)
trap 'chmod -R u+rwx "$scratch"; rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
cd "$scratch"
root=$([ "$(id -u)" -eq 0 ] && echo yes)
prefix=()

# Starts a case in a fresh, empty folder "work".
case_() {
  [ -d work ] && chmod -R u+rwx work
  rm -rf work
  mkdir work
  prefix=()
  echo "== $1"
}
# The runs that rely on permissions are made as nobody when the tests run as root, as permissions
# do not hold for root; the folder is handed over to nobody first.
as_user() {
  [ -n "$root" ] || return 0
  chown -R nobody:nogroup work
  prefix=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
}
# Runs the command line in "work" with the given arguments and prints what it did.
run() {
  echo "\$ wondergen-cli$([ $# -eq 0 ] || printf ' [%s]' "$@")"
  (cd work && "${prefix[@]}" "$cli" "$@" >../out 2>../err)
  echo "exit $?"
  sed "s/^/out: /; s/$version/<version>/" out
  # A folder's entries are deleted in the order the file system lists them: those failures sorted.
  awk '/cannot delete/ { print | "sort"; next } { close("sort"); print }' err | sed 's/^/err: /'
}
# Lists what is under work (AAA by default), with the size of each file.
tree() {
  (cd work && find "${1:-AAA}" -mindepth 1 \( -type d -printf 'tree: %p/\n' \) \
    -o \( -type l -printf 'tree: %p -> %l\n' \) -o -printf 'tree: %p %s\n' | sort)
}

{
  case_ "help and version"
  run --help
  run --version

  # Standard input closed: a document's file may then be the process's first descriptor.
  case_ "the golden window form"
  mapfile -t arguments <"$golden/window-form/args"
  run "${arguments[@]}" <&-
  diff -r work/AAA "$golden/window-form/AAA" && echo "AAA is the golden one"

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

  case_ "an old tree with the user's files and links"
  mkdir -p work/outside/sub work/AAA/DLC/mine/deeper
  echo "keep me" >work/outside/sub/precious.txt
  echo x >work/AAA/notes.txt
  chmod 444 work/AAA/notes.txt
  echo y >work/AAA/DLC/mine/deeper/old.xml
  ln -s ../outside work/AAA/link
  run --science 25 | grep -v '^out: '
  tree
  tree outside
  rm -rf work/AAA && ln -s outside work/AAA
  run | grep -v '^out: '
  tree .

  case_ "folders the user cannot empty, search or read"
  mkdir -p work/AAA/{locked,dark,closed,open}
  for folder in locked dark closed open; do echo "$folder" >work/AAA/$folder/file.txt; done
  as_user
  chmod 555 work/AAA/locked
  chmod 444 work/AAA/dark
  chmod 333 work/AAA/closed
  run --science 25
  chmod 755 work/AAA/dark work/AAA/closed
  tree

  case_ "a document that cannot be written"
  mkdir -p work/AAA/DLC/Newbuilding2PD_RIR/Data
  ln -s /dev/full work/AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo
  as_user
  chmod 777 work/AAA/DLC/Newbuilding2PD_RIR/Data
  chmod 555 work/AAA/DLC/Newbuilding2PD_RIR
  run
  tree

  case_ "a file where a folder must go, which the user cannot delete"
  if [ -n "$root" ]; then
    mkdir work/AAA
    echo "not a folder" >work/AAA/DLC
    chmod 1777 work/AAA
    prefix=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    run
    tree
  else
    echo "skipped: needs root"
  fi

  case_ "a tree of many folders deleted with few descriptors"
  mkdir -p work/AAA/many/{1..40}
  prefix=(sh -c 'ulimit -n 16 && exec "$0" "$@"')
  run | grep -v '^out: '

  case_ "nowhere to write"
  run --out /proc

  # Where the C library has no converter for code page 936, no document may lose its texts.
  case_ "no converter for code page 936"
  gconv=$(dirname "$(find /usr/lib* -name GBK.so -path '*gconv*' -print -quit)")
  if [ -n "$root" ] && unshare -m true 2>/dev/null; then
    prefix=(unshare -m sh -c "mount -t tmpfs none '$gconv' && exec \"\$0\" \"\$@\"")
    run --science 25 --title Wonder
    tree
    run --title 奇观
  else
    echo "skipped: needs root"
  fi
} >transcript 2>&1

# A case that needs root is left out of the comparison where the tests do not run as root.
awk 'NR == FNR { if (/^== /) name = $0; else if (/^skipped:/) skipped[name] = $0; next }
     /^== / { name = $0; print; if (name in skipped) print skipped[name]; next }
     !(name in skipped)' transcript "$expected" >expected
if diff -u expected transcript; then
  echo "the command line did what the transcript says"
else
  echo "FAIL: the command line's transcript differs (above: - expected, + actual)"
  exit 1
fi
