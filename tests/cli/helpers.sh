# Sourced by the command line's transcripts (*.t, run by cram): a scratch folder that another user
# may enter, and the words the transcripts use.
#   case_         starts a case in a fresh, empty folder "work"
#   as_user       hands work to nobody and makes the later runs as nobody when the tests run as
#                 root, as permissions do not hold for root
#   run ARGS...   runs wondergen-cli in work, then prints its standard output ("out: ") and error
#                 ("err: ") with work's path as ".", and returns its exit status; to='>REDIRECTION'
#                 sends its standard output elsewhere
#   tree [DIR]    lists what is under work/DIR (AAA by default), with each file's size
#   $check_icons MOD PICTURE   checks the icon that the mod folder MOD has from PICTURE
cli=$WONDERGEN_CLI golden=$WONDERGEN_GOLDEN database=$WONDERGEN_DATABASE check_icons=$WONDERGEN_ICONS
# Beside cram's own temporary folder, in the TMPDIR the tests were given: only cram's user may
# enter cram's folder.
scratch=$(mktemp -d "$(dirname "$CRAMTMP")/wondergen-cli-test.XXXXXX")
chmod 755 "$scratch"
cd "$scratch" || exit 1
trap 'cd / && chmod -R u+rwx "$scratch" && rm -rf "$scratch"' EXIT
root=$([ "$(id -u)" -eq 0 ] && echo yes)

case_() {
  [ -d work ] && chmod -R u+rwx work
  rm -rf work out err && mkdir work
  prefix=()
}
as_user() {
  [ -n "$root" ] || return 0
  chown -R nobody:nogroup work
  prefix=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
}
run() {
  rm -f out err
  # Standard error through a pipe, out of reach of a file-size limit that the prefix sets.
  (cd work && eval 'timeout 60 "${prefix[@]}" "$cli" "$@"' "${to:->../out}" 2> >(exec cat >../err)
    status=$? && wait $! && exit $status)
  local status=$?
  # A folder's entries are deleted in the order the file system lists them: those lines sorted.
  [ -f out ] && sed "s|$scratch/work|.|g; s/^/out: /" out
  sed "s|$scratch/work|.|g" err | awk '/cannot delete/ { print | "sort"; next }
    { close("sort"); print }' | sed 's/^/err: /'
  return $status
}
tree() {
  (cd work && find "${1:-AAA}" -mindepth 1 \( -type d -printf '%p/\n' \) \
    -o \( -type l -printf '%p -> %l\n' \) -o \( -type p -printf '%p fifo\n' \) \
    -o -printf '%p %s\n' | sort)
}
