-- The game's icon database: its tables as the game makes them, with foreign keys enforced as
-- each row goes in, and the building atlas and its fog-of-war twin, 8 x 8 icons each, holding the
-- Monument's icon at index 0.
PRAGMA foreign_keys = ON;
CREATE TABLE 'IconAtlases'('Name' TEXT NOT NULL, PRIMARY KEY('Name'));
CREATE TABLE 'IconTextureAtlases'(
  'Name' TEXT NOT NULL,
  'IconSize' INTEGER NOT NULL,
  'IconsPerRow' INTEGER NOT NULL DEFAULT 1,
  'IconsPerColumn' INTEGER NOT NULL DEFAULT 1,
  'FileName' TEXT NOT NULL,
  'OffsetH' INTEGER NOT NULL DEFAULT 0,
  'OffsetV' INTEGER NOT NULL DEFAULT 0,
  'Baseline' INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY ('Name', 'IconSize'),
  FOREIGN KEY('Name') REFERENCES IconAtlases('Name') ON DELETE CASCADE ON UPDATE CASCADE);
CREATE TRIGGER 'IconTextureAtlases_Insert' BEFORE INSERT ON IconTextureAtlases
BEGIN INSERT OR IGNORE INTO IconAtlases VALUES (NEW.'Name'); END;
CREATE TABLE 'Icons' ('Name' TEXT NOT NULL, PRIMARY KEY('Name'));
CREATE TABLE 'IconDefinitions'(
  'Name' TEXT NOT NULL,
  'Atlas' TEXT NOT NULL,
  'Index' INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY('Name', 'Atlas'),
  FOREIGN KEY('Name') REFERENCES Icons('Name') ON DELETE CASCADE ON UPDATE CASCADE,
  FOREIGN KEY('Atlas') REFERENCES IconAtlases('Name') ON DELETE CASCADE ON UPDATE CASCADE);
CREATE TRIGGER 'IconDefinitions_Insert' BEFORE INSERT ON IconDefinitions
BEGIN INSERT OR IGNORE INTO Icons VALUES (NEW.'Name'); END;

INSERT INTO IconTextureAtlases (Name, IconSize, IconsPerRow, IconsPerColumn, FileName) VALUES
  ('ICON_ATLAS_BUILDINGS', 32, 8, 8, 'Buildings32.dds'),
  ('ICON_ATLAS_BUILDINGS', 38, 8, 8, 'Buildings38.dds'),
  ('ICON_ATLAS_BUILDINGS', 50, 8, 8, 'Buildings50.dds'),
  ('ICON_ATLAS_BUILDINGS', 80, 8, 8, 'Buildings80.dds'),
  ('ICON_ATLAS_BUILDINGS', 128, 8, 8, 'Buildings128.dds'),
  ('ICON_ATLAS_BUILDINGS', 256, 8, 8, 'Buildings256.dds'),
  ('ICON_ATLAS_BUILDINGS_FOW', 256, 8, 8, 'Buildings256.dds');
INSERT INTO IconDefinitions (Name, Atlas, "Index") VALUES
  ('ICON_BUILDING_MONUMENT', 'ICON_ATLAS_BUILDINGS', 0),
  ('ICON_BUILDING_MONUMENT_FOW', 'ICON_ATLAS_BUILDINGS_FOW', 0);
