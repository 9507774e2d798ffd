#!/usr/bin/env python3
# Loads mod packages into mirrors of the game's databases the way the game does.
#
# The game reads a mod through its manifest: the files of its UpdateDatabase components go into the
# gameplay database alone, those of its UpdateText components into the localization database and
# those of its UpdateIcons components into the icon database, each named relative to the manifest's
# folder; those of its ImportFiles components it loads as textures, by their names, which every
# atlas of its icons must name and no other mod may take. The mod list needs more of the manifest: well-formed, every file under Files there,
# component ids that are identifiers, and the Name, Teaser and Description tags given their texts
# in its own LocalizedText block in every language of the game, the texts that the localization
# database then holds for them. Each document is one save point: a Row is inserted, a Replace
# inserted or replaced, its attributes and child elements being the columns ("true" and "false"
# become 1 and 0 in boolean columns), and the first error (a table or column the database lacks, a
# constraint) loses the whole document. One game loads every enabled mod into the same databases.
#
# Alone, each golden package must give the rows of expected-rows.txt ("{_N}" standing for "" in
# wonder 1's names and "_N" in wonder N's), after the foreign keys are checked as the game checks
# them. Together, as one game loads them, wonders 1, 2 and 99 must each keep every row as it wrote
# it and an id of its own, and each wonder's name and each mod's list texts must be that mod's own
# in every language.
#
# load_packages.py <golden dir> <fixture dir>          the golden packages, alone and together
# load_packages.py --together <fixture dir> <mod>...   mod folders, together
import pathlib
import re
import sqlite3
import sys
import xml.etree.ElementTree as ElementTree
import zlib

LANGUAGES = ["zh_Hans_CN", "en_US", "fr_FR", "de_DE", "it_IT", "es_ES", "ja_JP", "ru_RU", "pl_PL",
             "ko_KR", "zh_Hant_HK", "pt_BR"]
DATABASES = {"UpdateDatabase": "gameplay", "UpdateText": "texts", "UpdateIcons": "icons",
             "ImportFiles": "imported"}


def database(fixture):
    connection = sqlite3.connect(":memory:", isolation_level=None)
    # The game hashes the names of kinds and types; any stable 32-bit hash will do here.
    connection.create_function("Make_Hash", 1, lambda text: zlib.crc32(text.encode()),
                               deterministic=True)
    connection.executescript(fixture.read_text(encoding="utf-8"))
    return connection


def query(connection, sql, *values):
    return ["|".join(map(str, row)) for row in connection.execute(sql, values)]


# Loads a document whole or not at all; returns its rows as written: table, columns, values.
def load_document(connection, document):
    connection.execute("SAVEPOINT document")
    rows = []
    for table in ElementTree.parse(document).getroot():
        boolean = {column[1] for column in connection.execute(f'PRAGMA table_info("{table.tag}")')
                   if column[2] == "BOOLEAN"}
        for row in table:
            columns = list(row.attrib.items()) + [(child.tag, child.text) for child in row]
            values = [{"true": 1, "false": 0}.get(value, value) if name in boolean else value
                      for name, value in columns]
            names = [f'"{name}"' for name, _ in columns]
            verb = {"Row": "INSERT", "Replace": "INSERT OR REPLACE"}[row.tag]
            try:
                connection.execute(f'{verb} INTO "{table.tag}" ({", ".join(names)}) VALUES '
                                   f'({", ".join("?" * len(columns))})', values)
            except sqlite3.Error as error:
                connection.execute("ROLLBACK TO document")
                raise AssertionError(f"{document.name}: {table.tag}: {error}") from None
            rows.append((table.tag, names, values))
    connection.execute("RELEASE document")
    return rows


# A mod folder as the mod list reads it: its manifest, and its documents by database.
def read_mod(mod):
    [manifest_path] = mod.glob("*.modinfo")
    manifest = ElementTree.parse(manifest_path).getroot()
    for file in manifest.iterfind("Files/File"):
        assert (mod / file.text).is_file(), f"Files names {file.text}, which is not there"
    documents = {name: [] for name in DATABASES.values()}
    for component in manifest.find("Components"):
        name = component.get("id", "")
        items = [mod / item.text for item in component.iterfind("Items/File")]
        assert re.fullmatch("[A-Za-z][A-Za-z0-9_]*", name) and items, f"component {name!r}"
        documents[DATABASES[component.tag]] += items
    return manifest, documents


# The queries of expected-rows.txt, each with the rows it must give, for a wonder's infix.
def expectations(path, number):
    queries = []
    for line in path.read_text(encoding="utf-8").replace("{_N}", number).splitlines():
        if line.startswith("= "):
            queries[-1][2].append(line[2:])
        elif line and not line.startswith("#"):
            queries.append((*line.split(": ", 1), []))
    return queries


# Loads the mods into one game's databases and checks them: each row still as its mod wrote it, an
# id of each mod's own, and each mod's list texts (in its manifest) and wonder's name (in its
# building row) its own in every language; alone, a wonder gives the rows of expected-rows.txt.
def check(mods, fixtures, number=None):
    databases = {name: database(fixtures / f"{file}_fixture.sql") for name, file in
                 [("gameplay", "gameplay"), ("texts", "localization"), ("icons", "icon")]}
    loaded = [(read_mod(mod), []) for mod in mods]
    for (_, documents), written in loaded:
        written += [(name, row) for name, files in documents.items() if name in databases
                    for document in files for row in load_document(databases[name], document)]
    for name, connection in databases.items():  # as the game checks once every mod is in
        assert not query(connection, "PRAGMA foreign_key_check"), f"{name}: a foreign key fails"
    ids = [manifest.get("id") for (manifest, _), _ in loaded]
    assert len(set(ids)) == len(ids), f"mod ids shared: {ids}"
    textures = [[file.name for file in documents["imported"]] for (_, documents), _ in loaded]
    assert len(set(sum(textures, []))) == len(sum(textures, [])), f"textures shared: {textures}"
    for ((_, documents), written), imported in zip(loaded, textures):
        for _, (table, columns, values) in written:
            named = dict(zip(columns, values)).get('"Filename"')
            assert table != "IconTextureAtlases" or named in imported, f"{named} not imported"
    text = "SELECT Text FROM LocalizedText WHERE Tag = ? AND Language = ?"
    for (manifest, _), written in loaded:
        for name, (table, columns, values) in written:
            where = " AND ".join(f"{column} IS ?" for column in columns)
            assert query(databases[name], f'SELECT 1 FROM "{table}" WHERE {where}', *values), \
                f"a row of {table} is no longer as written: {values}"
        tags = [manifest.findtext(f"Properties/{name}")
                for name in ("Name", "Teaser", "Description")]
        for tag in tags + [value for _, (table, columns, values) in written if table == "Buildings"
                           for column, value in zip(columns, values) if column == '"Name"']:
            own = query(databases["texts"], text, tag, LANGUAGES[0])
            listed = [manifest.findtext(f"LocalizedText/Text[@id='{tag}']/{language}")
                      for language in LANGUAGES] if tag in tags else own * len(LANGUAGES)
            found = [query(databases["texts"], text, tag, language)[0] for language in LANGUAGES]
            assert own and found == listed == own * len(LANGUAGES), f"{tag}: {found}, {listed}"
    queries = [] if number is None else expectations(fixtures / "expected-rows.txt", number)
    for name, sql, rows in queries:
        found = query(databases[name], sql)
        assert found == rows, f"{name}: {sql}: {found}"


def main():
    if sys.argv[1] == "--together":
        mods = [pathlib.Path(path) for path in sys.argv[3:]]
        checks = [(f"{len(mods)} mods load together", mods, None)]
    else:
        # A golden package with an icon holds its documents alone: install.t loads it whole.
        mod = {package.name: next((package / "AAA/DLC").iterdir())
               for package in sorted(pathlib.Path(sys.argv[1]).glob("*/"))
               if (package / "AAA").is_dir() and "--icon" not in (package / "args").read_text()}
        infix = lambda folder: re.fullmatch(r"Newbuilding2PD_RIR(_\d+)?", folder.name).group(1)
        checks = [(f"{name} loads whole", [folder], infix(folder) or "")
                  for name, folder in mod.items()]
        checks.append(("wonders 1, 2 and 99 load together",
                       [mod["empty"], mod["wonder-2"], mod["wonder-99"]], None))
    fixtures, failed = pathlib.Path(sys.argv[2]), 0
    for label, mods, number in checks:
        try:
            check(mods, fixtures, number)
            print(f"ok    {label}")
        except (AssertionError, IndexError, KeyError, OSError, ValueError,
                ElementTree.ParseError) as error:
            print(f"FAIL  {label}: {error}")
            failed += 1
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
