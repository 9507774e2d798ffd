#!/usr/bin/env bash
# Opens the two release archives and checks what a player and a command-line user get: the files,
# the program's version resource, manifest, icon and hardening, the DLLs it needs, the guide's
# byte-order mark, and the command line's version, runtime and package.
#
# check-release.sh <dist dir> <version>
# With WONDERGEN_SIGN_CERT naming the certificate it was signed with, the program's signature is
# verified against it.
set -uo pipefail
dist=$(realpath "$1") version=$2
windows=wondergen-$version-windows-x64 linux=wondergen-cli-$version-linux-x64
scratch=$(mktemp -d -t wondergen-release.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
. "$(dirname "$(realpath "$0")")/../check.sh"
check "the zip holds the program and the guide" test "$(unzip -Z1 "$dist/$windows.zip" | sort)" \
  = "$(printf '%s\n' "$windows/wondergen.exe" "$windows/使用说明.txt")"
check "the tarball holds the command line and the README" test \
  "$(tar tzf "$dist/$linux.tar.gz" | sort)" = "$(printf '%s\n' "$linux/README.md" "$linux/wondergen-cli")"
unzip -q "$dist/$windows.zip" -d "$scratch" && tar xzf "$dist/$linux.tar.gz" -C "$scratch"
exe=$scratch/$windows/wondergen.exe cli=$scratch/$linux/wondergen-cli

# The version resource's strings are UTF-16: each value follows its name.
strings=$(wrestool -x --raw -t16 "$exe" | iconv -c -f UTF-16LE -t UTF-8 | tr -s '\0' '\n')
for pair in "FileVersion $version" "ProductVersion $version" "FileDescription 《文明6》奇观模组生成器"; do
  check "the program's $pair" grep -qxF "${pair#* }" <(grep -a -A1 "${pair%% *}\$" <<<"$strings")
done
manifest=$(wrestool -x --raw -t24 "$exe")
for wanted in 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' \
  'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"' '>true/pm</dpiAware>' \
  '>PerMonitorV2</dpiAwareness>'; do
  check "the manifest has $wanted" grep -qF "$wanted" <<<"$manifest"
done
wrestool -x -t14 "$exe" >"$scratch/icon.ico"  # icotool reads a file, not a pipe
check "the program has its icon at 16, 24, 32, 48 and 256 pixels" test "$(icotool -l \
  "$scratch/icon.ico" | sed -n 's/.*--width=\([0-9]*\).*/\1/p' | sort -n | xargs)" = "16 24 32 48 256"
# Hardened as the system's own programs: high-entropy ASLR, a relocatable base, no-execute, and
# marked terminal-server aware.
for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT TERMINAL_SERVICE_AWARE; do
  check "the program is built $flag" grep -qx "\s*$flag" <(x86_64-w64-mingw32-objdump -p "$exe")
done
check "the program has no debug information" test -z "$(x86_64-w64-mingw32-objdump -h "$exe" |
  grep -F .debug_)"
# A clean Windows has these DLLs and no others of the program's (advapi32 seeds the stack
# protector's guard; shell32 and ole32 find the user's Documents folder and free its name; ole32
# and comdlg32 give the open dialog and the Imaging Component).
check "the program needs only Windows' own DLLs" test -z "$(x86_64-w64-mingw32-objdump -p "$exe" |
  sed -n 's/^\s*DLL Name: //p' | grep -viE '^(kernel32|user32|gdi32|comctl32|comdlg32|msvcrt|advapi32|shell32|ole32)\.dll$')"
if [ -n "${WONDERGEN_SIGN_CERT:-}" ]; then
  check "the program is signed with the certificate given" \
    osslsigncode verify -CAfile "$WONDERGEN_SIGN_CERT" -in "$exe"
fi
check "the guide starts with a byte-order mark" test \
  "$(head -c3 "$scratch/$windows/使用说明.txt" | od -An -tx1)" = " ef bb bf"
check "the command line says its version" test "$("$cli" --version)" = "wondergen-cli $version"
check "the command line carries its C++ runtime" test -z "$(ldd "$cli" | grep -E 'libstdc|libgcc')"
check "the command line writes the package of the empty form" eval '"$cli" --out "$scratch" >/dev/null &&
  diff -r "$scratch/AAA" "$(dirname "$(realpath "$0")")/../golden/empty/AAA"'
exit $status
