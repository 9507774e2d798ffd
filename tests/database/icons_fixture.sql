-- The game keeps icons in a database of their own, apart from the gameplay database: the part of
-- it that IconDefinitions rows reach, with the atlases the generated document names.
CREATE TABLE 'IconAtlases'('Name' TEXT NOT NULL, PRIMARY KEY('Name'));
CREATE TABLE 'Icons' ('Name' TEXT NOT NULL, PRIMARY KEY('Name'));
CREATE TABLE 'IconDefinitions'(
  'Name' TEXT NOT NULL,
  'Atlas' TEXT NOT NULL,
  'Index' INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY('Name', 'Atlas'),
  FOREIGN KEY('Name') REFERENCES Icons('Name') ON DELETE CASCADE ON UPDATE CASCADE,
  FOREIGN KEY('Atlas') REFERENCES IconAtlases('Name') ON DELETE CASCADE ON UPDATE CASCADE);
CREATE TRIGGER 'IconDefinitions_Insert' BEFORE INSERT ON IconDefinitions
BEGIN
  INSERT OR IGNORE INTO Icons VALUES (NEW.'Name');
END;
INSERT INTO IconAtlases VALUES ('ICON_ATLAS_BUILDINGS'), ('ICON_ATLAS_BUILDINGS_FOW');
