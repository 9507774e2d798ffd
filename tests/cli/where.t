wondergen-cli finding the game's folders in a home, with no --mods-dir: the native edition's, and
the Windows edition's run through Proton in every Steam library, the Flatpak's Steam included.

  $ . "$TESTDIR/helpers.sh" && unset XDG_DATA_HOME
  $ game="My Games/Sid Meier's Civilization VI" pfx=steamapps/compatdata/289070/pfx/drive_c/users/steamuser steam=work/home/.local/share/Steam
  $ where() { run --where | cut -f 1 | grep -v '^out: ./home/\.'; }  # the second library's folder, and what is said

A home holding the native edition, a Proton prefix in Steam's own library, reached also through
~/.steam/steam, a link to Steam's root; one in a second library that libraryfolders.vdf lists, its
path holding a quote and a backslash (and "My Documents", as older prefixes have it); and one in
the Flatpak's Steam. Each is found once; --install installs into each, --list lists each wonder in
each, --remove removes it from each.

  $ home() { case_ && export HOME=$PWD/work/home && mkdir -p "work/home/.local/share/aspyr-media/Sid Meier's Civilization VI" "$steam/$pfx/Documents/$game" "work/home/lib \"2\\/$pfx/My Documents/$game" "work/home/.var/app/com.valvesoftware.Steam/.local/share/Steam/$pfx/Documents/$game" work/home/.steam && ln -s ../.local/share/Steam work/home/.steam/steam && printf '"libraryfolders"\n{\n\t"0"\n\t{\n\t\t"path"\t\t"%s"\n\t}\n\t"1"\n\t{\n\t\t"path"\t\t"%s"\n\t}\n}\n' "$HOME/.local/share/Steam" "$HOME/lib \\\"2\\\\" >$steam/steamapps/libraryfolders.vdf; }
  $ home && run --where
  out: ./home/.local/share/aspyr-media/Sid Meier's Civilization VI\t./home/.local/share/aspyr-media/Sid Meier's Civilization VI/Mods (esc)
  out: ./home/.local/share/Steam/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/Documents/My Games/Sid Meier's Civilization VI\t./home/.local/share/Steam/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/Documents/My Games/Sid Meier's Civilization VI/Mods (esc)
  out: ./home/.var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/Documents/My Games/Sid Meier's Civilization VI\t./home/.var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/Documents/My Games/Sid Meier's Civilization VI/Mods (esc)
  out: ./home/lib "2\\\\/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/My Documents/My Games/Sid Meier's Civilization VI\t./home/lib "2\\\\/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/My Documents/My Games/Sid Meier's Civilization VI/Mods (esc)
  $ run --install | grep modinfo
  out: ./AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo
  out: ./home/.local/share/aspyr-media/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo
  out: ./home/.local/share/Steam/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/Documents/My Games/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo
  out: ./home/.var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/Documents/My Games/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo
  out: ./home/lib "2\/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/My Documents/My Games/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo
  $ run --number 7 --install >/dev/null && run --list
  out: 1\t\xe5\x9c\xa3\xe5\xa5\xb3\xe7\xa2\x91\t./home/.local/share/aspyr-media/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR (esc)
  out: 1\t\xe5\x9c\xa3\xe5\xa5\xb3\xe7\xa2\x91\t./home/.local/share/Steam/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/Documents/My Games/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR (esc)
  out: 1\t\xe5\x9c\xa3\xe5\xa5\xb3\xe7\xa2\x91\t./home/.var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/Documents/My Games/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR (esc)
  out: 1\t\xe5\x9c\xa3\xe5\xa5\xb3\xe7\xa2\x91\t./home/lib "2\\\\/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/My Documents/My Games/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR (esc)
  out: 7\t\xe5\x9c\xa3\xe5\xa5\xb3\xe7\xa2\x91\t./home/.local/share/aspyr-media/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR_7 (esc)
  out: 7\t\xe5\x9c\xa3\xe5\xa5\xb3\xe7\xa2\x91\t./home/.local/share/Steam/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/Documents/My Games/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR_7 (esc)
  out: 7\t\xe5\x9c\xa3\xe5\xa5\xb3\xe7\xa2\x91\t./home/.var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/Documents/My Games/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR_7 (esc)
  out: 7\t\xe5\x9c\xa3\xe5\xa5\xb3\xe7\xa2\x91\t./home/lib "2\\\\/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/My Documents/My Games/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR_7 (esc)
  $ run --remove 7
  out: ./home/.local/share/aspyr-media/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR_7
  out: ./home/.local/share/Steam/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/Documents/My Games/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR_7
  out: ./home/.var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/Documents/My Games/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR_7
  out: ./home/lib "2\/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/My Documents/My Games/Sid Meier's Civilization VI/Mods/Newbuilding2PD_RIR_7
  $ ls "work/home/lib \"2\\/$pfx/My Documents/$game/Mods"
  Newbuilding2PD_RIR

A game folder whose Mods folder is a link to another's: one Mods folder, listed and installed into
once.

  $ flat="work/home/.var/app/com.valvesoftware.Steam/.local/share/Steam/$pfx/Documents/$game" && rm -r "$flat/Mods" && ln -s "$HOME/.local/share/aspyr-media/Sid Meier's Civilization VI/Mods" "$flat/Mods" && run --list | wc -l && run --number 8 --install | grep -c modinfo
  3
  4

A libraryfolders.vdf that is not KeyValues, larger than 1 MiB, a FIFO, or that the user may not
read is named with what is wrong, and the libraries it lists alone are left out (the other three
folders are still found); one of 1 MiB is read.

  $ echo '{"libraryfolders": {"1": "/mnt"}}' >$steam/steamapps/libraryfolders.vdf && run --where | cut -f 1
  out: ./home/.local/share/aspyr-media/Sid Meier's Civilization VI
  out: ./home/.local/share/Steam/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/Documents/My Games/Sid Meier's Civilization VI
  out: ./home/.var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/Documents/My Games/Sid Meier's Civilization VI
  err: wondergen-cli: cannot read ./home/.local/share/Steam/steamapps/libraryfolders.vdf: line 1: a { where a key belongs; the game folders it would lead to are left out
  $ home && head -c $((1048576 - $(stat -c %s $steam/steamapps/libraryfolders.vdf))) /dev/zero | tr '\0' ' ' >>$steam/steamapps/libraryfolders.vdf && where
  out: ./home/lib "2\\/steamapps/compatdata/289070/pfx/drive_c/users/steamuser/My Documents/My Games/Sid Meier's Civilization VI
  $ echo ' ' >>$steam/steamapps/libraryfolders.vdf && where
  err: wondergen-cli: cannot read ./home/.local/share/Steam/steamapps/libraryfolders.vdf: File too large; the game folders it would lead to are left out
  $ rm $steam/steamapps/libraryfolders.vdf && mkfifo $steam/steamapps/libraryfolders.vdf && where
  err: wondergen-cli: cannot read ./home/.local/share/Steam/steamapps/libraryfolders.vdf: is a FIFO, a socket or a device, not a file, and is never read as one; the game folders it would lead to are left out
  $ home && as_user && chmod 000 $steam/steamapps/libraryfolders.vdf && where
  err: wondergen-cli: cannot read ./home/.local/share/Steam/steamapps/libraryfolders.vdf: Permission denied; the game folders it would lead to are left out

A game folder in which Mods cannot be made is a failure of that install alone.

  $ home && as_user && chmod 555 "work/home/.local/share/aspyr-media/Sid Meier's Civilization VI" && run --install | grep 'modinfo$\|^err' | sed 's/^out: .*/installed/'; echo "exit ${PIPESTATUS[0]}"
  installed
  installed
  installed
  installed
  err: wondergen-cli: cannot create folder ./home/.local/share/aspyr-media/Sid Meier's Civilization VI/Mods: Permission denied
  exit 1

None found: --where prints nothing, --install names where the game usually keeps its folder.

  $ case_ && export HOME=$PWD/work && run --where
  $ run --install | grep -v '^out: ./AAA'
  err: wondergen-cli: --install: no folder of the game at "./.local/share/aspyr-media/Sid Meier's Civilization VI"; start the game once, or give --mods-dir
  $ HOME= run --install | grep -v '^out: ./AAA'
  err: wondergen-cli: --install: the game's folder is not known here; give --mods-dir

--where stands alone: with a form's options, another action, a value or --mods-dir it is bad usage.

  $ run --where --science 5
  err: wondergen-cli: --where and --science exclude each other
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --list --where
  err: wondergen-cli: --list and --where exclude each other
  err: Try 'wondergen-cli --help'.
  [2]
  $ run --where=all
  err: wondergen-cli: --where takes no value
  err: Try 'wondergen-cli --help'.
  [2]
  $ mkdir work/Mods && run --mods-dir Mods --where
  err: wondergen-cli: --where and --mods-dir exclude each other
  err: Try 'wondergen-cli --help'.
  [2]
