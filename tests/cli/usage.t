wondergen-cli's options, messages and output, as a user meets them.

  $ . "$TESTDIR/helpers.sh"

The help, every field and text with the window's label beside it, within 80 columns, and the
version; both are recognised wherever they stand, and options may be shortened.

  $ case_
  $ run --help
  out: Usage: wondergen-cli [OPTION]...
  out: Rebuilds the folder AAA in DIR and writes into it the Civilization VI mod
  out: package of one wonder, as the window does when its button is pressed.
  out: An option may be shortened to a beginning no other option shares (--sci for
  out: --science); its value, never empty, follows as the next argument or after "=".
  out: An option given again replaces the value it was given before.
  out: 
  out:   --out DIR                 where AAA is rebuilt (default: the current folder)
  out:   --number N                the wonder's number, 1 to 99 (default 1)
  out:   --icon FILE               its icon: a PNG, JPEG, BMP or GIF picture
  out:   --install                 also install the mod into the game's Mods folder
  out:   --mods-dir DIR            install it into DIR, a Mods folder, instead
  out: 
  out: The wonders made before, in the game's Mods folders (or in DIR with --mods-dir);
  out: each of these stands alone, once, without the options of a form:
  out:   --list                    list the wonders installed: number, name, folder
  out:   --show N                  print the options that make wonder N again, read
  out:                             from its Mods folder, or else from AAA in --out
  out:   --remove N                remove wonder N from the Mods folders
  out:   --where                   name each game folder found and its Mods folder:
  out:                             GAME<TAB>MODS, a line each (not with --mods-dir)
  out: 
  out: Numbers, screened as the window screens what is typed into a field: a text of at
  out: most 9 bytes whose leading number is 1 to 1999 gives that number (007 gives 7,
  out: 12abc gives 12); 0 leaves the field unset, as does leaving the option out:
  out:   --science N               科技
  out:   --production N            生产
  out:   --faith N                 信仰
  out:   --culture N               文化
  out:   --food N                  食物
  out:   --gold N                  金币
  out:   --great-musician N        大音乐家点
  out:   --great-artist N          大艺术家点
  out:   --great-scientist N       大科学家点
  out:   --great-engineer N        大工程师点
  out:   --great-merchant N        大商人点
  out:   --great-general N         大将军点
  out:   --great-admiral N         大海军点
  out:   --great-writer N          大作家点
  out:   --great-prophet N         大预言家点
  out:   --palace-slots N          宫殿槽
  out:   --relic-slots N           遗物槽
  out:   --writing-slots N         著作槽
  out:   --art-slots N             艺术槽
  out:   --artifact-slots N        文物槽
  out:   --music-slots N           音乐槽
  out:   --religious-slots N       宗教槽
  out:   --amenity N               宜居度
  out:   --citizen-slots N         公民槽
  out:   --housing N               住房
  out:   --wall-hit-points N       +围墙生命
  out:   --wall-defence N          +围墙防御
  out: 
  out: Texts, in UTF-8; one left out, or empty once the characters XML cannot carry
  out: are dropped, takes its default:
  out:   --title TEXT              DLC名
  out:   --teaser TEXT             DLC说明
  out:   --description TEXT        建筑名
  out:   --building-name TEXT      建筑说明
  out:   --author TEXT             你的名字
  out: 
  out: Rules of play, each optional (without them, as a wonder made before rules):
  out:   --cost N                  its production cost, 1 to 9999 (default 1)
  out:   --prereq TYPE             the technology or civic it needs (see --prereqs)
  out:   --obsolete-era ERA        the era from which it is no longer built: ERA_...
  out:   --quote TEXT              its quote in the Civilopedia, in UTF-8
  out:   --no-gold-purchase        it cannot be bought with gold
  out: 
  out:   --prereqs                 list the technologies and civics a wonder may need,
  out:                             one a line: type, name, era
  out:   --help                    show this help and exit
  out:   --version                 show the version and exit
  out: 
  out: Exit status: 0 when every file is written; 1 when something could not be
  out: deleted, created or written, no game folder was found to install into, a wonder
  out: to show cannot be read back or one to remove is not installed, or the output
  out: could not be printed; 2 for bad usage, which touches nothing on disk.
  $ run --help | awk 'length > 85'
  $ run --vers | sed "s/$WONDERGEN_VERSION/<version>/" && run --he | head -1
  out: wondergen-cli <version>
  out: Usage: wondergen-cli [OPTION]...
  $ to='>/dev/null' run --science 2000 --help
  $ to='>/dev/null' run --title --version
  $ run --help=x
  err: wondergen-cli: --help takes no value
  err: Try 'wondergen-cli --help'.
  [2]
  $ run -- --help
  err: wondergen-cli: unexpected argument "--help"
  err: Try 'wondergen-cli --help'.
  [2]

Bad usage is refused with exit status 2, and touches nothing on disk.

  $ case_ && mkdir -p work/AAA/old work/locked/dir && echo x >work/notes.txt
  $ run --science abc
  err: wondergen-cli: --science: "abc" is not a number from 1 to 1999
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --gold 2000
  err: wondergen-cli: --gold: "2000" is not a number from 1 to 1999
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --faith -3
  err: wondergen-cli: --faith: "-3" is not a number from 1 to 1999
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --food=
  err: wondergen-cli: --food: "" is not a number from 1 to 1999
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --housing 1234567890
  err: wondergen-cli: --housing: "1234567890" is 10 bytes or longer; give a number from 1 to 1999
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --amenity 1科技科技科
  err: wondergen-cli: --amenity: "1科技科技科" is 10 bytes or longer; give a number from 1 to 1999
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --culture 😀
  err: wondergen-cli: --culture: "😀" is not a number; give a number from 1 to 1999
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --title 😀
  err: wondergen-cli: --title: "😀" holds a character that code page 936 (GBK) cannot hold
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --title $'ab\x80c\xe7\xa7'
  err: wondergen-cli: --title: "ab\x80c\xe7\xa7" is not valid UTF-8
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --science $'1\xff'
  err: wondergen-cli: --science: "1\xff" is not valid UTF-8
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --colour red
  err: wondergen-cli: unknown option --colour
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --great 5
  err: wondergen-cli: ambiguous option --great
  err: Try 'wondergen-cli --help'.
  [2]
  $ run -x
  err: wondergen-cli: unknown option -x
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --science
  err: wondergen-cli: --science needs a value
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --title --science 25
  err: wondergen-cli: --title: "--science" looks like an option; write --title=--science if it is the value
  err: Try 'wondergen-cli --help'.
  [2]
  $ run stray
  err: wondergen-cli: unexpected argument "stray"
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --science 5 --relic-slots x
  err: wondergen-cli: --relic-slots: "x" is not a number from 1 to 1999
  err: Try 'wondergen-cli --help'.
  [2]
  $ for n in 0 100 2x -1 '' ' 3' 1.5 12345678901234567890; do run --number "$n"; done
  err: wondergen-cli: --number: "0" is not a number from 1 to 99
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --number: "100" is not a number from 1 to 99
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --number: "2x" is not a number from 1 to 99
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --number: "-1" is not a number from 1 to 99
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --number: "" is not a number from 1 to 99
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --number: " 3" is not a number from 1 to 99
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --number: "1.5" is not a number from 1 to 99
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --number: "12345678901234567890" is not a number from 1 to 99
  err: Try 'wondergen-cli --help'.
  [2]
  $ for value in 0 10000 12345 abc '' ' 5' 1e3 -1; do run --cost "$value"; done
  err: wondergen-cli: --cost: "0" is not a number from 1 to 9999
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --cost: "10000" is not a number from 1 to 9999
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --cost: "12345" is not a number from 1 to 9999
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --cost: "abc" is not a number from 1 to 9999
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --cost: "" is not a number from 1 to 9999
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --cost: " 5" is not a number from 1 to 9999
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --cost: "1e3" is not a number from 1 to 9999
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --cost: "-1" is not a number from 1 to 9999
  err: Try 'wondergen-cli --help'.
  [2]
  $ for value in TECH_NOPE BUILDING_PYRAMIDS tech_pottery TECH_POTTERY, TECH_ADVANCED_AI ''; do run --prereq "$value"; done
  err: wondergen-cli: --prereq: "TECH_NOPE" is no technology or civic of the base game (--prereqs lists them)
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --prereq: "BUILDING_PYRAMIDS" is no technology or civic of the base game (--prereqs lists them)
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --prereq: "tech_pottery" is no technology or civic of the base game (--prereqs lists them)
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --prereq: "TECH_POTTERY," is no technology or civic of the base game (--prereqs lists them)
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --prereq: "TECH_ADVANCED_AI" is no technology or civic of the base game (--prereqs lists them)
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --prereq: "" is no technology or civic of the base game (--prereqs lists them)
  err: Try 'wondergen-cli --help'.
  [2]
  $ for value in ERA_FUTURE ERA_ANCIENT, era_ancient ''; do run --obsolete-era "$value"; done
  err: wondergen-cli: --obsolete-era: "ERA_FUTURE" is no era of the base game: ERA_ANCIENT, ERA_CLASSICAL, ERA_MEDIEVAL, ERA_RENAISSANCE, ERA_INDUSTRIAL, ERA_MODERN, ERA_ATOMIC, ERA_INFORMATION
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --obsolete-era: "ERA_ANCIENT," is no era of the base game: ERA_ANCIENT, ERA_CLASSICAL, ERA_MEDIEVAL, ERA_RENAISSANCE, ERA_INDUSTRIAL, ERA_MODERN, ERA_ATOMIC, ERA_INFORMATION
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --obsolete-era: "era_ancient" is no era of the base game: ERA_ANCIENT, ERA_CLASSICAL, ERA_MEDIEVAL, ERA_RENAISSANCE, ERA_INDUSTRIAL, ERA_MODERN, ERA_ATOMIC, ERA_INFORMATION
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --obsolete-era: "" is no era of the base game: ERA_ANCIENT, ERA_CLASSICAL, ERA_MEDIEVAL, ERA_RENAISSANCE, ERA_INDUSTRIAL, ERA_MODERN, ERA_ATOMIC, ERA_INFORMATION
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --no-gold-purchase=no; run --cost 9999 --quote $'\xff'
  err: wondergen-cli: --no-gold-purchase takes no value
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --quote: "\xff" is not valid UTF-8
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --out missing
  err: wondergen-cli: --out: "missing": No such file or directory
  [2]
  $ run --out=
  err: wondergen-cli: --out: "": No such file or directory
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --out notes.txt
  err: wondergen-cli: --out: "notes.txt": Not a directory
  [2]
  $ as_user && chmod 600 work/locked
  $ run --out locked/dir
  err: wondergen-cli: --out: "locked/dir": Permission denied
  [2]
  $ tree
  AAA/old/

An empty value, as a script's variable left unset gives, is bad usage for every option that takes
one, apart or after "=": taken as the option left out, it would remove wonder 9 from the game's own
Mods folder, read that folder, or make the wonder without its icon or with a default text. Nothing
is read, written or removed.

  $ case_ && export XDG_DATA_HOME=$PWD/work/data && mkdir -p "work/data/aspyr-media/Sid Meier's Civilization VI"
  $ to='>/dev/null' run --install --number 9 && rm -r work/AAA && mkdir -p work/AAA/old
  $ for option in '--remove 9 --mods-dir' '--list --mods-dir' '--show 9 --mods-dir' --mods-dir --icon --out --number --science --title --quote; do run $option ''; run $option=; done
  err: wondergen-cli: --mods-dir: "": No such file or directory
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --mods-dir: "": No such file or directory
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --mods-dir: "": No such file or directory
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --mods-dir: "": No such file or directory
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --mods-dir: "": No such file or directory
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --mods-dir: "": No such file or directory
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --mods-dir: "": No such file or directory
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --mods-dir: "": No such file or directory
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --icon: "": No such file or directory
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --icon: "": No such file or directory
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --out: "": No such file or directory
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --out: "": No such file or directory
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --number: "" is not a number from 1 to 99
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --number: "" is not a number from 1 to 99
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --science: "" is not a number from 1 to 1999
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --science: "" is not a number from 1 to 1999
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --title: "" is empty; give a text, or leave --title out for its default
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --title: "" is empty; give a text, or leave --title out for its default
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --quote: "" is empty; give a text, or leave --quote out for its default
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --quote: "" is empty; give a text, or leave --quote out for its default
  err: Try 'wondergen-cli --help'.
  [2]
  $ unset XDG_DATA_HOME && tree && tree data | grep modinfo | sed 's/ [0-9]*$//'
  AAA/old/
  data/aspyr-media/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR_9/Newbuilding2PD_RIR_9.modinfo

A number is written as the number the screening accepted: the game would read 1e9 as a billion.

  $ case_
  $ to='>/dev/null' run --sci 1e9 --gold 1.5 --housing 9e99 --faith 007 --culture ' 25' --
  err: wondergen-cli: --science: "1e9" is taken as 1
  err: wondergen-cli: --gold: "1.5" is taken as 1
  err: wondergen-cli: --housing: "9e99" is taken as 9
  err: wondergen-cli: --faith: "007" is taken as 7
  err: wondergen-cli: --culture: " 25" is taken as 25
  $ grep -oE '\b(YieldType|YieldChange|Housing)="[^"]*"' work/AAA/DLC/*/Data/*GameplayData.xml
  Housing="9"
  YieldType="YIELD_SCIENCE"
  YieldChange="1"
  YieldType="YIELD_FAITH"
  YieldChange="7"
  YieldType="YIELD_CULTURE"
  YieldChange="25"
  YieldType="YIELD_GOLD"
  YieldChange="1"

A text that holds nothing once the characters XML cannot carry are dropped takes its default; a
text that looks like an option can be given with "=".

  $ run --title $'\x01' --teaser $'\x02\x1f' --description $'\x03' --building-name $'\x06' --author $'\x05' >/dev/null
  $ diff -r work/AAA "$golden/empty/AAA" && echo "the package of the empty form"
  the package of the empty form
  $ run --title=--science >/dev/null
  $ grep -c -- '<Text>--science </Text>' work/AAA/Base/Assets/Text/Translations/*.xml
  1

The output folder is made absolute before the tree is touched, so a path through AAA works.

  $ case_ && mkdir -p work/dir/AAA/old
  $ run --out dir/AAA/..
  out: ./dir/AAA/Base/Assets/Text/Translations/Newbuilding2PD_zh_Hans_CN.xml
  out: ./dir/AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml
  out: ./dir/AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml
  out: ./dir/AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml
  out: ./dir/AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_Icons.xml
  out: ./dir/AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo
  $ diff -r work/dir/AAA "$golden/empty/AAA" && echo "the package of the empty form"
  the package of the empty form

Output that cannot be printed is a failure (exit status 1), whether standard output is full or a
pipe that nobody reads; a failure of the run reaches standard error all the same.

  $ case_
  $ to='>/dev/full' run --help
  err: wondergen-cli: cannot write standard output: No space left on device
  [1]
  $ to='>/dev/full' run --version
  err: wondergen-cli: cannot write standard output: No space left on device
  [1]
  $ to='>/dev/full' run --prereqs
  err: wondergen-cli: cannot write standard output: No space left on device
  [1]
  $ to='>/dev/full' run
  err: wondergen-cli: cannot write standard output: No space left on device
  [1]
  $ mkfifo pipe && exec 3<>pipe 4>pipe 3<&-
  $ to='>&4' run
  err: wondergen-cli: cannot write standard output: Broken pipe
  [1]
  $ prefix=(sh -c 'ulimit -f 2 && exec "$0" "$@"')
  $ to='>&4' run
  err: wondergen-cli: cannot write ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml: File too large
  err: wondergen-cli: cannot write ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml: File too large
  err: wondergen-cli: cannot write ./AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo: File too large
  err: wondergen-cli: cannot write standard output: Broken pipe
  [1]
  $ exec 4>&-
  $ tree
  AAA/Base/
  AAA/Base/Assets/
  AAA/Base/Assets/Text/
  AAA/Base/Assets/Text/Translations/
  AAA/Base/Assets/Text/Translations/Newbuilding2PD_zh_Hans_CN.xml 792
  AAA/DLC/
  AAA/DLC/Newbuilding2PD_RIR/
  AAA/DLC/Newbuilding2PD_RIR/Data/
  AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_Icons.xml 277
  AAA/DLC/Newbuilding2PD_RIR/Text/
  AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml 792

A picture that cannot be the icon is bad usage, named with what is wrong, and nothing on disk is
touched: a file that is missing or is a folder, one that is no picture, a PNG and a JPEG cut short,
a PNG cut within its header, a PNG whose header claims 10000 x 6000 pixels (refused from the header
alone), a PNG of 0 x 0, a BMP of 0 x 1 and a GIF of 1 x 0; a BMP cut in half and its 54 bytes of
headers alone, which stb_image would fill with black; a JPEG whose scan stops early (its end marker
in the middle) and one with a code that libjpeg finds corrupt, which it would fill with grey. What
the decoders cannot read is named: a JPEG of 12 bits a sample, a BMP run-length encoded, a PNG
wider or higher than libpng's limit of 1000000 pixels (each refused from its header alone), while
one of 1000000 is only cut short. At their edges: a PNG of width 0 cut before its height, cut short
(its sides are judged once both are read), one of 1 x 0 cut right after its sides, a BMP
whose rows are padded one byte short. A GIF whose frame lies outside its screen (of 48 x 32 made
48 x 16). And a picture the user may not read.

  $ case_ && mkdir -p work/AAA/old && cd work && printf 'not a picture' >notes.txt
  $ head -c 100 "$golden/pictures/wonder.png" >cut.png && head -c 1000 "$golden/pictures/turned.jpg" >cut.jpg
  $ printf '\211PNG\r\n\032\n\0\0\0\rIHDR\0\0\047\020\0\0\027\160\010\006\0\0\0\032\331\310\057\0\0\0\0IDAT\065\257\006\036' >large.png
  $ printf '\211PNG\r\n\032\n\0\0\0\rIHDR\0\0\0\0\0\0\0\0\010\006\0\0\0\073\213\174\022' >empty.png
  $ printf 'BM\066\0\0\0\0\0\0\0\066\0\0\0\050\0\0\0\0\0\0\0\001\0\0\0\001\0\030\0' >empty.bmp && printf 'GIF89a\001\0\0\0\0\0\0' >empty.gif
  $ head -c 20 "$golden/pictures/wonder.png" >header-cut.png && head -c 2331 "$golden/pictures/wonder.bmp" >half.bmp && head -c 54 "$golden/pictures/wonder.bmp" >headers.bmp
  $ jpeg="$golden/pictures/turned.jpg" && { head -c 1000 "$jpeg"; printf '\377\331'; } >early.jpg && { head -c 900 "$jpeg"; printf '\377\0\377\0\377\0\377\0'; tail -c +909 "$jpeg"; } >corrupt.jpg
  $ cp "$jpeg" twelve.jpg && printf '\014' | dd of=twelve.jpg bs=1 seek=198 conv=notrunc status=none && printf 'BM\0\0\0\0\0\0\0\0\066\0\0\0\050\0\0\0\002\0\0\0\002\0\0\0\001\0\010\0\001\0\0\0' >rle.bmp && truncate -s 1100 rle.bmp
  $ png() { printf '\211PNG\r\n\032\n\0\0\0\rIHDR%b%b\010\006\0\0\0\0\0\0\0' "$1" "$2"; }
  $ png '\0\017\102\101' '\0\0\0\001' >wide.png && png '\0\0\0\001' '\0\017\102\101' >high.png && png '\0\017\102\100' '\0\0\0\001' >at-limit.png
  $ png '\0\0\0\0' '' | head -c 20 >width-cut.png && png '\0\0\0\001' '\0\0\0\0' | head -c 24 >empty-sides.png && head -c 101 "$golden/pictures/odd-width.bmp" >byte-short.bmp
  $ cp "$golden/pictures/animated.gif" frame-outside.gif && printf '\020' | dd of=frame-outside.gif bs=1 seek=8 conv=notrunc status=none && cd ..
  $ for picture in missing.png AAA notes.txt cut.png cut.jpg header-cut.png width-cut.png large.png empty.png empty-sides.png empty.bmp empty.gif half.bmp headers.bmp byte-short.bmp frame-outside.gif early.jpg corrupt.jpg twelve.jpg rle.bmp wide.png high.png at-limit.png; do run --icon $picture; done
  err: wondergen-cli: --icon: "missing.png": No such file or directory
  err: wondergen-cli: --icon: "AAA": not a file
  err: wondergen-cli: --icon: "notes.txt": not a picture that can be read (PNG, JPEG, BMP or GIF)
  err: wondergen-cli: --icon: "cut.png": the picture is cut short or damaged
  err: wondergen-cli: --icon: "cut.jpg": the picture is cut short or damaged
  err: wondergen-cli: --icon: "header-cut.png": the picture is cut short or damaged
  err: wondergen-cli: --icon: "width-cut.png": the picture is cut short or damaged
  err: wondergen-cli: --icon: "large.png": the picture has more than 50 million pixels
  err: wondergen-cli: --icon: "empty.png": the picture has no pixels (its width or height is 0)
  err: wondergen-cli: --icon: "empty-sides.png": the picture has no pixels (its width or height is 0)
  err: wondergen-cli: --icon: "empty.bmp": the picture has no pixels (its width or height is 0)
  err: wondergen-cli: --icon: "empty.gif": the picture has no pixels (its width or height is 0)
  err: wondergen-cli: --icon: "half.bmp": the picture is cut short or damaged
  err: wondergen-cli: --icon: "headers.bmp": the picture is cut short or damaged
  err: wondergen-cli: --icon: "byte-short.bmp": the picture is cut short or damaged
  err: wondergen-cli: --icon: "frame-outside.gif": the picture is cut short or damaged
  err: wondergen-cli: --icon: "early.jpg": the picture is cut short or damaged
  err: wondergen-cli: --icon: "corrupt.jpg": the picture is cut short or damaged
  err: wondergen-cli: --icon: "twelve.jpg": a JPEG of more than 8 bits a sample (12-bit) is not supported
  err: wondergen-cli: --icon: "rle.bmp": a compressed BMP (run-length encoded, or holding a JPEG or PNG) is not supported
  err: wondergen-cli: --icon: "wide.png": a PNG wider or higher than 1000000 pixels is not supported
  err: wondergen-cli: --icon: "high.png": a PNG wider or higher than 1000000 pixels is not supported
  err: wondergen-cli: --icon: "at-limit.png": the picture is cut short or damaged
  [2]
  $ as_user && chmod 000 work/twelve.jpg && run --icon twelve.jpg
  err: wondergen-cli: --icon: "twelve.jpg": Permission denied
  [2]
  $ tree
  AAA/old/

What the decoders cannot read is named, and sides are judged as the frame's header gives them: a
lossless JPEG (SOF3), one of 65501 x 8, beyond libjpeg's 65500 pixels a side, one of 65535 x 65535,
more than 50 million pixels, and one of height 0 (its height to come after its pixels, which
libjpeg does not read); a BMP of OS/2 2.x's header of 16 or of 64 bytes, where 15 and 65 are no
header at all. Cut short within its header: a JPEG before its frame, a BMP within its sides.

  $ cd work && jpeg="$golden/pictures/turned.jpg" && sof() { cp "$jpeg" $1 && printf "$3" | dd of=$1 bs=1 seek=$2 conv=notrunc status=none; }
  $ sof lossless.jpg 195 '\303' && sof wide.jpg 199 '\0\010\377\335' && sof sides.jpg 199 '\377\377\377\377' && sof no-height.jpg 199 '\0\0'
  $ python3 -c 'import struct, sys; b = open(sys.argv[1], "rb").read(); [open(f"header{n}.bmp", "wb").write(b"BM" + struct.pack("<IHHI", 14 + n + len(b) - 54, 0, 0, 14 + n) + (struct.pack("<I", n) + b[18:54] + bytes(64))[:n] + b[54:]) for n in (15, 16, 64, 65)]' "$golden/pictures/wonder.bmp"
  $ head -c 100 "$jpeg" >header-cut.jpg && head -c 20 "$golden/pictures/wonder.bmp" >sides-cut.bmp && cd ..
  $ for picture in lossless.jpg wide.jpg sides.jpg no-height.jpg header16.bmp header64.bmp header15.bmp header65.bmp header-cut.jpg sides-cut.bmp; do run --icon $picture; done
  err: wondergen-cli: --icon: "lossless.jpg": a lossless or hierarchical JPEG is not supported
  err: wondergen-cli: --icon: "wide.jpg": a JPEG wider or higher than 65500 pixels is not supported
  err: wondergen-cli: --icon: "sides.jpg": the picture has more than 50 million pixels
  err: wondergen-cli: --icon: "no-height.jpg": the picture has no pixels (its width or height is 0)
  err: wondergen-cli: --icon: "header16.bmp": an OS/2 2.x BMP (a header of 16 to 64 bytes) is not supported
  err: wondergen-cli: --icon: "header64.bmp": an OS/2 2.x BMP (a header of 16 to 64 bytes) is not supported
  err: wondergen-cli: --icon: "header15.bmp": not a picture that can be read (PNG, JPEG, BMP or GIF)
  err: wondergen-cli: --icon: "header65.bmp": not a picture that can be read (PNG, JPEG, BMP or GIF)
  err: wondergen-cli: --icon: "header-cut.jpg": the picture is cut short or damaged
  err: wondergen-cli: --icon: "sides-cut.bmp": the picture is cut short or damaged
  [2]

A GIF cut within its signature, its sides or its colour table is cut short; one whose sides give
more than 50 million pixels says so from them whatever follows, as does a PNG whose header gives
60000 x 60000 followed by its end alone.

  $ cd work && gif="$golden/pictures/interlaced.gif" && head -c 4 "$gif" >signature-cut.gif && head -c 8 "$gif" >screen-cut.gif && head -c 300 "$gif" >colours-cut.gif && printf 'GIF89a\377\377\377\377' >large.gif
  $ python3 -c 'import struct, sys, zlib; chunk = lambda kind, data: struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data)); open(sys.argv[1], "wb").write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 60000, 60000, 8, 6, 0, 0, 0)) + chunk(b"IEND", b""))' header-only.png && cd ..
  $ for picture in signature-cut.gif screen-cut.gif colours-cut.gif large.gif header-only.png; do run --icon $picture; done
  err: wondergen-cli: --icon: "signature-cut.gif": the picture is cut short or damaged
  err: wondergen-cli: --icon: "screen-cut.gif": the picture is cut short or damaged
  err: wondergen-cli: --icon: "colours-cut.gif": the picture is cut short or damaged
  err: wondergen-cli: --icon: "large.gif": the picture has more than 50 million pixels
  err: wondergen-cli: --icon: "header-only.png": the picture has more than 50 million pixels
  [2]

A JPEG whose scan libjpeg reads otherwise than it was written, so that bytes of its coded data are
skipped before its end or a restart marker ("extraneous bytes before marker 0xd9", "0xd0"): its
frame marked arithmetic-coded (SOF9), a byte of its scan zeroed, and a byte zeroed in the first
interval of one with restart markers.

  $ cd work && sof arithmetic.jpg 195 '\311' && sof zeroed.jpg 800 '\0' && jpeg="$golden/pictures/restart.jpg" && sof restart.jpg 340 '\0' && cd ..
  $ for picture in arithmetic.jpg zeroed.jpg restart.jpg; do run --icon $picture; done
  err: wondergen-cli: --icon: "arithmetic.jpg": the picture is cut short or damaged
  err: wondergen-cli: --icon: "zeroed.jpg": the picture is cut short or damaged
  err: wondergen-cli: --icon: "restart.jpg": the picture is cut short or damaged
  [2]
  $ tree
  AAA/old/

A BMP of 1, 4 or 8 bits a pixel whose pixels name a colour past its palette is damaged: viewers
disagree on that colour (Pillow takes a grey, browsers black). The palette holds the colours its
header names, or all that the bits can index where it names 0. bmp NAME BITS STORED NAMED WIDTH
INDICES writes a square of WIDTH, its pixels the indices in turn by blocks of 32, STORED entries in
its palette, the padding of its rows set bits. Past the palette: an 8-bit one of 2 colours whose
largest index is 2, the same at 4 bits, a 1-bit one of 1 colour, one whose header names 2 of the 4
colours it stores. Within it, the icon as Pillow reads them: 256 wide, and 250, its rows padded
with an index past.

  $ case_ && cd work && bmp() { python3 -c 'import struct, sys; bits, stored, named, width = map(int, sys.argv[2:6]); indices = [int(i) for i in sys.argv[6].split(",")]; rows = b"".join((lambda b: int(b, 2).to_bytes(len(b) // 8, "big"))((lambda b: b + "1" * (-len(b) % 32))("".join(format(indices[(x // 32 + y // 32) % len(indices)], f"0{bits}b") for x in range(width)))) for y in range(width)); at = 54 + 4 * stored; open(sys.argv[1], "wb").write(b"BM" + struct.pack("<IHHIIiiHHIIiiII", at + len(rows), 0, 0, at, 40, width, width, 1, bits, 0, len(rows), 0, 0, named, 0) + bytes((40 * i % 256, 255 - 40 * i % 256, 128, 0)[j] for i in range(stored) for j in range(4)) + rows)' "$@"; }
  $ bmp past8.bmp 8 2 2 64 0,1,2 && bmp past4.bmp 4 2 2 64 0,1,2 && bmp past1.bmp 1 1 1 64 0,1 && bmp named.bmp 8 4 2 64 0,1,2 && cd ..
  $ for picture in past8.bmp past4.bmp past1.bmp named.bmp; do run --icon $picture; done
  err: wondergen-cli: --icon: "past8.bmp": the picture is cut short or damaged
  err: wondergen-cli: --icon: "past4.bmp": the picture is cut short or damaged
  err: wondergen-cli: --icon: "past1.bmp": the picture is cut short or damaged
  err: wondergen-cli: --icon: "named.bmp": the picture is cut short or damaged
  [2]
  $ cd work && bmp in8.bmp 8 2 2 256 0,1 && bmp in4.bmp 4 3 0 256 0,1,2 && bmp in1.bmp 1 2 0 256 0,1 && bmp named-in.bmp 8 4 2 256 0,1 && bmp padded.bmp 8 2 2 250 0,1 && cd ..
  $ for picture in in8.bmp in4.bmp in1.bmp named-in.bmp padded.bmp; do to='>/dev/null' run --icon $picture && echo -n "$picture: " && $check_icons work/AAA/DLC/Newbuilding2PD_RIR work/$picture; done
  in8.bmp: ok    Newbuilding2PD_RIR: its square and its 7 textures
  in4.bmp: ok    Newbuilding2PD_RIR: its square and its 7 textures
  in1.bmp: ok    Newbuilding2PD_RIR: its square and its 7 textures
  named-in.bmp: ok    Newbuilding2PD_RIR: its square and its 7 textures
  padded.bmp: ok    Newbuilding2PD_RIR: its square and its 7 textures

--prereqs: the base game's 68 technologies and 51 civics, one a line, TYPE, its name as the game's
Simplified Chinese edition shows it and its era, tab-separated, grouped by era, in an era the
technologies first (tests/reference checks the whole list against the game's data). It stands
alone: with a form's option, another action, --out or --mods-dir it is bad usage.

  $ case_
  $ run --prereqs | sed -n '1p;11,12p;18,19p;$p' | sed 's/\t/<TAB>/g'
  out: TECH_POTTERY<TAB>制陶术<TAB>ERA_ANCIENT
  out: TECH_THE_WHEEL<TAB>轮子<TAB>ERA_ANCIENT
  out: CIVIC_CODE_OF_LAWS<TAB>法典<TAB>ERA_ANCIENT
  out: CIVIC_EARLY_EMPIRE<TAB>帝国初期<TAB>ERA_ANCIENT
  out: TECH_CELESTIAL_NAVIGATION<TAB>天文导航<TAB>ERA_CLASSICAL
  out: CIVIC_FUTURE_CIVIC<TAB>未来市政<TAB>ERA_INFORMATION
  $ run --prereqs | wc -l && run --prereqs | cut -f 3 | uniq -c | awk '{ print $2, $1 }'
  119
  ERA_ANCIENT 18
  ERA_CLASSICAL 15
  ERA_MEDIEVAL 14
  ERA_RENAISSANCE 15
  ERA_INDUSTRIAL 15
  ERA_MODERN 16
  ERA_ATOMIC 13
  ERA_INFORMATION 13
  $ run --prereqs --science 5
  err: wondergen-cli: --prereqs and --science exclude each other
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --title x --prereqs
  err: wondergen-cli: --prereqs and --title exclude each other
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --list --prereqs
  err: wondergen-cli: --list and --prereqs exclude each other
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --prereqs --show 1
  err: wondergen-cli: --prereqs and --show exclude each other
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --prereqs --out .
  err: wondergen-cli: --prereqs and --out exclude each other
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --mods-dir Mods --prereqs
  err: wondergen-cli: --prereqs and --mods-dir exclude each other
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --prereqs --install
  err: wondergen-cli: --prereqs and --install exclude each other
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --prereqs=all
  err: wondergen-cli: --prereqs takes no value
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --prereqs TECH_POTTERY
  err: wondergen-cli: unexpected argument "TECH_POTTERY"
  err: Try 'wondergen-cli --help'.
  [2]
  $ tree .
