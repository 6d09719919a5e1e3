-- The phrase table. The program addresses the columns by position, so their
-- order is part of the file format: never insert a column in the middle.
CREATE TABLE TypeText (
    id         INTEGER PRIMARY KEY AUTOINCREMENT,
    Created    TEXT    DEFAULT CURRENT_TIMESTAMP,
    Modified   TEXT    DEFAULT CURRENT_TIMESTAMP,
    Str        TEXT    DEFAULT '',
    Labels     TEXT    DEFAULT '',
    KeyWord    TEXT    DEFAULT '',
    HotKey     TEXT    DEFAULT '',
    Html       TEXT    DEFAULT '',
    KeyLower   TEXT    DEFAULT '',
    StrLower   TEXT    DEFAULT '',
    LabelLower TEXT    DEFAULT '',
    Rating     INTEGER DEFAULT 0,
    Frequency  INTEGER DEFAULT 0,
    Uid        TEXT    DEFAULT (lower(hex(randomblob(16))))
);
-- Keeps the time of the last change of a phrase's content; counting a use is not a change.
CREATE TRIGGER TypeTextModified AFTER UPDATE OF Str, Labels, KeyWord, Html, Rating ON TypeText
    BEGIN UPDATE TypeText SET Modified = CURRENT_TIMESTAMP WHERE id = NEW.id; END;
