#!/usr/bin/env python3
# Loads every golden package into mirrors of the game's databases the way the game does.
#
# The game reads the package through its manifest: the files of its UpdateDatabase components go
# into the gameplay database alone, those of its UpdateText components into the localization
# database, each named relative to the manifest's folder. The mod list needs more of the manifest:
# well-formed, every file under Files there, component ids that are identifiers, and the Name,
# Teaser and Description tags given their texts in its own LocalizedText block, which must be the
# texts that the localization database then holds for them. Each document is one save point: a Row is inserted, a Replace inserted
# or replaced, its attributes and child elements being the columns ("true" and "false" become 1 and
# 0 in boolean columns), and the first error (a table or column the database lacks, a constraint)
# loses the whole document. Then the foreign keys of the whole database are checked, as the game
# validates after loading, and the databases must give the rows of expected-rows.txt.
#
# load_packages.py <golden dir> <fixture dir> [<package dir>...]
import pathlib
import re
import sqlite3
import sys
import xml.etree.ElementTree as ElementTree


# The game hashes the names of kinds and types; any stable 32-bit hash will do here.
def make_hash(text):
    value = 2166136261
    for byte in text.encode():
        value = ((value ^ byte) * 16777619) & 0xFFFFFFFF
    return value - (1 << 32) if value >= 1 << 31 else value


# A database made from the fixture with each document loaded whole, or the first error raised.
def load(fixture, documents):
    database = sqlite3.connect(":memory:", isolation_level=None)
    database.create_function("Make_Hash", 1, make_hash, deterministic=True)
    database.executescript(fixture.read_text(encoding="utf-8"))
    for document in documents:
        load_document(database, document)
    return lambda sql, *values: ["|".join(map(str, row)) for row in database.execute(sql, values)]


def load_document(database, document):
    database.execute("SAVEPOINT document")
    for table in ElementTree.parse(document).getroot():
        boolean = {column[1] for column in database.execute(f'PRAGMA table_info("{table.tag}")')
                   if column[2] == "BOOLEAN"}
        for row in table:
            columns = list(row.attrib.items()) + [(child.tag, child.text) for child in row]
            values = [{"true": 1, "false": 0}.get(value, value) if name in boolean else value
                      for name, value in columns]
            verb = {"Row": "INSERT", "Replace": "INSERT OR REPLACE"}[row.tag]
            names = ", ".join(f'"{name}"' for name, _ in columns)
            try:
                database.execute(f'{verb} INTO "{table.tag}" ({names}) VALUES '
                                 f'({", ".join("?" * len(columns))})', values)
            except sqlite3.Error as error:
                database.execute("ROLLBACK TO document")
                raise AssertionError(f"{document.name}: {table.tag}: {error}") from None
    database.execute("RELEASE document")


# The queries of expected-rows.txt, each with the rows it must give.
def expectations(path):
    queries = []
    for line in path.read_text(encoding="utf-8").splitlines():
        if line.startswith("= "):
            queries[-1][2].append(line[2:])
        elif line and not line.startswith("#"):
            queries.append((*line.split(": ", 1), []))
    return queries


def check(package, fixtures):
    mod = package / "AAA/DLC/Newbuilding2PD_RIR"
    manifest = ElementTree.parse(mod / "Newbuilding2PD_RIR.modinfo").getroot()
    for file in manifest.iterfind("Files/File"):
        assert (mod / file.text).is_file(), f"Files names {file.text}, which is not there"
    loaded = {"UpdateDatabase": [], "UpdateText": [], "UpdateIcons": []}
    for component in manifest.find("Components"):
        name = component.get("id", "")
        items = [mod / item.text for item in component.iterfind("Items/File")]
        assert re.fullmatch("[A-Za-z][A-Za-z0-9_]*", name) and items, f"component {name!r}"
        loaded[component.tag] += items
    databases = {
        "gameplay": load(fixtures / "gameplay_fixture.sql", loaded["UpdateDatabase"]),
        "texts": load(fixtures / "localization_fixture.sql", loaded["UpdateText"]),
        "icons": load(fixtures / "icon_fixture.sql", loaded["UpdateIcons"])}
    for database, sql, rows in expectations(fixtures / "expected-rows.txt"):
        found = databases[database](sql)
        assert found == rows, f"{database}: {sql}: {found}"
    for property in ("Name", "Teaser", "Description"):
        tag = manifest.findtext(f"Properties/{property}")
        listed = manifest.findtext(f"LocalizedText/Text[@id='{tag}']/zh_Hans_CN")
        texts = databases["texts"]("SELECT Text FROM LocalizedText WHERE Tag = ?", tag)
        assert [listed] == texts, f"the mod list's {property} {listed!r} is not {texts}"


def main():
    golden, fixtures = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    packages = [pathlib.Path(path) for path in sys.argv[3:]] or sorted(golden.glob("*/"))
    failed = 0
    for package in packages:
        try:
            check(package, fixtures)
            print(f"ok    {package.name} loads whole")
        except (AssertionError, KeyError, OSError, ElementTree.ParseError) as error:
            print(f"FAIL  {package.name}: {error}")
            failed += 1
    return 1 if failed or not packages else 0


if __name__ == "__main__":
    sys.exit(main())
