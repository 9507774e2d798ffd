# Sourced by the test scripts, once they have their $scratch folder:
#   check <what> <command>...   runs the command quietly and says whether it passed; on a failure
#                               it shows what the command printed and sets status to 1
status=0
check() {
  if "${@:2}" >"$scratch/check" 2>&1; then echo "ok    $1"; else
    echo "FAIL  $1" && cat "$scratch/check" && status=1
  fi
}
