#!/usr/bin/env python3
"""Loads every golden package into mirrors of the game's databases the way the game does.

The gameplay data document goes into the gameplay database alone, the localization document into
the localization database. Each document is one save point: a Row is inserted, a Replace inserted
or replaced, its attributes and child elements being the columns ("true" and "false" become 1 and
0 in boolean columns), and the first error (a table or column the database lacks, a constraint)
loses the whole document. Then the foreign keys of the whole database are checked, as the game
validates after loading, and the wonder's rows must be there.

load_packages.py <golden dir> <fixture dir> [<package dir>...]
"""
import pathlib
import sqlite3
import sys
import xml.etree.ElementTree as ElementTree

GAMEPLAY = "AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml"
LOCALIZATION = "AAA/Base/Assets/Text/Translations/Newbuilding2PD_zh_Hans_CN.xml"


def make_hash(text):
    """The game hashes the names of kinds and types; any stable 32-bit hash will do here."""
    value = 2166136261
    for byte in text.encode():
        value = ((value ^ byte) * 16777619) & 0xFFFFFFFF
    return value - (1 << 32) if value >= 1 << 31 else value


def open_database(fixture):
    database = sqlite3.connect(":memory:", isolation_level=None)
    database.create_function("Make_Hash", 1, make_hash, deterministic=True)
    database.executescript(fixture.read_text(encoding="utf-8"))
    return database


def load(database, document):
    """Loads the document whole, or raises with the first error and loads nothing of it."""
    database.execute("SAVEPOINT document")
    try:
        for table in ElementTree.fromstring(document):
            boolean = {row[1] for row in database.execute(f'PRAGMA table_info("{table.tag}")')
                       if row[2] == "BOOLEAN"}
            for row in table:
                columns = list(row.attrib.items()) + [(child.tag, child.text) for child in row]
                values = [{"true": 1, "false": 0}.get(value, value) if name in boolean else value
                          for name, value in columns]
                verb = {"Row": "INSERT", "Replace": "INSERT OR REPLACE"}[row.tag]
                names = ", ".join(f'"{name}"' for name, _ in columns)
                marks = ", ".join("?" for _ in columns)
                try:
                    database.execute(f'{verb} INTO "{table.tag}" ({names}) VALUES ({marks})', values)
                except sqlite3.Error as error:
                    raise AssertionError(f"{table.tag}: {error}") from None
    except BaseException:
        database.execute("ROLLBACK TO document")
        raise
    finally:
        database.execute("RELEASE document")


def query(database, sql):
    return ["|".join(str(value) for value in row) for row in database.execute(sql)]


def check_package(package, fixtures):
    gameplay = open_database(fixtures / "gameplay_fixture.sql")
    load(gameplay, (package / GAMEPLAY).read_bytes())
    assert query(gameplay, "PRAGMA foreign_key_check") == [], query(gameplay, "PRAGMA foreign_key_check")
    assert query(gameplay, "SELECT b.Name, b.IsWonder, b.Cost, t.Kind, t.Hash != 0 FROM Buildings b "
                           "JOIN Types t ON t.Type = b.BuildingType") == [
        "LOC_BUILDING2PD_SOGMONUMENT_NAME|1|1|KIND_BUILDING|1"]
    assert query(gameplay, "SELECT COUNT(*) FROM Building_ValidTerrains") == ["11"]
    assert query(gameplay, "SELECT m.ModifierId, d.EffectType, a.Name, a.Value, bm.BuildingType "
                           "FROM Modifiers m JOIN DynamicModifiers d USING (ModifierType) "
                           "JOIN ModifierArguments a USING (ModifierId) "
                           "JOIN BuildingModifiers bm USING (ModifierId)") == [
        "SOGMONUMENT_ADDAPPEAL|EFFECT_ADJUST_CITY_APPEAL|Amount|2|BUILDING_SOGMONUMENT2PD"]

    localization = open_database(fixtures / "localization_fixture.sql")
    load(localization, (package / LOCALIZATION).read_bytes())
    assert query(localization, "SELECT Language, Tag FROM LocalizedText ORDER BY Tag") == [
        "zh_Hans_CN|LOC_BUILDING2PD_SOGMONUMENT_NAME", "zh_Hans_CN|RIRNewBuilding2PD_DESCRIPTION",
        "zh_Hans_CN|RIRNewBuilding2PD_TEASER", "zh_Hans_CN|RIRNewBuilding2PD_Title"]


def main():
    golden, fixtures = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    packages = [pathlib.Path(path) for path in sys.argv[3:]] or sorted(
        path.parent for path in golden.glob("*/AAA"))
    failed = 0
    for package in packages:
        try:
            check_package(package, fixtures)
            print(f"ok    {package.name} loads whole")
        except AssertionError as error:
            print(f"FAIL  {package.name}: {error}")
            failed += 1
    return 1 if failed or not packages else 0


if __name__ == "__main__":
    sys.exit(main())
