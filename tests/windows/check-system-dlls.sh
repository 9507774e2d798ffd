#!/usr/bin/env bash
# The Windows program must run on a clean Windows: it may import only DLLs that Windows itself has.
set -euo pipefail
allowed="^(KERNEL32|USER32|GDI32|SHELL32|ADVAPI32|msvcrt)\.dll$"
imports=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p')
echo "$1 imports: $(echo $imports)"
status=0
for dll in $imports; do
  if ! [[ $dll =~ $allowed ]]; then
    echo "FAIL  $dll is not part of Windows"
    status=1
  fi
done
exit $status
