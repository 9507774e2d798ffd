#!/usr/bin/env python3
# Holds the golden documents to the byte counts of the format's line tables
# (constant-line-bytes.txt), so that a stray TAB cannot slip into an expectation. With every
# field set, every line of the layout stands in the files but the always-empty line 9 of the
# gameplay data document.
#
# check_line_bytes.py <golden dir>
import pathlib
import sys

golden = pathlib.Path(sys.argv[1])
form = golden / "every-field-7/AAA"
documents = {name: (form / path).read_bytes().splitlines(keepends=True) for name, path in {
    "localization": "Base/Assets/Text/Translations/Newbuilding2PD_zh_Hans_CN.xml",
    "gameplay": "DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml",
    "manifest": "DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo"}.items()}
rows = [row.split() for row in (golden / "constant-line-bytes.txt").read_text().splitlines()
        if row and not row.startswith("#")]
assert len(rows) == 13 + 46 + 36 and len(documents["gameplay"]) == 69, "the table or the files"
failed = 0
for document, line, size in rows:
    lines = documents[document]
    at = int(line) - (document == "gameplay" and int(line) > 9)
    if at >= len(lines) or len(lines[at]) != int(size):
        print(f"FAIL  {document} line {line} is not {size} bytes: {lines[at:at + 1]}")
        failed += 1
print(f"{len(rows) - failed} of {len(rows)} constant lines hold their byte counts")
sys.exit(1 if failed else 0)
