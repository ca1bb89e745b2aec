-- The tables of the recording system's database that Korvane Setup edits.
-- Identifiers carry no AUTO_INCREMENT: the program allocates them itself.
-- Every column but the keys accepts NULL: new rows are written with NULL for each
-- column the user did not fill in.

DROP TABLE IF EXISTS videosource;
DROP TABLE IF EXISTS channel;
DROP TABLE IF EXISTS channel_dvb;
DROP TABLE IF EXISTS capturecard;
DROP TABLE IF EXISTS cardinput;
DROP TABLE IF EXISTS settings;

CREATE TABLE videosource (
  sourceid INT NOT NULL,
  name VARCHAR(128) NULL,
  xmltvgrabber VARCHAR(128) NULL,
  userid VARCHAR(128) NULL,
  PRIMARY KEY (sourceid),
  KEY name (name)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE channel (
  chanid INT NOT NULL,
  channum VARCHAR(10) NULL,
  channum_real VARCHAR(128) NULL,
  sourceid INT NULL,
  callsign VARCHAR(20) NULL,
  name VARCHAR(64) NULL,
  icon VARCHAR(255) NULL,
  finetune INT NULL,
  videofilters VARCHAR(255) NULL,
  xmltvid VARCHAR(64) NULL,
  contrast INT NULL,
  brightness INT NULL,
  colour INT NULL,
  PRIMARY KEY (chanid),
  KEY sourceid (sourceid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE channel_dvb (
  chanid INT NOT NULL,
  listingid VARCHAR(20) NULL,
  freq VARCHAR(16) NULL,
  pol CHAR(1) NULL,
  symbol_rate VARCHAR(16) NULL,
  tone VARCHAR(16) NULL,
  diseqc VARCHAR(16) NULL,
  pids VARCHAR(64) NULL,
  inversion VARCHAR(8) NULL,
  bandwidth VARCHAR(8) NULL,
  hp_code_rate VARCHAR(8) NULL,
  lp_code_rate VARCHAR(8) NULL,
  modulation VARCHAR(16) NULL,
  transmission_mode VARCHAR(8) NULL,
  guard_interval VARCHAR(8) NULL,
  hierarchy VARCHAR(8) NULL,
  PRIMARY KEY (chanid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE capturecard (
  cardid INT NOT NULL,
  videodevice VARCHAR(128) NULL,
  audiodevice VARCHAR(128) NULL,
  vbidevice VARCHAR(128) NULL,
  cardtype VARCHAR(32) NULL,
  defaultinput VARCHAR(32) NULL,
  audioratelimit INT NULL,
  hostname VARCHAR(255) NULL,
  dvb_type CHAR(1) NULL,
  use_ts TINYINT NULL,
  PRIMARY KEY (cardid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE cardinput (
  cardinputid INT NOT NULL,
  cardid INT NULL,
  sourceid INT NULL,
  inputname VARCHAR(32) NULL,
  externalcommand VARCHAR(128) NULL,
  preference INT NULL,
  shareable CHAR(1) NULL,
  tunechan VARCHAR(10) NULL,
  startchan INT NULL,
  PRIMARY KEY (cardinputid),
  KEY cardid (cardid),
  KEY sourceid (sourceid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE settings (
  value VARCHAR(128) NOT NULL,
  data TEXT NULL,
  hostname VARCHAR(255) NULL,
  KEY value (value, hostname)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;
