wondergen-cli rebuilding AAA: what it writes and reports, and that nothing outside AAA is ever
followed, opened, written or deleted, whatever the old tree holds.

  $ . "$TESTDIR/helpers.sh"

Every golden form, given as its arguments (a picture's path from the golden folder), gives its
golden package byte for byte; an icon's textures and square are the icon test's.

  $ for form in "$golden"/*/args; do form=$(dirname "$form") && case_ && mapfile -t arguments < <(sed "s|^golden/|$golden/|" "$form/args") && to='>/dev/null' run "${arguments[@]}" >/dev/null; diff -r -x Icons work/AAA "$form/AAA" && basename "$form"; done
  author-abc
  empty
  every-field-7
  icon-7
  icon
  markup-and-long-teaser
  odd-values
  rules-civic
  rules-every
  science-25
  window-form-3
  window-form
  wonder-2
  wonder-99

The window's golden form, its icon too, with standard input closed: a document's file may then be
the process's first descriptor. A number taken as less than written is said on standard error.

  $ case_ && mapfile -t arguments < <(sed "s|^golden/|$golden/|" "$golden/window-form/args")
  $ run "${arguments[@]}" <&-
  out: ./AAA/Base/Assets/Text/Translations/Newbuilding2PD_zh_Hans_CN.xml
  out: ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml
  out: ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml
  out: ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml
  out: ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_Icons.xml
  out: ./AAA/DLC/Newbuilding2PD_RIR/Icons/Newbuilding2PD_RIR_Icon_32.dds
  out: ./AAA/DLC/Newbuilding2PD_RIR/Icons/Newbuilding2PD_RIR_Icon_38.dds
  out: ./AAA/DLC/Newbuilding2PD_RIR/Icons/Newbuilding2PD_RIR_Icon_50.dds
  out: ./AAA/DLC/Newbuilding2PD_RIR/Icons/Newbuilding2PD_RIR_Icon_64.dds
  out: ./AAA/DLC/Newbuilding2PD_RIR/Icons/Newbuilding2PD_RIR_Icon_80.dds
  out: ./AAA/DLC/Newbuilding2PD_RIR/Icons/Newbuilding2PD_RIR_Icon_128.dds
  out: ./AAA/DLC/Newbuilding2PD_RIR/Icons/Newbuilding2PD_RIR_Icon_256.dds
  out: ./AAA/DLC/Newbuilding2PD_RIR/Icons/Newbuilding2PD_RIR_Icon.png
  out: ./AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo
  err: wondergen-cli: --palace-slots: "5科技科技" is taken as 5
  $ diff -r -x Icons work/AAA "$golden/window-form/AAA" && echo "AAA is the golden one"
  AAA is the golden one

An old tree with the user's files and links: the links are removed, never followed; so is AAA
itself when it is a link.

  $ case_ && mkdir -p work/outside/sub work/AAA/DLC/mine/deeper && echo "keep me" >work/outside/sub/precious.txt
  $ echo x >work/AAA/notes.txt && chmod 444 work/AAA/notes.txt && echo y >work/AAA/DLC/mine/deeper/old.xml
  $ ln -s ../outside work/AAA/link && ln -s ../../outside/sub/precious.txt work/AAA/DLC/precious-link
  $ to='>/dev/null' run --science 25
  $ diff -r work/AAA "$golden/science-25/AAA" && echo "the package of science 25"
  the package of science 25
  $ rm -rf work/AAA && ln -s outside work/AAA
  $ to='>/dev/null' run
  $ tree . | grep -v '^./AAA/.'
  ./AAA/
  ./outside/
  ./outside/sub/
  ./outside/sub/precious.txt 8

Folders the user may not empty, search or read: each entry that stays is reported, and the tree is
completed around them.

  $ case_ && mkdir -p work/AAA/{locked,dark,closed,open}
  $ for folder in locked dark closed open; do echo $folder >work/AAA/$folder/file.txt; done
  $ as_user && chmod 555 work/AAA/locked && chmod 444 work/AAA/dark && chmod 333 work/AAA/closed
  $ run --science 25
  out: ./AAA/Base/Assets/Text/Translations/Newbuilding2PD_zh_Hans_CN.xml
  out: ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml
  out: ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml
  out: ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml
  out: ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_Icons.xml
  out: ./AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo
  err: wondergen-cli: cannot delete ./AAA/closed: Permission denied
  err: wondergen-cli: cannot delete ./AAA/dark/file.txt: Permission denied
  err: wondergen-cli: cannot delete ./AAA/locked/file.txt: Permission denied
  [1]
  $ chmod 755 work/AAA/dark work/AAA/closed && diff -r work/AAA "$golden/science-25/AAA"
  Only in work/AAA: closed
  Only in work/AAA: dark
  Only in work/AAA: locked
  [1]
  $ cat work/AAA/*/file.txt
  closed
  dark
  locked

Links that stay in folders the user may not empty: a link named like a document, a hard link to a
file outside, a link where a folder of the tree must go. Nothing is written through any of them;
each document whose place is taken is a failure, and so is each one whose folder is not there.

  $ case_ && mkdir -p work/outside/assets/Text/Translations work/AAA/Base work/AAA/DLC/Newbuilding2PD_RIR/Data
  $ echo canary >work/outside/canary.txt && echo hard >work/outside/hard.txt
  $ ln -s ../../../outside/canary.txt work/AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo
  $ ln work/outside/hard.txt work/AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml
  $ ln -s ../../outside/assets work/AAA/Base/Assets
  $ as_user && chmod 555 work/AAA/Base work/AAA/DLC/Newbuilding2PD_RIR work/AAA/DLC/Newbuilding2PD_RIR/Data
  $ run
  err: wondergen-cli: cannot delete ./AAA/Base/Assets: Permission denied
  err: wondergen-cli: cannot delete ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml: Permission denied
  err: wondergen-cli: cannot delete ./AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo: Permission denied
  err: wondergen-cli: cannot create folder ./AAA/Base/Assets: is a link, which is never followed
  err: wondergen-cli: cannot create folder ./AAA/DLC/Newbuilding2PD_RIR/Text: Permission denied
  err: wondergen-cli: cannot create ./AAA/Base/Assets/Text/Translations/Newbuilding2PD_zh_Hans_CN.xml: ./AAA/Base/Assets: is a link, which is never followed
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml: ./AAA/DLC/Newbuilding2PD_RIR/Text: Permission denied
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml: ./AAA/DLC/Newbuilding2PD_RIR/Text: Permission denied
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml: File exists
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_Icons.xml: Permission denied
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo: File exists
  [1]
  $ cat work/outside/canary.txt work/outside/hard.txt && tree outside
  canary
  hard
  outside/assets/
  outside/assets/Text/
  outside/assets/Text/Translations/
  outside/canary.txt 7
  outside/hard.txt 5

A link where AAA's folder DLC must go, in AAA that the user may not empty: nothing is written
below it.

  $ case_ && mkdir -p work/outside/Newbuilding2PD_RIR/Data work/AAA/Base/Assets && ln -s ../outside work/AAA/DLC
  $ as_user && chmod 555 work/AAA
  $ run
  out: ./AAA/Base/Assets/Text/Translations/Newbuilding2PD_zh_Hans_CN.xml
  err: wondergen-cli: cannot delete ./AAA/Base: Permission denied
  err: wondergen-cli: cannot delete ./AAA/DLC: Permission denied
  err: wondergen-cli: cannot create folder ./AAA/DLC: is a link, which is never followed
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml: ./AAA/DLC: is a link, which is never followed
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml: ./AAA/DLC: is a link, which is never followed
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml: ./AAA/DLC: is a link, which is never followed
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_Icons.xml: ./AAA/DLC: is a link, which is never followed
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo: ./AAA/DLC: is a link, which is never followed
  [1]
  $ tree outside
  outside/Newbuilding2PD_RIR/
  outside/Newbuilding2PD_RIR/Data/

A FIFO at a document's path, in a folder the user may not empty: it is never opened, so the run
neither waits on it nor stops before the other documents.

  $ case_ && mkdir -p work/AAA/DLC/Newbuilding2PD_RIR && mkfifo work/AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo
  $ as_user && chmod 555 work/AAA/DLC/Newbuilding2PD_RIR
  $ run
  out: ./AAA/Base/Assets/Text/Translations/Newbuilding2PD_zh_Hans_CN.xml
  err: wondergen-cli: cannot delete ./AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo: Permission denied
  err: wondergen-cli: cannot create folder ./AAA/DLC/Newbuilding2PD_RIR/Data: Permission denied
  err: wondergen-cli: cannot create folder ./AAA/DLC/Newbuilding2PD_RIR/Text: Permission denied
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml: ./AAA/DLC/Newbuilding2PD_RIR/Text: Permission denied
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml: ./AAA/DLC/Newbuilding2PD_RIR/Text: Permission denied
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml: ./AAA/DLC/Newbuilding2PD_RIR/Data: Permission denied
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_Icons.xml: ./AAA/DLC/Newbuilding2PD_RIR/Data: Permission denied
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo: File exists
  [1]

A document larger than the file-size limit: the write fails and is reported, and the run goes on
with the next document.

  $ case_ && prefix=(sh -c 'ulimit -f 2 && exec "$0" "$@"')
  $ run
  out: ./AAA/Base/Assets/Text/Translations/Newbuilding2PD_zh_Hans_CN.xml
  out: ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml
  out: ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_Icons.xml
  err: wondergen-cli: cannot write ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml: File too large
  err: wondergen-cli: cannot write ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml: File too large
  err: wondergen-cli: cannot write ./AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo: File too large
  [1]

A tree of many folders deleted with 16 file descriptors: none is left open.

  $ case_ && mkdir -p work/AAA/many/{1..40}/{a,b}/c
  $ prefix=(sh -c 'ulimit -n 16 && exec "$0" "$@"')
  $ to='>/dev/null' run

An old AAA 3,000 folders deep, a link to a folder outside at its bottom, is deleted whole, as rm -rf
deletes it, with 64 file descriptors and with Linux's usual limit of 1,024; the link is removed,
never followed. As root, the case runs in a file system of its own, which goes with it.

  $ case_ && deep='import os; os.mkdir("AAA"); os.chdir("AAA"); [(os.mkdir("d"), os.chdir("d")) for _ in range(3000)]; os.symlink(os.environ["PWD"] + "/outside", "link")'
  $ for limit in 64 1024; do (cd work && ${root:+unshare -m} sh -c '[ -z "$4" ] || { mount -t tmpfs tmpfs . && cd "$PWD"; } && mkdir outside && echo canary >outside/canary.txt && python3 -c "$0" && ulimit -n "$1" && "$2" >/dev/null && diff -r AAA "$3" && cat outside/canary.txt && rm -r AAA outside' "$deep" $limit "$cli" "$golden/empty/AAA" "$root"); done
  canary
  canary

An output folder the user may enter but not read, so that it cannot be opened: AAA is not made,
each document says why, and the old AAA is left as it is.

  $ case_ && mkdir -p work/dir/AAA/old && as_user && chmod 311 work/dir
  $ run --out dir
  err: wondergen-cli: cannot create folder ./dir/AAA: Permission denied
  err: wondergen-cli: cannot create ./dir/AAA/Base/Assets/Text/Translations/Newbuilding2PD_zh_Hans_CN.xml: ./dir/AAA: Permission denied
  err: wondergen-cli: cannot create ./dir/AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml: ./dir/AAA: Permission denied
  err: wondergen-cli: cannot create ./dir/AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml: ./dir/AAA: Permission denied
  err: wondergen-cli: cannot create ./dir/AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml: ./dir/AAA: Permission denied
  err: wondergen-cli: cannot create ./dir/AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_Icons.xml: ./dir/AAA: Permission denied
  err: wondergen-cli: cannot create ./dir/AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo: ./dir/AAA: Permission denied
  [1]
  $ chmod 755 work/dir && tree dir
  dir/AAA/
  dir/AAA/old/

Nowhere to write: the folder AAA cannot be made, and each document says so.

  $ case_
  $ run --out /proc
  err: wondergen-cli: cannot create folder /proc/AAA: No such file or directory
  err: wondergen-cli: cannot create /proc/AAA/Base/Assets/Text/Translations/Newbuilding2PD_zh_Hans_CN.xml: /proc/AAA: No such file or directory
  err: wondergen-cli: cannot create /proc/AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml: /proc/AAA: No such file or directory
  err: wondergen-cli: cannot create /proc/AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml: /proc/AAA: No such file or directory
  err: wondergen-cli: cannot create /proc/AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml: /proc/AAA: No such file or directory
  err: wondergen-cli: cannot create /proc/AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_Icons.xml: /proc/AAA: No such file or directory
  err: wondergen-cli: cannot create /proc/AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo: /proc/AAA: No such file or directory
  [1]
