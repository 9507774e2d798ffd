wondergen-cli and the wonders made before: --show reads a wonder back into the options that make it
again, --list names each one installed, --remove takes one out of the game.

  $ . "$TESTDIR/helpers.sh"

Round trip: each form made into Mods, read back by --show, and made again from the line that
--show prints, run by sh (dash, which knows only what POSIX gives), into a folder of its own: both
packages the same byte for byte, and the second read back the same line. The printed line is the
form, each option once, on one line.

  $ roundtrip() {
  >   case_ && mkdir work/Mods && (cd work && "$cli" --mods-dir Mods "$@" >/dev/null 2>&1)
  >   local number=$(printf '%s\n' "$@" | sed -n '/^--number$/{n;p;}')
  >   line=$(cd work && "$cli" --show "${number:-1}" --mods-dir Mods) || return
  >   echo "$line" | sed "s|$scratch/work|.|g"
  >   [ "$(echo "$line" | wc -l)" = 1 ] || echo "NOT one line"
  >   mkdir work/again && (cd work && sh -c "exec \"\$0\" --out again --mods-dir again/Mods $line" "$cli" >/dev/null) &&
  >     diff -r work/AAA work/again/AAA && diff -r work/Mods work/again/Mods &&
  >     [ "$(cd work && "$cli" --show "${number:-1}" --mods-dir again/Mods | sed 's|/again/Mods/|/Mods/|')" = "$line" ] ||
  >     echo "NOT the same"
  > }
  $ for form in author-abc empty every-field-7 icon icon-7 markup-and-long-teaser odd-values rules-civic rules-every science-25 window-form-3 wonder-2 wonder-99; do
  >   mapfile -t arguments < <(sed "s|^golden/|$golden/|" "$golden/$form/args")
  >   echo "$form:" && roundtrip "${arguments[@]}" && diff -r -x Icons work/again/AAA "$golden/$form/AAA"
  > done
  author-abc:
  --number=1 --author=abc
  empty:
  --number=1
  every-field-7:
  --number=1 --science=7 --production=7 --faith=7 --culture=7 --food=7 --gold=7 --great-musician=7 --great-artist=7 --great-scientist=7 --great-engineer=7 --great-merchant=7 --great-general=7 --great-admiral=7 --great-writer=7 --great-prophet=7 --palace-slots=7 --relic-slots=7 --writing-slots=7 --art-slots=7 --artifact-slots=7 --music-slots=7 --religious-slots=7 --amenity=7 --citizen-slots=7 --housing=7 --wall-hit-points=7 --wall-defence=7
  icon:
  --number=1 --icon=./Mods/Newbuilding2PD_RIR/Icons/Newbuilding2PD_RIR_Icon.png
  icon-7:
  --number=7 --science=25 --great-merchant=15 --palace-slots=5 --housing=3 --title='奇观 Wonder' --teaser='外星人的礼物 & <gift>' --description='说明文字' --building-name='圣女碑二号' --author='玩家abc' --icon=./Mods/Newbuilding2PD_RIR_7/Icons/Newbuilding2PD_RIR_7_Icon.png
  markup-and-long-teaser:
  --number=1 --gold=12 --housing=3 --title='A&B <C> "q"' --teaser='一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，<终>\t\x7f!' --description='x > y & z' --building-name='"奇观"' --author='<me>' (esc)
  odd-values:
  --number=1 --science=7 --faith=25 --gold=12 --great-general=1 --great-writer=1 --palace-slots=5 --relic-slots=5 --music-slots=1999 --amenity=2 --housing=3 --wall-hit-points=1999
  rules-civic:
  --number=2 --science=25 --great-merchant=15 --palace-slots=5 --housing=3 --title='奇观 Wonder' --teaser='外星人的礼物 & <gift>' --description='说明文字' --building-name='圣女碑二号' --author='玩家abc' --cost=290 --prereq=CIVIC_MYSTICISM --obsolete-era=ERA_RENAISSANCE --quote='神谕'
  rules-every:
  --number=1 --housing=2 --cost=220 --prereq=TECH_MASONRY --obsolete-era=ERA_MEDIEVAL --quote='“金字塔”是时间 & <永恒> 的见证' --no-gold-purchase
  science-25:
  --number=1 --science=25
  window-form-3:
  --number=3 --science=25 --great-merchant=15 --palace-slots=5 --housing=3 --title='奇观 Wonder' --teaser='外星人的礼物 & <gift>' --description='说明文字' --building-name='圣女碑二号' --author='玩家abc' --icon=./Mods/Newbuilding2PD_RIR_3/Icons/Newbuilding2PD_RIR_3_Icon.png
  wonder-2:
  --number=2 --science=25 --great-merchant=15 --palace-slots=5 --housing=3 --title='奇观 Wonder' --teaser='外星人的礼物 & <gift>' --description='说明文字' --building-name='圣女碑二号' --author='玩家abc'
  wonder-99:
  --number=99 --gold=12 --housing=3 --title='A&B <C> "q"' --teaser='一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，一座高塔，<终>\t\x7f!' --description='x > y & z' --building-name='"奇观"' --author='<me>' (esc)

Texts of blanks only, a quote of the shell's own and a line break, 19 bytes, an option's dashes, a
teaser holding the made-by text itself; a text given as its default reads back as left empty; line
breaks with a backslash and a percent sign, which printf would read, and a carriage return. A text
that ends in a line break cannot be given on one line: said so, and nothing printed.

  $ roundtrip --number 99 --title '   ' --author ' ' --description "it's
  > two lines" --building-name 一二三四五六七八九x --teaser=--x
  --number=99 --title='   ' --teaser=--x --description="$(printf 'it'\''s\ntwo lines')" --building-name='一二三四五六七八九x' --author=' '
  $ roundtrip --number 4 --quote $'100% \\n\r\nsure' --title $'a\rb'
  --number=4 --title="$(printf 'a\rb')" --quote="$(printf '100%% \\n\r\nsure')"
  $ case_ && mkdir work/Mods && to='>/dev/null' run --mods-dir Mods --number 5 --author $'me\n' && run --show 5 --mods-dir Mods
  err: wondergen-cli: cannot give --author of ./Mods/Newbuilding2PD_RIR_5 on one line: its text ends in a line break
  [1]
  $ roundtrip --teaser $'外星人\t\t------制作:《vudazu》 ------改写：《a》' --author b --building-name 圣女碑
  --number=1 --teaser='外星人\t\t------制作:《vudazu》 ------改写：《a》' --author=b (esc)

A wonder made by an earlier version, whose every document is as that version wrote it: without
the other languages' document and the icon's, and with a shorter manifest; with the icon's but not
the other languages'; with an icon of its own whose textures of 38 and 50 were 38 x 38 and 50 x 50,
which Direct3D 11 refuses, each texture not as this version makes it told on standard error. Each
read back, and made again as today's package.

  $ for version in chinese-texts icon-document; do
  >   case_ && mkdir work/Mods && cp -r "$golden/earlier-versions/$version/Newbuilding2PD_RIR" work/Mods/
  >   line=$(cd work && "$cli" --show 1 --mods-dir Mods) && (cd work && eval "\"\$cli\" --out . $line" >/dev/null) && diff -r work/AAA "$golden/markup-and-long-teaser/AAA" && echo "$version: today's package"
  > done
  chinese-texts: today's package
  icon-document: today's package
  $ case_ && mkdir work/Mods && mapfile -t arguments < <(sed "s|^golden/|$golden/|" "$golden/icon-7/args") && (cd work && "$cli" --mods-dir Mods "${arguments[@]}" >/dev/null 2>&1) && cp -r work/Mods work/today
  $ icons=work/Mods/Newbuilding2PD_RIR_7/Icons && python3 -c 'import struct, sys; d = bytearray(open(sys.argv[1], "rb").read()); struct.pack_into("<3I", d, 12, 38, 38, 1600); open(sys.argv[1], "wb").write(d[:2320])' $icons/Newbuilding2PD_RIR_7_Icon_38.dds && rm $icons/Newbuilding2PD_RIR_7_Icon_50.dds
  $ to='>/dev/null' run --show 7 --mods-dir Mods
  err: wondergen-cli: ./Mods/Newbuilding2PD_RIR_7/Icons/Newbuilding2PD_RIR_7_Icon_38.dds: not as this version makes it from ./Mods/Newbuilding2PD_RIR_7/Icons/Newbuilding2PD_RIR_7_Icon.png; making the wonder again makes it anew
  err: wondergen-cli: ./Mods/Newbuilding2PD_RIR_7/Icons/Newbuilding2PD_RIR_7_Icon_50.dds: not as this version makes it from ./Mods/Newbuilding2PD_RIR_7/Icons/Newbuilding2PD_RIR_7_Icon.png; making the wonder again makes it anew
  $ line=$(cd work && "$cli" --show 7 --mods-dir Mods 2>/dev/null) && (cd work && eval "\"\$cli\" --mods-dir Mods $line" >/dev/null) && diff -r work/Mods work/today && echo "today's package"
  today's package

The longest texts, 32767 characters each of the one that XML escapes the longest, read back and
made again the same; one character more refused as bad usage.

  $ case_ && mkdir work/Mods && long=$(printf '%32767s' | tr ' ' '&') && texts=() && for text in --title --teaser --description --building-name --quote; do texts+=($text "$long"); done && (cd work && "$cli" --mods-dir Mods --number 4 "${texts[@]}" >/dev/null) && cp -r work/Mods work/today
  $ line=$(cd work && "$cli" --show 4 --mods-dir Mods) && rm -r work/Mods && (cd work && eval "\"\$cli\" --mods-dir Mods $line" >/dev/null) && diff -r work/Mods work/today && echo "the same"
  the same
  $ run --title "$long&"
  err: wondergen-cli: --title: longer than 32767 characters, the most a text holds
  err: Try 'wondergen-cli --help'.
  [2]

Refused: what no form makes, the file named, nothing printed. A byte changed in a tag, a tab, a
quote; a value of 2000 or 0 written by hand; a text typed into the other languages' document; a
byte changed in the manifest or the icon document; a kept picture that is no square of 256 x 256,
or that claims to be far larger (not decoded); a document grown past any this program writes, not
read whole; a document missing; the kept picture missing where its textures remain; a folder that
is a link. A folder without its manifest (an empty one too) is no wonder at all. A digit changed is
another form, and read as it.
A texture changed or missing is made anew from the kept picture: told, and no refusal.

  $ case_ && mkdir work/Mods && mapfile -t arguments < <(sed "s|^golden/|$golden/|" "$golden/icon-7/args") && (cd work && "$cli" --mods-dir Mods "${arguments[@]}" --great-artist 12 >/dev/null 2>&1) && cp -r work/Mods work/kept
  $ data=Mods/Newbuilding2PD_RIR_7/Data/Newbuilding2PD_RIR_7_GameplayData.xml text=Mods/Newbuilding2PD_RIR_7/Text/Newbuilding2PD_7_zh_Hans_CN.xml
  $ refused() { sed -i "$1" "work/$2" && run --show 7 --mods-dir Mods; local status=$?; rm -rf work/Mods && cp -r work/kept work/Mods; return $status; }
  $ refused 's/<Row BuildingType/<Row  BuildingType/' $data
  err: wondergen-cli: cannot read ./Mods/Newbuilding2PD_RIR_7/Data/Newbuilding2PD_RIR_7_GameplayData.xml: changed by hand or not made by this program
  [1]
  $ refused 's/^\t<Row/  <Row/' $data
  err: wondergen-cli: cannot read ./Mods/Newbuilding2PD_RIR_7/Data/Newbuilding2PD_RIR_7_GameplayData.xml: changed by hand or not made by this program
  [1]
  $ refused 's/Housing="3"/Housing='"'"'3'"'"'/' $data
  err: wondergen-cli: cannot read ./Mods/Newbuilding2PD_RIR_7/Data/Newbuilding2PD_RIR_7_GameplayData.xml: changed by hand or not made by this program
  [1]
  $ refused 's/PointsPerTurn="15"/PointsPerTurn="2000"/' $data
  err: wondergen-cli: cannot read ./Mods/Newbuilding2PD_RIR_7/Data/Newbuilding2PD_RIR_7_GameplayData.xml: changed by hand or not made by this program
  [1]
  $ refused 's/PointsPerTurn="12"/PointsPerTurn="0"/' $data
  err: wondergen-cli: cannot read ./Mods/Newbuilding2PD_RIR_7/Data/Newbuilding2PD_RIR_7_GameplayData.xml: changed by hand or not made by this program
  [1]
  $ refused 's/<Text>说明文字 </<Text>说明文字</' $text
  err: wondergen-cli: cannot read ./Mods/Newbuilding2PD_RIR_7/Text/Newbuilding2PD_7_zh_Hans_CN.xml: changed by hand or not made by this program
  [1]
  $ refused 's/&amp; &lt;gift/\& \&lt;gift/' $text
  err: wondergen-cli: cannot read ./Mods/Newbuilding2PD_RIR_7/Text/Newbuilding2PD_7_zh_Hans_CN.xml: changed by hand or not made by this program
  [1]
  $ refused '0,/<Text>奇观 Wonder /s//<Text>Wonder /' Mods/Newbuilding2PD_RIR_7/Text/Newbuilding2PD_7_OtherLanguages.xml
  err: wondergen-cli: cannot read ./Mods/Newbuilding2PD_RIR_7/Text/Newbuilding2PD_7_OtherLanguages.xml: changed by hand or not made by this program
  [1]
  $ refused 's|<Authors>vudazu|<Authors>me|' Mods/Newbuilding2PD_RIR_7/Newbuilding2PD_RIR_7.modinfo
  err: wondergen-cli: cannot read ./Mods/Newbuilding2PD_RIR_7/Newbuilding2PD_RIR_7.modinfo: changed by hand or not made by this program
  [1]
  $ refused 's|IconSize="80"|IconSize="81"|' Mods/Newbuilding2PD_RIR_7/Data/Newbuilding2PD_RIR_7_Icons.xml
  err: wondergen-cli: cannot read ./Mods/Newbuilding2PD_RIR_7/Data/Newbuilding2PD_RIR_7_Icons.xml: changed by hand or not made by this program
  [1]
  $ cp "$golden/pictures/wonder.png" work/Mods/Newbuilding2PD_RIR_7/Icons/Newbuilding2PD_RIR_7_Icon.png && refused '' $data
  err: wondergen-cli: cannot read ./Mods/Newbuilding2PD_RIR_7/Icons/Newbuilding2PD_RIR_7_Icon.png: changed by hand or not made by this program
  [1]
  $ python3 -c 'import struct, sys, zlib; side = 7000; row = bytes(1 + 4 * side); packer = zlib.compressobj(9); chunk = lambda kind, data: struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data)); image = b"".join(packer.compress(row) for _ in range(side)) + packer.flush(); sys.stdout.buffer.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 8, 6, 0, 0, 0)) + chunk(b"IDAT", image) + chunk(b"IEND", b""))' >work/bomb.png && ls -l work/bomb.png | awk '{ print ($5 < 4194304) }'
  1
  $ cp work/bomb.png work/Mods/Newbuilding2PD_RIR_7/Icons/Newbuilding2PD_RIR_7_Icon.png && python3 -c 'import resource, subprocess, sys; subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL); print("at most 50 MB:", resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss < 50000)' "$cli" --show 7 --mods-dir work/Mods 2>&1 | sed "s|$scratch/||"
  wondergen-cli: cannot read work/Mods/Newbuilding2PD_RIR_7/Icons/Newbuilding2PD_RIR_7_Icon.png: changed by hand or not made by this program
  at most 50 MB: True
  $ rm -rf work/Mods && cp -r work/kept work/Mods && rm work/Mods/Newbuilding2PD_RIR_7/Icons/Newbuilding2PD_RIR_7_Icon.png && run --show 7 --mods-dir Mods
  err: wondergen-cli: cannot read ./Mods/Newbuilding2PD_RIR_7/Icons/Newbuilding2PD_RIR_7_Icon.png: No such file or directory
  [1]
  $ rm -rf work/Mods && cp -r work/kept work/Mods && sed -i '1s/^DDS /DDS!/' work/Mods/Newbuilding2PD_RIR_7/Icons/Newbuilding2PD_RIR_7_Icon_32.dds && rm work/Mods/Newbuilding2PD_RIR_7/Icons/Newbuilding2PD_RIR_7_Icon_256.dds && to='>/dev/null' run --show 7 --mods-dir Mods
  err: wondergen-cli: ./Mods/Newbuilding2PD_RIR_7/Icons/Newbuilding2PD_RIR_7_Icon_32.dds: not as this version makes it from ./Mods/Newbuilding2PD_RIR_7/Icons/Newbuilding2PD_RIR_7_Icon.png; making the wonder again makes it anew
  err: wondergen-cli: ./Mods/Newbuilding2PD_RIR_7/Icons/Newbuilding2PD_RIR_7_Icon_256.dds: not as this version makes it from ./Mods/Newbuilding2PD_RIR_7/Icons/Newbuilding2PD_RIR_7_Icon.png; making the wonder again makes it anew
  $ rm -rf work/Mods && cp -r work/kept work/Mods
  $ truncate -s 17M work/$data && refused '' $data
  err: wondergen-cli: cannot read ./Mods/Newbuilding2PD_RIR_7/Data/Newbuilding2PD_RIR_7_GameplayData.xml: File too large
  [1]
  $ refused 's/YieldChange="25"/YieldChange="26"/' $data | cut -d ' ' -f 1-4
  out: --number=7 --science=26 --great-artist=12
  $ rm work/$text && run --show 7 --mods-dir Mods
  err: wondergen-cli: cannot read ./Mods/Newbuilding2PD_RIR_7/Text/Newbuilding2PD_7_zh_Hans_CN.xml: No such file or directory
  [1]
  $ rm -rf work/Mods && cp -r work/kept work/Mods && rm work/Mods/Newbuilding2PD_RIR_7/Text/Newbuilding2PD_7_OtherLanguages.xml && run --show 7 --mods-dir Mods
  err: wondergen-cli: cannot read ./Mods/Newbuilding2PD_RIR_7/Text/Newbuilding2PD_7_OtherLanguages.xml: No such file or directory
  [1]
  $ rm -rf work/Mods && cp -r work/kept work/Mods && w=work/Mods/Newbuilding2PD_RIR_7 && rm $w/Data/*_GameplayData.xml && mkfifo $w/Data/Newbuilding2PD_RIR_7_GameplayData.xml && run --show 7 --mods-dir Mods; rm $w/Data/*_GameplayData.xml && mkdir $w/Data/Newbuilding2PD_RIR_7_GameplayData.xml && run --show 7 --mods-dir Mods
  err: wondergen-cli: cannot read ./Mods/Newbuilding2PD_RIR_7/Data/Newbuilding2PD_RIR_7_GameplayData.xml: is a FIFO, a socket or a device, not a file, and is never read as one
  err: wondergen-cli: cannot read ./Mods/Newbuilding2PD_RIR_7/Data/Newbuilding2PD_RIR_7_GameplayData.xml: Is a directory
  [1]
  $ rm -rf work/Mods && cp -r work/kept work/Mods && mv $w/Text work/Text && ln -s ../../Text $w/Text && run --show 7 --mods-dir Mods; rm $w/Text && mv work/Text $w/
  err: wondergen-cli: cannot read ./Mods/Newbuilding2PD_RIR_7/Text: is a link, which is never followed
  $ mkdir $w/Notes && echo mine >$w/Notes/plan.txt && echo mine >$w/Data/extra.xml && to='>/dev/null' run --show 7 --mods-dir Mods
  err: wondergen-cli: ./Mods/Newbuilding2PD_RIR_7/Notes: no part of the wonder's package; making the wonder again deletes it
  err: wondergen-cli: ./Mods/Newbuilding2PD_RIR_7/Data/extra.xml: no part of the wonder's package; making the wonder again deletes it
  $ rm -rf work/Mods && cp -r work/kept work/Mods && sed -i 's/奇观 Wonder/Wonder/' work/AAA/Base/Assets/Text/Translations/Newbuilding2PD_7_zh_Hans_CN.xml && mv work/Mods work/elsewhere && run --show 7 --mods-dir Mods; mv work/elsewhere work/Mods
  err: wondergen-cli: cannot read ./AAA/Base/Assets/Text/Translations/Newbuilding2PD_7_zh_Hans_CN.xml: changed by hand or not made by this program
  $ rm -r work/AAA work/Mods/Newbuilding2PD_RIR_7/Newbuilding2PD_RIR_7.modinfo && run --show 7 --mods-dir Mods && run --list --mods-dir Mods
  err: wondergen-cli: wonder 7 is neither installed nor in ./AAA
  [1]
  $ rm -rf work/Mods/Newbuilding2PD_RIR_7 && mkdir work/Mods/Newbuilding2PD_RIR_7 && run --show 7 --mods-dir Mods
  err: wondergen-cli: wonder 7 is neither installed nor in ./AAA
  [1]
  $ rmdir work/Mods/Newbuilding2PD_RIR_7 && ln -s ../kept/Newbuilding2PD_RIR_7 work/Mods/ && run --show 7 --mods-dir Mods
  err: wondergen-cli: cannot read ./Mods/Newbuilding2PD_RIR_7: is a link, which is never followed
  [1]

Where the wonder is not installed, it is read from AAA in --out; where it is neither, nothing.

  $ case_ && to='>/dev/null' run --number 5 --science 3 && run --show 5 --mods-dir Mods && run --show 4 --mods-dir Mods
  out: --number=5 --science=3
  err: wondergen-cli: wonder 4 is neither installed nor in ./AAA
  [1]

--list: the wonders installed, ascending, each by the name the game shows; one that cannot be read
said so. Without --mods-dir, the Mods folder of the game's user folder.

  $ case_ && mkdir work/Mods && for number in 12 3; do to='>/dev/null' run --mods-dir Mods --number $number --building-name "奇观 $number"; done && to='>/dev/null' run --mods-dir Mods --number 1 && to='>/dev/null' run --mods-dir Mods --number 7 --building-name $'x\ty\nz\\' && echo x >>work/Mods/Newbuilding2PD_RIR_12/Text/Newbuilding2PD_12_zh_Hans_CN.xml
  $ run --list --mods-dir Mods
  out: 1\t圣女碑\t./Mods/Newbuilding2PD_RIR (esc)
  out: 3\t奇观 3\t./Mods/Newbuilding2PD_RIR_3 (esc)
  out: 7\tx\\ty\\nz\\\\\t./Mods/Newbuilding2PD_RIR_7 (esc)
  out: 12\t(cannot be read)\t./Mods/Newbuilding2PD_RIR_12 (esc)
  $ mkdir -p "work/share/aspyr-media/Sid Meier's Civilization VI" && mv work/Mods "work/share/aspyr-media/Sid Meier's Civilization VI/" && XDG_DATA_HOME=$scratch/work/share run --list | cut -f 1,2
  out: 1\t圣女碑 (esc)
  out: 3\t奇观 3 (esc)
  out: 7\tx\\ty\\nz\\\\ (esc)
  out: 12\t(cannot be read) (esc)
  $ run --list --mods-dir Mods

Readers take the folder's lock as runs do, so that none lands in the middle of a run: while another
holds the Mods folder, --list waits for it and says so; --show of a wonder in AAA waits for the
output folder.

  $ case_ && mkdir work/Mods && to='>/dev/null' run --mods-dir Mods --number 99 && to='>/dev/null' run --number 5 --science 3
  $ waits() {
  >   rm -f out err && exec 9<"work/$1" && flock 9 && shift
  >   (cd work && exec "$cli" "$@" >../out 2>../err 9<&-) & local pid=$!
  >   while kill -0 $pid 2>/dev/null && ! grep -qs waiting err; do sleep 0.01; done
  >   flock -u 9; exec 9<&-; wait $pid; echo "exit $?" && sed "s|$scratch/work|.|g" out err
  > }
  $ waits Mods --list --mods-dir Mods
  exit 0
  99\t圣女碑\t./Mods/Newbuilding2PD_RIR_99 (esc)
  wondergen-cli: waiting for another run of wondergen, which works in ./Mods
  $ waits . --show 5 --mods-dir Mods
  exit 0
  --number=5 --science=3
  wondergen-cli: waiting for another run of wondergen, which works in .

--remove: the wonder's folder alone goes, a link as the link; what is not installed is a failure.

  $ case_ && mkdir -p work/Mods/OtherMod work/outside && echo canary >work/outside/canary.txt && for number in 1 3; do to='>/dev/null' run --mods-dir Mods --number $number; done && ln -s ../outside work/Mods/Newbuilding2PD_RIR_5
  $ run --remove 3 --mods-dir Mods && run --remove 5 --mods-dir Mods && tree Mods | grep -v '/.*/.' && tree outside
  out: ./Mods/Newbuilding2PD_RIR_3
  out: ./Mods/Newbuilding2PD_RIR_5
  Mods/Newbuilding2PD_RIR/
  Mods/OtherMod/
  outside/canary.txt 7
  $ run --remove 3 --mods-dir Mods
  err: wondergen-cli: wonder 3 is not installed
  [1]

A Mods folder that is a file is said to be no folder, for --list, --show and --remove alike, and
it is left as it was; an install into it fails as it is made (install.t).

  $ echo x >work/file && for action in --list '--show 1' '--remove 1'; do run $action --mods-dir file; echo "exit $?"; done; cat work/file
  err: wondergen-cli: --mods-dir: "file": Not a directory
  exit 1
  err: wondergen-cli: --mods-dir: "file": Not a directory
  exit 1
  err: wondergen-cli: --mods-dir: "file": Not a directory
  exit 1
  x

A Mods folder the user may not change: the failure named, with the system's reason; the wonder
stays installed, whole, and loaded by the game.

  $ chmod -R u+w work/Mods && as_user && chmod 555 work/Mods && run --remove 1 --mods-dir Mods; echo "exit $?"; tree Mods | grep modinfo
  err: wondergen-cli: cannot remove ./Mods/Newbuilding2PD_RIR: Permission denied
  exit 1
  Mods/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo 5510
  $ to=">/dev/null" run --show 1 --mods-dir Mods && echo whole
  whole

A folder the user may not read: a wonder's is listed as one that cannot be read, and --show says
why; another wonder's keeps no install or removal of this one from ending whole; a whole Mods
folder that cannot be read is said so by --list and --show, exit status 1.

  $ case_ && mkdir work/Mods && for n in 3 4; do to='>/dev/null' run --mods-dir Mods --number $n; done && as_user && chmod 000 work/Mods/Newbuilding2PD_RIR_3
  $ run --list --mods-dir Mods; run --show 3 --mods-dir Mods
  out: 3\t(cannot be read)\t./Mods/Newbuilding2PD_RIR_3 (esc)
  out: 4\t圣女碑\t./Mods/Newbuilding2PD_RIR_4 (esc)
  err: wondergen-cli: cannot read ./Mods/Newbuilding2PD_RIR_3: Permission denied
  [1]
  $ to='>/dev/null' run --mods-dir Mods --number 4 --science 9 && run --remove 4 --mods-dir Mods
  out: ./Mods/Newbuilding2PD_RIR_4
  $ chmod 000 work/Mods && run --list --mods-dir Mods; run --show 3 --mods-dir Mods; chmod 755 work/Mods
  err: wondergen-cli: cannot read ./Mods: Permission denied
  err: wondergen-cli: cannot read ./Mods: Permission denied

Each stands alone: with a form's options, or with another, it is bad usage.

  $ run --list --science 5
  err: wondergen-cli: --list and --science exclude each other
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --science 5 --show 2
  err: wondergen-cli: --show and --science exclude each other
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --show 2 --remove 2
  err: wondergen-cli: --show and --remove exclude each other
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --show 3 --show 4; run --list --list; run --remove 3 --rem=3
  err: wondergen-cli: --show is given twice
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --list is given twice
  err: Try 'wondergen-cli --help'.
  err: wondergen-cli: --remove is given twice
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --list=all
  err: wondergen-cli: --list takes no value
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --remove 100
  err: wondergen-cli: --remove: "100" is not a number from 1 to 99
  err: Try 'wondergen-cli --help'.
  [2]
