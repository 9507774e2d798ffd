wondergen-cli installing the mod into a Mods folder of the game: the folder Newbuilding2PD_RIR
there is the one in AAA's DLC folder, byte for byte, and nothing else in Mods is touched.

  $ . "$TESTDIR/helpers.sh"

A Mods folder holding another mod and a file: the mod is installed beside them, and a second run
rebuilds it, a stray file in it gone.

  $ case_ && mkdir -p work/Mods/OtherMod && echo canary >work/Mods/OtherMod/other.modinfo && echo notes >work/Mods/notes.txt
  $ run --mods-dir Mods --science 25 | grep -v '^out: ./AAA'
  out: ./Mods/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml
  out: ./Mods/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml
  out: ./Mods/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml
  out: ./Mods/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_Icons.xml
  out: ./Mods/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo
  $ echo stray >work/Mods/Newbuilding2PD_RIR/Data/stray.xml && to='>/dev/null' run --mods-dir Mods --science 25
  $ diff -r work/Mods/Newbuilding2PD_RIR "$golden/science-25/AAA/DLC/Newbuilding2PD_RIR" && tree Mods
  Mods/Newbuilding2PD_RIR/
  Mods/Newbuilding2PD_RIR/Data/
  Mods/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml 2084
  Mods/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_Icons.xml 277
  Mods/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo 5510
  Mods/Newbuilding2PD_RIR/Text/
  Mods/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml 7399
  Mods/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml 792
  Mods/OtherMod/
  Mods/OtherMod/other.modinfo 7
  Mods/notes.txt 6

A Mods folder that is missing is made; one whose parent is missing is bad usage; one that is a
file is a failure of the run, AAA written.

  $ case_ && mkdir work/new && to='>/dev/null' run --mods-dir new/Mods/ && tree new | head -2
  new/Mods/
  new/Mods/Newbuilding2PD_RIR/
  $ run --mods-dir missing/Mods
  err: wondergen-cli: --mods-dir: "missing/Mods": No such file or directory
  [2]
  $ echo file >work/Mods && run --mods-dir Mods | grep -v '^out: ./AAA'; echo "exit ${PIPESTATUS[0]}"
  err: wondergen-cli: cannot create folder ./Mods: Not a directory
  exit 1
  $ diff -r work/AAA "$golden/empty/AAA" && echo "AAA written"
  AAA written

The installed folder left as a link to a folder outside: removed as the link, never followed.

  $ case_ && mkdir -p work/Mods work/outside && echo canary >work/outside/canary.txt && ln -s ../outside work/Mods/Newbuilding2PD_RIR
  $ to='>/dev/null' run --mods-dir Mods && tree outside && diff -r work/Mods/Newbuilding2PD_RIR "$golden/empty/AAA/DLC/Newbuilding2PD_RIR"
  outside/canary.txt 7

AAA to be made inside the installed folder, which the install replaces, itself or through a link:
refused before anything changes.

  $ case_ && mkdir work/Mods && to='>/dev/null' run --mods-dir Mods --science 25 && ln -s Mods/Newbuilding2PD_RIR/Text work/inside
  $ for out in Mods/Newbuilding2PD_RIR inside; do run --out $out --mods-dir Mods --science 30; done
  err: wondergen-cli: cannot install ./Mods/Newbuilding2PD_RIR: is a wonder's folder, which installing replaces, and holds the folder AAA is made in, so nothing is done
  err: wondergen-cli: cannot install ./Mods/Newbuilding2PD_RIR: is a wonder's folder, which installing replaces, and holds the folder AAA is made in, so nothing is done
  [1]
  $ diff -r work/Mods/Newbuilding2PD_RIR "$golden/science-25/AAA/DLC/Newbuilding2PD_RIR" && ls work/Mods
  Newbuilding2PD_RIR
  $ mkdir work/Mods/Newbuilding2PD_RIR_4.wondergen-old && run --out Mods/Newbuilding2PD_RIR_4.wondergen-old --mods-dir Mods
  err: wondergen-cli: cannot install ./Mods/Newbuilding2PD_RIR_4.wondergen-old: is a wonder's folder, which installing replaces, and holds the folder AAA is made in, so nothing is done
  [1]
  $ rmdir work/Mods/*.wondergen-old && mkdir work/Mods/OtherMod && to='>/dev/null' run --out Mods/OtherMod --mods-dir Mods --science 25 && diff -r work/Mods/OtherMod/AAA "$golden/science-25/AAA" && echo "made beside"
  made beside

A failed install over a working one (the disk full, as a file larger than the file-size limit
makes it): the working one stays as it was, byte for byte, and nothing half-written beside it.

  $ case_ && mkdir work/Mods && to='>/dev/null' run --mods-dir Mods --science 25
  $ prefix=(sh -c 'ulimit -f 2 && exec "$0" "$@"') && run --mods-dir Mods --science 30 | grep -v "^out: ./AAA"
  err: wondergen-cli: cannot write ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml: File too large
  err: wondergen-cli: cannot write ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml: File too large
  err: wondergen-cli: cannot write ./AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo: File too large
  err: wondergen-cli: cannot write ./Mods/Newbuilding2PD_RIR.wondergen-new/Text/Newbuilding2PD_OtherLanguages.xml: File too large
  err: wondergen-cli: cannot write ./Mods/Newbuilding2PD_RIR.wondergen-new/Data/Newbuilding2PD_RIR_GameplayData.xml: File too large
  err: wondergen-cli: cannot write ./Mods/Newbuilding2PD_RIR.wondergen-new/Newbuilding2PD_RIR.modinfo.wondergen-new: File too large
  err: wondergen-cli: cannot install ./Mods/Newbuilding2PD_RIR: not every file could be written, so the new files are removed and what was installed is left as it was
  $ ls work/Mods && diff -r work/Mods/Newbuilding2PD_RIR "$golden/science-25/AAA/DLC/Newbuilding2PD_RIR" && tree . | grep -v '/$'
  Newbuilding2PD_RIR
  ./AAA/Base/Assets/Text/Translations/Newbuilding2PD_zh_Hans_CN.xml 792
  ./AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_Icons.xml 277
  ./AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml 792
  ./Mods/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml 2084
  ./Mods/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_Icons.xml 277
  ./Mods/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo 5510
  ./Mods/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml 7399
  ./Mods/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml 792

Runs at once, two of each of seven forms into one output folder and one Mods folder, five times
over: they take their turns, every one exits 0, and AAA and the installed folder each hold the
whole package of one form, the same one.

  $ forms="author-abc empty every-field-7 markup-and-long-teaser odd-values science-25 window-form"
  $ for trial in 1 2 3 4 5; do case_ && mkdir work/Mods && pids=() && for form in $forms $forms; do (mapfile -t arguments < <(sed "s|^golden/|$golden/|" "$golden/$form/args") && cd work && exec "$cli" --mods-dir Mods "${arguments[@]}" >/dev/null 2>&1) & pids+=($!); done; failed=0 && for pid in "${pids[@]}"; do wait $pid || failed=$((failed + 1)); done; echo "$failed failed; the package of $(for form in $forms; do diff -r -x Icons work/AAA "$golden/$form/AAA" >/dev/null 2>&1 && diff -r -x Icons work/Mods/Newbuilding2PD_RIR "$golden/$form/AAA/DLC/Newbuilding2PD_RIR" >/dev/null 2>&1 && echo $form; done | wc -l) form, and $(ls work/Mods | wc -l) folder in Mods"; done
  0 failed; the package of 1 form, and 1 folder in Mods
  0 failed; the package of 1 form, and 1 folder in Mods
  0 failed; the package of 1 form, and 1 folder in Mods
  0 failed; the package of 1 form, and 1 folder in Mods
  0 failed; the package of 1 form, and 1 folder in Mods

Runs lock their folders in one order, whatever the order of their options: two runs with crossed
--out and --mods-dir never hold one folder each while waiting for the other's. The folder that
comes first (by its inode number) is held while the run waits for the other, which another holds;
and two runs at once, crossed, both exit 0, each leaving its whole package, three times over.

  $ case_ && mkdir work/a work/b && set -- $(cd work && stat -c '%i %n' a b | sort -n | cut -d ' ' -f 2) && first=$1 second=$2
  $ exec 9<"work/$second"; flock 9; (cd work && exec "$cli" --out "$second" --mods-dir "$first" >/dev/null 2>../err 9<&-) & pid=$!
  $ while kill -0 $pid 2>/dev/null && ! grep -qs waiting err; do sleep 0.01; done; flock -n "work/$first" true || echo "the first held while the run waits"
  the first held while the run waits
  $ flock -u 9; exec 9<&-; wait $pid; echo "exit $?"
  exit 0
  $ for trial in 1 2 3; do (cd work && exec "$cli" --out a --mods-dir b --science 25 >/dev/null 2>&1) & one=$!; (cd work && exec "$cli" --out b --mods-dir a >/dev/null 2>&1) & two=$!; wait $one; first=$?; wait $two; echo "exit $first $?"; diff -r work/a/AAA "$golden/science-25/AAA" && diff -r work/b/Newbuilding2PD_RIR "$golden/science-25/AAA/DLC/Newbuilding2PD_RIR" && diff -r work/b/AAA "$golden/empty/AAA" && diff -r work/a/Newbuilding2PD_RIR "$golden/empty/AAA/DLC/Newbuilding2PD_RIR" && echo whole; done
  exit 0 0
  whole
  exit 0 0
  whole
  exit 0 0
  whole

AAA's folder as the Mods folder is locked once; another run holding the Mods folder for 30
seconds (flock holds it here) fails the run, which changes nothing, not even AAA, and --list at
the same time, each saying so.

  $ case_ && to='>/dev/null' run --mods-dir . && ls work
  AAA
  Newbuilding2PD_RIR
  $ case_ && mkdir -p work/Mods work/AAA && touch work/AAA/old && exec 9<work/Mods && flock 9
  $ (cd work && "$cli" --mods-dir Mods 2>&1 9<&-; echo "exit $?") >run.txt & (cd work && "$cli" --list --mods-dir Mods 2>&1 9<&-; echo "exit $?") >list.txt & wait; flock -u 9; exec 9<&-; sed "s|$scratch/work|.|g" run.txt list.txt; tree
  wondergen-cli: waiting for another run of wondergen, which works in ./Mods
  wondergen-cli: cannot work in ./Mods: another run of wondergen held it for 30 seconds
  exit 1
  wondergen-cli: waiting for another run of wondergen, which works in ./Mods
  wondergen-cli: cannot work in ./Mods: another run of wondergen held it for 30 seconds
  exit 1
  AAA/old 0

A re-install over an installed folder that the user may not write (mode 555): the retired
folder's manifest cannot take its other name, so the run goes back: the new folder removed, the
one installed before in its place, loaded alone, and read back by --list and --show; and so again
at a second re-install. A retired folder that a run could not put back is the one the game loads,
and the one read back; the next run, of any wonder, puts it back.

  $ case_ && mkdir work/Mods && to='>/dev/null' run --mods-dir Mods --number 6 --science 5 && as_user && chmod 555 work/Mods/Newbuilding2PD_RIR_6
  $ for science in 9 11; do to='>/dev/null' run --mods-dir Mods --number 6 --science $science; echo "exit $?"; done
  err: wondergen-cli: cannot install ./Mods/Newbuilding2PD_RIR_6.wondergen-old: Permission denied
  err: wondergen-cli: cannot install ./Mods/Newbuilding2PD_RIR_6: a manifest could not be renamed, so the new folder is removed and what was installed is put back as it was
  exit 1
  err: wondergen-cli: cannot install ./Mods/Newbuilding2PD_RIR_6.wondergen-old: Permission denied
  err: wondergen-cli: cannot install ./Mods/Newbuilding2PD_RIR_6: a manifest could not be renamed, so the new folder is removed and what was installed is put back as it was
  exit 1
  $ (cd work && find Mods -name '*.modinfo*'); run --list --mods-dir Mods && run --show 6 --mods-dir Mods
  Mods/Newbuilding2PD_RIR_6/Newbuilding2PD_RIR_6.modinfo
  out: 6\t圣女碑\t./Mods/Newbuilding2PD_RIR_6 (esc)
  out: --number=6 --science=5
  $ mv work/Mods/Newbuilding2PD_RIR_6 work/Mods/Newbuilding2PD_RIR_6.wondergen-old && run --list --mods-dir Mods && run --show 6 --mods-dir Mods
  out: 6\t圣女碑\t./Mods/Newbuilding2PD_RIR_6.wondergen-old (esc)
  out: --number=6 --science=5
  $ to='>/dev/null' run --mods-dir Mods --number 2 && ls work/Mods
  Newbuilding2PD_RIR_2
  Newbuilding2PD_RIR_6

--install finds the game's folder in $XDG_DATA_HOME, or without it in ~/.local/share, and its Mods
folder is made where missing; without the game's folder, AAA is written and the folder looked for
is named.

  $ case_ && export XDG_DATA_HOME=$PWD/work/data && mkdir -p "work/data/aspyr-media/Sid Meier's Civilization VI"
  $ run --install | grep -v '^out: ./AAA'
  out: ./data/aspyr-media/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml
  out: ./data/aspyr-media/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml
  out: ./data/aspyr-media/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml
  out: ./data/aspyr-media/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_Icons.xml
  out: ./data/aspyr-media/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo
  $ unset XDG_DATA_HOME && mkdir work/.local && mv work/data work/.local/share
  $ HOME=$PWD/work run --install | grep -v '^out: ./AAA' | head -1
  out: ./.local/share/aspyr-media/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml
  $ export XDG_DATA_HOME=$PWD/work/data && rm -r work/.local && run --install | grep -v '^out: ./AAA'; echo "exit ${PIPESTATUS[0]}" && ls work
  err: wondergen-cli: --install: no folder of the game at "./data/aspyr-media/Sid Meier's Civilization VI"; start the game once, or give --mods-dir
  exit 1
  AAA

Wonders 1, 2, 7 and 99, made one after another into one Mods folder, are four mods beside each
other that load together into one game's databases, each keeping its own rows, id and texts in
every language; making wonder 2 again rebuilds its folder alone.

  $ case_ && mkdir work/Mods && for n in 1 2 7 99; do to='>/dev/null' run --mods-dir Mods --number $n --building-name "奇观$n" --science $n; done
  $ ls work/Mods && python3 "$database/load_packages.py" --together "$database" work/Mods/*
  Newbuilding2PD_RIR
  Newbuilding2PD_RIR_2
  Newbuilding2PD_RIR_7
  Newbuilding2PD_RIR_99
  ok    4 mods load together
  $ cp -a work/Mods work/before && to='>/dev/null' run --mods-dir Mods --number 2 --building-name 又一座 --science 2 && diff -rq work/before work/Mods
  Files work/before/Newbuilding2PD_RIR_2/Text/Newbuilding2PD_2_OtherLanguages.xml and work/Mods/Newbuilding2PD_RIR_2/Text/Newbuilding2PD_2_OtherLanguages.xml differ
  Files work/before/Newbuilding2PD_RIR_2/Text/Newbuilding2PD_2_zh_Hans_CN.xml and work/Mods/Newbuilding2PD_RIR_2/Text/Newbuilding2PD_2_zh_Hans_CN.xml differ
  [1]

Wonders 1 and 7 with icons of their own, made from one hand-made picture into one Mods folder,
load together, each texture named by an atlas imported by its own mod alone. Each mod's square and
textures are the picture fitted into 256 x 256 and scaled, as the test's own means make them; and
so for a square already 256 x 256 of two colours, taken as it is, a picture twice as wide as high,
in the middle half, and a white square on a transparent black ground, whose edges stay light.

  $ case_ && mkdir work/Mods && for n in 1 7; do to='>/dev/null' run --mods-dir Mods --number $n --icon "$golden/pictures/wonder.png"; done
  $ python3 "$database/load_packages.py" --together "$database" work/Mods/* && $check_icons work/Mods/Newbuilding2PD_RIR_7 "$golden/pictures/wonder.png"
  ok    2 mods load together
  ok    Newbuilding2PD_RIR_7: its square and its 7 textures
  $ for picture in wonder two-colour wide clear-edge; do to='>/dev/null' run --mods-dir Mods --icon "$golden/pictures/$picture.png" && $check_icons work/Mods/Newbuilding2PD_RIR "$golden/pictures/$picture.png"; done
  ok    Newbuilding2PD_RIR: its square and its 7 textures
  ok    Newbuilding2PD_RIR: its square and its 7 textures
  ok    Newbuilding2PD_RIR: its square and its 7 textures
  ok    Newbuilding2PD_RIR: its square and its 7 textures

The pictures players have: PNG interlaced, with a palette, grey, 16-bit grey; 16-bit and
interlaced in each of its four kinds (grey, grey with alpha, RGB, RGBA; 16 bits read as their high
byte, as Pillow reads them); JPEG with its EXIF orientation (stored on its side), in CMYK, and with restart markers; BMP,
and one 5 pixels wide, whose rows are padded; and GIF, its first frame with its transparent
colour, and one interlaced. Each is read as Pillow reads it, exactly where the picture is 256 x
256.

  $ for picture in interlaced.png palette.png grey.png grey16.png interlaced16-grey.png interlaced16-grey-alpha.png interlaced16-rgb.png interlaced16-rgba.png turned.jpg cmyk.jpg restart.jpg wonder.bmp odd-width.bmp animated.gif interlaced.gif; do to='>/dev/null' run --mods-dir Mods --icon "$golden/pictures/$picture" && echo -n "$picture: " && $check_icons work/Mods/Newbuilding2PD_RIR "$golden/pictures/$picture"; done
  interlaced.png: ok    Newbuilding2PD_RIR: its square and its 7 textures
  palette.png: ok    Newbuilding2PD_RIR: its square and its 7 textures
  grey.png: ok    Newbuilding2PD_RIR: its square and its 7 textures
  grey16.png: ok    Newbuilding2PD_RIR: its square and its 7 textures
  interlaced16-grey.png: ok    Newbuilding2PD_RIR: its square and its 7 textures
  interlaced16-grey-alpha.png: ok    Newbuilding2PD_RIR: its square and its 7 textures
  interlaced16-rgb.png: ok    Newbuilding2PD_RIR: its square and its 7 textures
  interlaced16-rgba.png: ok    Newbuilding2PD_RIR: its square and its 7 textures
  turned.jpg: ok    Newbuilding2PD_RIR: its square and its 7 textures
  cmyk.jpg: ok    Newbuilding2PD_RIR: its square and its 7 textures
  restart.jpg: ok    Newbuilding2PD_RIR: its square and its 7 textures
  wonder.bmp: ok    Newbuilding2PD_RIR: its square and its 7 textures
  odd-width.bmp: ok    Newbuilding2PD_RIR: its square and its 7 textures
  animated.gif: ok    Newbuilding2PD_RIR: its square and its 7 textures
  interlaced.gif: ok    Newbuilding2PD_RIR: its square and its 7 textures

And those a careful reader takes as they are: a BMP stored from the top down (its height negative,
its rows the other way round), and a JPEG with bytes between two of its segments, of which libjpeg
warns though every pixel is there. And a BMP with each later header that stb_image reads: of 108
and 124 bytes (BITMAPV4HEADER, BITMAPV5HEADER), and of 56 (Adobe's, which Pillow does not read:
its icon is the same as with 124).

  $ cd work && python3 -c 'import struct, sys; b = bytearray(sys.stdin.buffer.read()); h = -struct.unpack_from("<i", b, 22)[0]; struct.pack_into("<i", b, 22, h); row = len(b[54:]) // -h; b[54:] = b"".join(b[54 + row * i:54 + row * (i + 1)] for i in reversed(range(-h))); sys.stdout.buffer.write(b)' <"$golden/pictures/wonder.bmp" >top-down.bmp && jpeg="$golden/pictures/turned.jpg" && { head -c 56 "$jpeg"; printf '\0\0\0'; tail -c +57 "$jpeg"; } >extra-bytes.jpg && cd ..
  $ for picture in top-down.bmp extra-bytes.jpg; do to='>/dev/null' run --mods-dir Mods --icon $picture && echo -n "$picture: " && $check_icons work/Mods/Newbuilding2PD_RIR work/$picture; done
  top-down.bmp: ok    Newbuilding2PD_RIR: its square and its 7 textures
  extra-bytes.jpg: ok    Newbuilding2PD_RIR: its square and its 7 textures
  $ cd work && python3 -c 'import struct, sys; b = open(sys.argv[1], "rb").read(); [open(f"v{size}.bmp", "wb").write(b"BM" + struct.pack("<IHHII", 14 + size + len(b) - 54, 0, 0, 14 + size, size) + b[18:54] + bytes(size - 40) + b[54:]) for size in (56, 108, 124)]' "$golden/pictures/wonder.bmp" && cd ..
  $ for picture in v108.bmp v124.bmp; do to='>/dev/null' run --mods-dir Mods --icon $picture && echo -n "$picture: " && $check_icons work/Mods/Newbuilding2PD_RIR work/$picture; done
  v108.bmp: ok    Newbuilding2PD_RIR: its square and its 7 textures
  v124.bmp: ok    Newbuilding2PD_RIR: its square and its 7 textures
  $ cp -r work/Mods/Newbuilding2PD_RIR/Icons work/v124-icons && to='>/dev/null' run --mods-dir Mods --icon v56.bmp && diff -r work/v124-icons work/Mods/Newbuilding2PD_RIR/Icons && echo "v56.bmp: the icon of v124.bmp"
  v56.bmp: the icon of v124.bmp

The rules of play: every technology and every civic the program offers, each the prerequisite of
a wonder of its own, each wonder going out of date in an era of the eight, in turn; the wonders of
the technologies load together into one game's databases, and those of the civics, with their
foreign keys checked.

  $ "$cli" --prereqs | cut -f 1 | sed -n 's/^\(TECH\|CIVIC\)_.*/\1/p' | sort | uniq -c
       51 CIVIC
       68 TECH
  $ case_ && eras=(ANCIENT CLASSICAL MEDIEVAL RENAISSANCE INDUSTRIAL MODERN ATOMIC INFORMATION) && "$cli" --prereqs | cut -f 1 | sort | while read -r type; do kind=${type%%_*} && n=$([ "$kind" = "$last" ] && echo $((n + 1)) || echo 1) && last=$kind && (cd work && "$cli" --mods-dir $kind --number $n --prereq $type --obsolete-era ERA_${eras[n % 8]} --quote "$type" --cost $((n * 140)) >/dev/null) || echo "$type failed"; done
  $ python3 "$database/load_packages.py" --together "$database" work/TECH/* && python3 "$database/load_packages.py" --together "$database" work/CIVIC/*
  ok    68 mods load together
  ok    51 mods load together
