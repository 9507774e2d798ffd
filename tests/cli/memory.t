wondergen-cli within a limit of its address space (ulimit -v), as on a small machine: a picture
file is read no further than its picture needs, and memory that runs out is a message and exit
status 1, never an abort. AddressSanitizer reserves more address space than such a limit allows,
so its build skips these.

  $ [ "$WONDERGEN_SANITIZE" != ON ] || exit 80
  $ . "$TESTDIR/helpers.sh"

Within 400 MB: a file of 300 MB that is no picture, and one whose first 33 bytes are a PNG's
header, are refused from their first bytes; AAA stays as it was.

  $ case_ && mkdir -p work/AAA/old && truncate -s 300M work/big.bin && head -c 33 "$golden/pictures/wonder.png" >work/big.png && truncate -s 300M work/big.png
  $ prefix=(sh -c 'ulimit -v 400000 && exec "$0" "$@"')
  $ for picture in big.bin big.png; do run --icon $picture; echo "exit $?"; done; tree
  err: wondergen-cli: --icon: "big.bin": not a picture that can be read (PNG, JPEG, BMP or GIF)
  exit 2
  err: wondergen-cli: --icon: "big.png": the picture is cut short or damaged
  exit 2
  AAA/old/

Within 150 MB: a BMP of 7000 x 7000 pixels, whose 196 MB stb_image cannot have, and whose pixels
the file holds (as zeros, in a file with holes).

  $ printf 'BM\0\0\0\0\0\0\0\0\066\0\0\0\050\0\0\0\130\033\0\0\130\033\0\0\001\0\030\0' >work/huge.bmp && truncate -s 147000054 work/huge.bmp
  $ prefix=(sh -c 'ulimit -v 150000 && exec "$0" "$@"')
  $ run --icon huge.bmp; echo "exit $?"; tree
  err: wondergen-cli: out of memory: Cannot allocate memory
  exit 1
  AAA/old/

Within 200 MB: a PNG of 16 x 16 whose text chunk (tEXt) holds 300 MB, which libpng passes over as
it makes its pixels: the icon is made.

  $ case_ && python3 -c 'import functools, struct, sys, zlib; chunk = lambda kind, data: struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data)); zeros = bytes(1 << 20); crc = functools.reduce(lambda crc, _: zlib.crc32(zeros, crc), range(300), zlib.crc32(b"tEXtComment\0")); f = open(sys.argv[1], "wb"); f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 16, 16, 8, 6, 0, 0, 0)) + struct.pack(">I", 8 + (300 << 20)) + b"tEXtComment\0"); f.seek(300 << 20, 1); f.write(struct.pack(">I", crc) + chunk(b"IDAT", zlib.compress(bytes(16 * 65))) + chunk(b"IEND", b""))' work/text.png
  $ prefix=(sh -c 'ulimit -v 200000 && exec "$0" "$@"')
  $ to='>/dev/null' run --icon text.png; echo "exit $?"; ls work/AAA/DLC/Newbuilding2PD_RIR/Icons | wc -l
  exit 0
  8
