-- The monitor database: the hosts, their availability history and the quarter-hour latency
-- averages. The build creates the file from this schema when the file is missing; the
-- program never creates it.
--
-- Date-times are automation dates: local time as days since 30 December 1899, the time of
-- day as the fraction, stored as REAL so that they order and subtract as the time line does.
-- Booleans are 0 or 1. Keys are never used twice, even after their rows were deleted, so a
-- host typed again after it was deleted gets a new id and its old averages stay apart.

-- Other programs may read the file while the monitor writes it.
PRAGMA journal_mode = WAL;

BEGIN;

CREATE TABLE Hosts (
    HostID INTEGER PRIMARY KEY AUTOINCREMENT,
    -- The host text as typed in the slot; hosts are told apart without regard to case.
    Host TEXT NOT NULL COLLATE NOCASE CHECK (length(Host) <= 255)
);
CREATE INDEX HostsHost ON Hosts (Host COLLATE NOCASE);

-- One row per start and stop of monitoring (SessionStartStop 1; Up 1 started, 0 stopped)
-- and per change between available and unavailable (SessionStartStop 0).
CREATE TABLE Status (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    HostID INTEGER NOT NULL,
    Up INTEGER NOT NULL DEFAULT 0 CHECK (Up IN (0, 1)),
    Date REAL NOT NULL,
    SessionStartStop INTEGER NOT NULL DEFAULT 0 CHECK (SessionStartStop IN (0, 1))
);
-- A host's history in the order the outage list reads it: by date, rows of the same second in
-- the order they were written (ID), and with the two columns the list reads besides, so its
-- rows come from the index alone without a look-up in the table per row. A file made before
-- this index has StatusHostDate on (HostID, Date) in its place; creating this index (IF NOT
-- EXISTS) and dropping that one brings such a file to this schema.
CREATE INDEX StatusHostHistory ON Status (HostID, Date, ID, Up, SessionStartStop);
CREATE INDEX StatusDate ON Status (Date);

-- One average latency (ms) per host and quarter hour, over SampleCount probe results.
CREATE TABLE GraphData (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    HostID INTEGER NOT NULL,
    Time REAL NOT NULL,
    AvgDelay INTEGER NOT NULL DEFAULT 0,
    SampleCount INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX GraphDataHostTime ON GraphData (HostID, Time);
CREATE INDEX GraphDataTime ON GraphData (Time);

-- Every host with the number of its status rows, 0 for a host that has none: the purge
-- removes the hosts whose count is 0.
CREATE VIEW HostCount AS
SELECT Hosts.HostID AS HostID, Hosts.Host AS Host,
    (SELECT count(*) FROM Status WHERE Status.HostID = Hosts.HostID) AS CountOfID
FROM Hosts;

COMMIT;
