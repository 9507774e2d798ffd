#!/usr/bin/env python3
# Loads every golden package into mirrors of the game's databases the way the game does.
#
# The gameplay data document goes into the gameplay database alone, the localization document into
# the localization database. Each document is one save point: a Row is inserted, a Replace inserted
# or replaced, its attributes and child elements being the columns ("true" and "false" become 1 and
# 0 in boolean columns), and the first error (a table or column the database lacks, a constraint)
# loses the whole document. Then the foreign keys of the whole database are checked, as the game
# validates after loading, and the databases must give the rows of expected-rows.txt.
#
# load_packages.py <golden dir> <fixture dir> [<package dir>...]
import pathlib
import sqlite3
import sys
import xml.etree.ElementTree as ElementTree


# The game hashes the names of kinds and types; any stable 32-bit hash will do here.
def make_hash(text):
    value = 2166136261
    for byte in text.encode():
        value = ((value ^ byte) * 16777619) & 0xFFFFFFFF
    return value - (1 << 32) if value >= 1 << 31 else value


# A database made from the fixture with the document loaded whole, or the first error raised.
def load(fixture, document):
    database = sqlite3.connect(":memory:", isolation_level=None)
    database.create_function("Make_Hash", 1, make_hash, deterministic=True)
    database.executescript(fixture.read_text(encoding="utf-8"))
    database.execute("SAVEPOINT document")
    for table in ElementTree.fromstring(document.read_bytes()):
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
    return lambda sql: ["|".join(map(str, row)) for row in database.execute(sql)]


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
    databases = {
        "gameplay": load(fixtures / "gameplay_fixture.sql", package /
                         "AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml"),
        "texts": load(fixtures / "localization_fixture.sql", package /
                      "AAA/Base/Assets/Text/Translations/Newbuilding2PD_zh_Hans_CN.xml")}
    for database, sql, rows in expectations(fixtures / "expected-rows.txt"):
        found = databases[database](sql)
        assert found == rows, f"{database}: {sql}: {found}"


def main():
    golden, fixtures = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    packages = [pathlib.Path(path) for path in sys.argv[3:]] or sorted(golden.glob("*/"))
    failed = 0
    for package in packages:
        try:
            check(package, fixtures)
            print(f"ok    {package.name} loads whole")
        except AssertionError as error:
            print(f"FAIL  {package.name}: {error}")
            failed += 1
    return 1 if failed or not packages else 0


if __name__ == "__main__":
    sys.exit(main())
