#!/usr/bin/env python3
# The technologies and civics that wondergen-cli --prereqs prints, checked against the game's own
# gameplay data, read here: the types of Technologies.xml and Civics.xml, no more and no fewer,
# each in its era; grouped by era in the order of Eras.xml's ChronologyIndex, in an era the
# technologies and then the civics, each by Cost and then UITreeRow as the game's tree shows them;
# every name given. Where the reference data is not there, the check is skipped (exit 77).
#
# check_prerequisites.py <wondergen-cli> <reference folder>   ($WONDERGEN_REFERENCE overrides it)
import os
import pathlib
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

data = pathlib.Path(os.environ.get("WONDERGEN_REFERENCE") or sys.argv[2]) / "gameplay-data"
if not (data / "Eras.xml").is_file():
    print(f"skipped: no reference data in {data}")
    sys.exit(77)


def rows(file, table):
    return ElementTree.parse(data / file).getroot().find(table)


era = {row.get("EraType"): int(row.get("ChronologyIndex")) for row in rows("Eras.xml", "Eras")}
expected = sorted((era[row.get("EraType")], kind, int(row.get("Cost")), int(row.get("UITreeRow")),
                   row.get(key), row.get("EraType"))
                  for kind, (file, key) in enumerate([("Technologies.xml", "TechnologyType"),
                                                      ("Civics.xml", "CivicType")])
                  for row in rows(file, file[:-4]))
expected = [(type_, era_type) for *_, type_, era_type in expected]
kinds = [type_.split("_")[0] for type_, _ in expected]
assert (kinds.count("TECH"), kinds.count("CIVIC")) == (68, 51), "the base game's counts"

printed = subprocess.run([sys.argv[1], "--prereqs"], capture_output=True, check=True,
                         encoding="utf-8").stdout.splitlines()
lines = [line.split("\t") for line in printed]
unnamed = [line for line in lines if len(line) != 3 or not line[1].strip()]
found = [(line[0], line[-1]) for line in lines]
if unnamed or found != expected:
    for type_, era_type in sorted(set(expected) - set(found)):
        print(f"missing or in another era: {type_} {era_type}")
    for type_, era_type in sorted(set(found) - set(expected)):
        print(f"not of the reference: {type_} {era_type}")
    for line in unnamed:
        print(f"not TYPE<TAB>name<TAB>ERA: {line}")
    if set(found) == set(expected) and found != expected:
        print("out of order:", *(f"{a[0]} where {b[0]}" for a, b in zip(found, expected) if a != b))
    sys.exit(1)
print(f"ok    {len(found)} technologies and civics, each in its era and in the tree's order")
