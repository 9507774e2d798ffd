-- The game's localization database: the table that Replace entries go into.
CREATE TABLE LocalizedText('Language' TEXT NOT NULL,
                           'Tag' TEXT NOT NULL,
                           'Text' TEXT,
                           'Gender' TEXT,
                           'Plurality' TEXT,
                           PRIMARY KEY (Language, Tag));
