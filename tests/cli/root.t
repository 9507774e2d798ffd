The cases that only root can set up.

  $ [ "$(id -u)" -eq 0 ] || exit 80
  $ . "$TESTDIR/helpers.sh"

A file where a folder of the tree must go, which the user may not delete: the documents below it
are reported, and the other chain is completed.

  $ case_ && mkdir work/AAA && echo "not a folder" >work/AAA/DLC && chmod 1777 work/AAA
  $ prefix=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  $ run
  out: ./AAA/Base/Assets/Text/Translations/Newbuilding2PD_zh_Hans_CN.xml
  err: wondergen-cli: cannot delete ./AAA/DLC: Operation not permitted
  err: wondergen-cli: cannot create folder ./AAA/DLC: File exists
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml: ./AAA/DLC: File exists
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml: ./AAA/DLC: File exists
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml: ./AAA/DLC: File exists
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_Icons.xml: ./AAA/DLC: File exists
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo: ./AAA/DLC: File exists
  [1]
  $ tree | grep -v 'Base/.'
  AAA/Base/
  AAA/DLC 13

The mod's folder Text left as a link to a folder outside, then as a file, in a folder where the
user may add entries but not delete root's (sticky): nothing is written through it, the mod's copy
of the texts is reported, and the other documents are written.

  $ case_ && mkdir -p work/outside work/AAA/DLC/Newbuilding2PD_RIR && echo canary >work/outside/canary.txt
  $ mod=work/AAA/DLC/Newbuilding2PD_RIR && ln -s ../../../outside $mod/Text && as_user
  $ for kind in link file; do chown -h root: $mod $mod/Text && chmod 1777 $mod && run | grep -v 'out: ./AAA/Base'; rm -r $mod/Text; echo text >$mod/Text; done
  out: ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml
  out: ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_Icons.xml
  out: ./AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo
  err: wondergen-cli: cannot delete ./AAA/DLC/Newbuilding2PD_RIR/Text: Operation not permitted
  err: wondergen-cli: cannot create folder ./AAA/DLC/Newbuilding2PD_RIR/Text: is a link, which is never followed
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml: ./AAA/DLC/Newbuilding2PD_RIR/Text: is a link, which is never followed
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml: ./AAA/DLC/Newbuilding2PD_RIR/Text: is a link, which is never followed
  out: ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml
  out: ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_Icons.xml
  out: ./AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo
  err: wondergen-cli: cannot delete ./AAA/DLC/Newbuilding2PD_RIR/Text: Operation not permitted
  err: wondergen-cli: cannot create folder ./AAA/DLC/Newbuilding2PD_RIR/Text: File exists
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml: ./AAA/DLC/Newbuilding2PD_RIR/Text: File exists
  err: wondergen-cli: cannot create ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml: ./AAA/DLC/Newbuilding2PD_RIR/Text: File exists
  $ tree . | grep -v '^./AAA/.'
  ./AAA/
  ./outside/
  ./outside/canary.txt 7

A C library without a converter for code page 936 (its conversion modules hidden in a mount
namespace): each document that needs one is reported, never written without its texts, and as
that is known before anything on disk changes, nothing does; a text argument that needs one is
refused; --prereqs, which cannot convert the names, prints none.

  $ case_ && gconv=$(dirname "$(find /usr/lib* -name GBK.so -path '*gconv*' -print -quit)")
  $ mkdir -p work/AAA/old && prefix=(unshare -m sh -c "mount -t tmpfs none '$gconv' && exec \"\$0\" \"\$@\"")
  $ run --science 25 --title Wonder
  err: wondergen-cli: cannot convert to UTF-8 ./AAA/Base/Assets/Text/Translations/Newbuilding2PD_zh_Hans_CN.xml: Operation not supported
  err: wondergen-cli: cannot convert to UTF-8 ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml: Operation not supported
  err: wondergen-cli: cannot convert to UTF-8 ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml: Operation not supported
  err: wondergen-cli: cannot convert to UTF-8 ./AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo: Operation not supported
  [1]
  $ tree
  AAA/old/
  $ run --title 奇观
  err: wondergen-cli: --title: cannot convert "奇观" to code page 936 (GBK): Operation not supported
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --prereqs
  err: wondergen-cli: cannot convert the names to UTF-8: Operation not supported
  [1]
