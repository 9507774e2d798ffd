-- The part of Civilization VI's gameplay database that the generated gameplay document touches.
-- The tables the document writes into mirror the game's own: columns, types, defaults, checks,
-- primary and foreign keys. The tables they refer to hold only their keys and the rows the
-- document names, and the game's hashing of kinds and types is mirrored by its triggers (with a
-- Make_Hash function that the test provides).

CREATE TABLE "Kinds" (
  "Kind" TEXT NOT NULL,
  "Hash" INTEGER NOT NULL UNIQUE DEFAULT 0,
  PRIMARY KEY(Kind));
CREATE TABLE "Types" (
  "Type" TEXT NOT NULL,
  "Hash" INTEGER NOT NULL UNIQUE DEFAULT 0,
  "Kind" TEXT NOT NULL,
  PRIMARY KEY(Type),
  FOREIGN KEY (Kind) REFERENCES Kinds(Kind) ON DELETE CASCADE ON UPDATE CASCADE);
CREATE TRIGGER OnKindInsert AFTER INSERT ON Kinds BEGIN UPDATE Kinds SET Hash = Make_Hash(Kind) WHERE Kind = New.Kind; END;
CREATE TRIGGER OnTypeInsert AFTER INSERT ON Types BEGIN UPDATE Types SET Hash = Make_Hash(Type) WHERE Type = New.Type; END;

-- Referenced tables, keys only.
CREATE TABLE "Yields" ("YieldType" TEXT NOT NULL, PRIMARY KEY(YieldType));
CREATE TABLE "GreatPersonClasses" (
  "GreatPersonClassType" TEXT NOT NULL,
  PRIMARY KEY(GreatPersonClassType),
  FOREIGN KEY (GreatPersonClassType) REFERENCES Types(Type) ON DELETE CASCADE ON UPDATE CASCADE);
CREATE TABLE "GreatWorkSlotTypes" ("GreatWorkSlotType" TEXT NOT NULL, PRIMARY KEY(GreatWorkSlotType));
CREATE TABLE "Terrains" ("TerrainType" TEXT NOT NULL, PRIMARY KEY(TerrainType));
CREATE TABLE "Districts" (
  "DistrictType" TEXT NOT NULL,
  PRIMARY KEY(DistrictType),
  FOREIGN KEY (DistrictType) REFERENCES Types(Type) ON DELETE CASCADE ON UPDATE CASCADE);
CREATE TABLE "Technologies" ("TechnologyType" TEXT NOT NULL, PRIMARY KEY(TechnologyType));
CREATE TABLE "Civics" ("CivicType" TEXT NOT NULL, PRIMARY KEY(CivicType));
CREATE TABLE "Resources" ("ResourceType" TEXT NOT NULL, PRIMARY KEY(ResourceType));
CREATE TABLE "Traits" ("TraitType" TEXT NOT NULL, PRIMARY KEY(TraitType));
CREATE TABLE "Improvements" ("ImprovementType" TEXT NOT NULL, PRIMARY KEY(ImprovementType));
CREATE TABLE "RequirementSets" ("RequirementSetId" TEXT NOT NULL, PRIMARY KEY(RequirementSetId));
-- A modifier's type is not a foreign key in the game; the game looks it up here when it loads.
CREATE TABLE "DynamicModifiers" (
  "ModifierType" TEXT NOT NULL,
  "CollectionType" TEXT NOT NULL,
  "EffectType" TEXT NOT NULL,
  PRIMARY KEY(ModifierType),
  FOREIGN KEY (CollectionType) REFERENCES Types(Type) ON DELETE CASCADE ON UPDATE CASCADE,
  FOREIGN KEY (ModifierType) REFERENCES Types(Type) ON DELETE CASCADE ON UPDATE CASCADE,
  FOREIGN KEY (EffectType) REFERENCES Types(Type) ON DELETE CASCADE ON UPDATE CASCADE);

-- The tables the document writes into.
CREATE TABLE "Buildings" (
  "BuildingType" TEXT NOT NULL,
  "Name" TEXT NOT NULL,
  "PrereqTech" TEXT,
  "PrereqCivic" TEXT,
  "Cost" INTEGER NOT NULL,
  "MaxPlayerInstances" INTEGER NOT NULL DEFAULT -1,
  "MaxWorldInstances" INTEGER NOT NULL DEFAULT -1,
  "Capital" BOOLEAN NOT NULL CHECK (Capital IN (0,1)) DEFAULT 0,
  "PrereqDistrict" TEXT,
  "AdjacentDistrict" TEXT,
  "Description" TEXT,
  "RequiresPlacement" BOOLEAN NOT NULL CHECK (RequiresPlacement IN (0,1)) DEFAULT 0,
  "RequiresRiver" BOOLEAN NOT NULL CHECK (RequiresRiver IN (0,1)) DEFAULT 0,
  "OuterDefenseHitPoints" INTEGER,
  "Housing" INTEGER NOT NULL DEFAULT 0,
  "Entertainment" INTEGER NOT NULL DEFAULT 0,
  "AdjacentResource" TEXT,
  "Coast" BOOLEAN CHECK (Coast IN (0,1)),
  "EnabledByReligion" BOOLEAN NOT NULL CHECK (EnabledByReligion IN (0,1)) DEFAULT 0,
  "AllowsHolyCity" BOOLEAN NOT NULL CHECK (AllowsHolyCity IN (0,1)) DEFAULT 0,
  "PurchaseYield" TEXT,
  "MustPurchase" BOOLEAN NOT NULL CHECK (MustPurchase IN (0,1)) DEFAULT 0,
  "Maintenance" INTEGER NOT NULL DEFAULT 0,
  "IsWonder" BOOLEAN NOT NULL CHECK (IsWonder IN (0,1)) DEFAULT 0,
  "TraitType" TEXT,
  "OuterDefenseStrength" INTEGER NOT NULL DEFAULT 0,
  "CitizenSlots" INTEGER,
  "MustBeLake" BOOLEAN NOT NULL CHECK (MustBeLake IN (0,1)) DEFAULT 0,
  "MustNotBeLake" BOOLEAN NOT NULL CHECK (MustNotBeLake IN (0,1)) DEFAULT 0,
  "RegionalRange" INTEGER NOT NULL DEFAULT 0,
  "AdjacentToMountain" BOOLEAN NOT NULL CHECK (AdjacentToMountain IN (0,1)) DEFAULT 0,
  "ObsoleteEra" TEXT NOT NULL DEFAULT "NO_ERA",
  "RequiresReligion" BOOLEAN NOT NULL CHECK (RequiresReligion IN (0,1)) DEFAULT 0,
  "GrantFortification" INTEGER NOT NULL DEFAULT 0,
  "DefenseModifier" INTEGER NOT NULL DEFAULT 0,
  "InternalOnly" BOOLEAN NOT NULL CHECK (InternalOnly IN (0,1)) DEFAULT 0,
  "RequiresAdjacentRiver" BOOLEAN NOT NULL CHECK (RequiresAdjacentRiver IN (0,1)) DEFAULT 0,
  "Quote" TEXT,
  "QuoteAudio" TEXT,
  "MustBeAdjacentLand" BOOLEAN NOT NULL CHECK (MustBeAdjacentLand IN (0,1)) DEFAULT 0,
  "AdvisorType" TEXT,
  "AdjacentCapital" BOOLEAN NOT NULL CHECK (AdjacentCapital IN (0,1)) DEFAULT 0,
  "AdjacentImprovement" TEXT,
  "CityAdjacentTerrain" TEXT,
  "UnlocksGovernmentPolicy" BOOLEAN CHECK (UnlocksGovernmentPolicy IN (0,1)) DEFAULT 0,
  "GovernmentTierRequirement" TEXT,
  PRIMARY KEY(BuildingType),
  FOREIGN KEY (AdjacentDistrict) REFERENCES Districts(DistrictType) ON DELETE SET DEFAULT ON UPDATE SET DEFAULT,
  FOREIGN KEY (PrereqDistrict) REFERENCES Districts(DistrictType) ON DELETE SET DEFAULT ON UPDATE SET DEFAULT,
  FOREIGN KEY (PrereqTech) REFERENCES Technologies(TechnologyType) ON DELETE SET DEFAULT ON UPDATE SET DEFAULT,
  FOREIGN KEY (AdjacentResource) REFERENCES Resources(ResourceType) ON DELETE SET DEFAULT ON UPDATE SET DEFAULT,
  FOREIGN KEY (PrereqCivic) REFERENCES Civics(CivicType) ON DELETE SET DEFAULT ON UPDATE SET DEFAULT,
  FOREIGN KEY (PurchaseYield) REFERENCES Yields(YieldType) ON DELETE SET DEFAULT ON UPDATE SET DEFAULT,
  FOREIGN KEY (TraitType) REFERENCES Traits(TraitType) ON DELETE SET DEFAULT ON UPDATE SET DEFAULT,
  FOREIGN KEY (BuildingType) REFERENCES Types(Type) ON DELETE CASCADE ON UPDATE CASCADE,
  FOREIGN KEY (AdjacentImprovement) REFERENCES Improvements(ImprovementType) ON DELETE CASCADE ON UPDATE CASCADE,
  FOREIGN KEY (CityAdjacentTerrain) REFERENCES Terrains(TerrainType) ON DELETE CASCADE ON UPDATE CASCADE);
CREATE TABLE "Building_YieldChanges" (
  "BuildingType" TEXT NOT NULL,
  "YieldType" TEXT NOT NULL,
  "YieldChange" INTEGER NOT NULL,
  PRIMARY KEY(BuildingType, YieldType),
  FOREIGN KEY (BuildingType) REFERENCES Buildings(BuildingType) ON DELETE CASCADE ON UPDATE CASCADE,
  FOREIGN KEY (YieldType) REFERENCES Yields(YieldType) ON DELETE CASCADE ON UPDATE CASCADE);
CREATE TABLE "Building_GreatPersonPoints" (
  "BuildingType" TEXT NOT NULL,
  "GreatPersonClassType" TEXT NOT NULL,
  "PointsPerTurn" INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY(BuildingType, GreatPersonClassType),
  FOREIGN KEY (BuildingType) REFERENCES Buildings(BuildingType) ON DELETE CASCADE ON UPDATE CASCADE,
  FOREIGN KEY (GreatPersonClassType) REFERENCES GreatPersonClasses(GreatPersonClassType) ON DELETE CASCADE ON UPDATE CASCADE);
CREATE TABLE "Building_GreatWorks" (
  "BuildingType" TEXT NOT NULL,
  "GreatWorkSlotType" TEXT NOT NULL,
  "NumSlots" INTEGER NOT NULL DEFAULT 1,
  "ThemingUniquePerson" BOOLEAN NOT NULL CHECK (ThemingUniquePerson IN (0,1)) DEFAULT 0,
  "ThemingSameObjectType" BOOLEAN NOT NULL CHECK (ThemingSameObjectType IN (0,1)) DEFAULT 0,
  "ThemingUniqueCivs" BOOLEAN NOT NULL CHECK (ThemingUniqueCivs IN (0,1)) DEFAULT 0,
  "ThemingSameEras" BOOLEAN NOT NULL CHECK (ThemingSameEras IN (0,1)) DEFAULT 0,
  "ThemingYieldMultiplier" INTEGER NOT NULL DEFAULT 0,
  "ThemingTourismMultiplier" INTEGER NOT NULL DEFAULT 0,
  "NonUniquePersonYield" INTEGER NOT NULL DEFAULT 0,
  "NonUniquePersonTourism" INTEGER NOT NULL DEFAULT 0,
  "ThemingBonusDescription" TEXT,
  PRIMARY KEY(BuildingType, GreatWorkSlotType),
  FOREIGN KEY (BuildingType) REFERENCES Buildings(BuildingType) ON DELETE CASCADE ON UPDATE CASCADE,
  FOREIGN KEY (GreatWorkSlotType) REFERENCES GreatWorkSlotTypes(GreatWorkSlotType) ON DELETE CASCADE ON UPDATE CASCADE);
CREATE TABLE "Building_ValidTerrains" (
  "BuildingType" TEXT NOT NULL,
  "TerrainType" TEXT NOT NULL,
  PRIMARY KEY(BuildingType, TerrainType),
  FOREIGN KEY (BuildingType) REFERENCES Buildings(BuildingType) ON DELETE CASCADE ON UPDATE CASCADE,
  FOREIGN KEY (TerrainType) REFERENCES Terrains(TerrainType) ON DELETE CASCADE ON UPDATE CASCADE);
CREATE TABLE "Modifiers" (
  "ModifierId" TEXT NOT NULL,
  "ModifierType" TEXT NOT NULL,
  "RunOnce" BOOLEAN NOT NULL CHECK (RunOnce IN (0,1)) DEFAULT 0,
  "NewOnly" BOOLEAN NOT NULL CHECK (NewOnly IN (0,1)) DEFAULT 0,
  "Permanent" BOOLEAN NOT NULL CHECK (Permanent IN (0,1)) DEFAULT 0,
  "Repeatable" BOOLEAN CHECK (Repeatable IN (0,1)) DEFAULT 0,
  "OwnerRequirementSetId" TEXT,
  "SubjectRequirementSetId" TEXT,
  "OwnerStackLimit" INTEGER,
  "SubjectStackLimit" INTEGER,
  PRIMARY KEY(ModifierId),
  FOREIGN KEY (OwnerRequirementSetId) REFERENCES RequirementSets(RequirementSetId) ON DELETE CASCADE ON UPDATE CASCADE,
  FOREIGN KEY (SubjectRequirementSetId) REFERENCES RequirementSets(RequirementSetId) ON DELETE CASCADE ON UPDATE CASCADE);
CREATE TABLE "ModifierArguments" (
  "ModifierId" TEXT NOT NULL,
  "Name" TEXT NOT NULL,
  "Type" TEXT NOT NULL DEFAULT "ARGTYPE_IDENTITY",
  "Value" TEXT NOT NULL,
  "Extra" TEXT,
  "SecondExtra" TEXT,
  PRIMARY KEY(ModifierId, Name),
  FOREIGN KEY (ModifierId) REFERENCES Modifiers(ModifierId) ON DELETE CASCADE ON UPDATE CASCADE);
CREATE TABLE "BuildingModifiers" (
  "BuildingType" TEXT NOT NULL,
  "ModifierId" TEXT NOT NULL,
  PRIMARY KEY(BuildingType, ModifierId),
  FOREIGN KEY (BuildingType) REFERENCES Buildings(BuildingType) ON DELETE CASCADE ON UPDATE CASCADE);

-- The rows the document refers to, as the base game defines them.
INSERT INTO Kinds (Kind) VALUES ('KIND_BUILDING'), ('KIND_YIELD'), ('KIND_GREAT_PERSON_CLASS'),
  ('KIND_TERRAIN'), ('KIND_DISTRICT'), ('KIND_MODIFIER'), ('KIND_COLLECTION'), ('KIND_EFFECT');
INSERT INTO Types (Type, Kind) VALUES
  ('YIELD_FOOD', 'KIND_YIELD'), ('YIELD_PRODUCTION', 'KIND_YIELD'), ('YIELD_GOLD', 'KIND_YIELD'),
  ('YIELD_SCIENCE', 'KIND_YIELD'), ('YIELD_CULTURE', 'KIND_YIELD'), ('YIELD_FAITH', 'KIND_YIELD'),
  ('GREAT_PERSON_CLASS_GENERAL', 'KIND_GREAT_PERSON_CLASS'), ('GREAT_PERSON_CLASS_ADMIRAL', 'KIND_GREAT_PERSON_CLASS'),
  ('GREAT_PERSON_CLASS_ENGINEER', 'KIND_GREAT_PERSON_CLASS'), ('GREAT_PERSON_CLASS_MERCHANT', 'KIND_GREAT_PERSON_CLASS'),
  ('GREAT_PERSON_CLASS_PROPHET', 'KIND_GREAT_PERSON_CLASS'), ('GREAT_PERSON_CLASS_SCIENTIST', 'KIND_GREAT_PERSON_CLASS'),
  ('GREAT_PERSON_CLASS_WRITER', 'KIND_GREAT_PERSON_CLASS'), ('GREAT_PERSON_CLASS_ARTIST', 'KIND_GREAT_PERSON_CLASS'),
  ('GREAT_PERSON_CLASS_MUSICIAN', 'KIND_GREAT_PERSON_CLASS'),
  ('TERRAIN_GRASS', 'KIND_TERRAIN'), ('TERRAIN_GRASS_HILLS', 'KIND_TERRAIN'), ('TERRAIN_PLAINS', 'KIND_TERRAIN'),
  ('TERRAIN_PLAINS_HILLS', 'KIND_TERRAIN'), ('TERRAIN_DESERT', 'KIND_TERRAIN'), ('TERRAIN_DESERT_HILLS', 'KIND_TERRAIN'),
  ('TERRAIN_TUNDRA', 'KIND_TERRAIN'), ('TERRAIN_TUNDRA_HILLS', 'KIND_TERRAIN'), ('TERRAIN_SNOW', 'KIND_TERRAIN'),
  ('TERRAIN_SNOW_HILLS', 'KIND_TERRAIN'), ('TERRAIN_COAST', 'KIND_TERRAIN'),
  ('DISTRICT_CITY_CENTER', 'KIND_DISTRICT'),
  ('MODIFIER_PLAYER_CITIES_ADJUST_CITY_APPEAL', 'KIND_MODIFIER'),
  ('COLLECTION_PLAYER_CITIES', 'KIND_COLLECTION'), ('EFFECT_ADJUST_CITY_APPEAL', 'KIND_EFFECT');
INSERT INTO Yields (YieldType) VALUES ('YIELD_FOOD'), ('YIELD_PRODUCTION'), ('YIELD_GOLD'),
  ('YIELD_SCIENCE'), ('YIELD_CULTURE'), ('YIELD_FAITH');
INSERT INTO GreatPersonClasses (GreatPersonClassType) SELECT Type FROM Types WHERE Kind = 'KIND_GREAT_PERSON_CLASS';
INSERT INTO GreatWorkSlotTypes (GreatWorkSlotType) VALUES ('GREATWORKSLOT_ART'), ('GREATWORKSLOT_ARTIFACT'),
  ('GREATWORKSLOT_CATHEDRAL'), ('GREATWORKSLOT_MUSIC'), ('GREATWORKSLOT_PALACE'), ('GREATWORKSLOT_RELIC'),
  ('GREATWORKSLOT_WRITING');
INSERT INTO Terrains (TerrainType) SELECT Type FROM Types WHERE Kind = 'KIND_TERRAIN';
INSERT INTO Districts (DistrictType) VALUES ('DISTRICT_CITY_CENTER');
INSERT INTO DynamicModifiers (ModifierType, CollectionType, EffectType) VALUES
  ('MODIFIER_PLAYER_CITIES_ADJUST_CITY_APPEAL', 'COLLECTION_PLAYER_CITIES', 'EFFECT_ADJUST_CITY_APPEAL');
