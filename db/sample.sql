-- A small line-up for trying the program: an analogue source on a V4L card, a
-- terrestrial digital source on a DVB-T card, and a source no card input uses yet.

INSERT INTO videosource (sourceid, name, xmltvgrabber, userid) VALUES
  (1, 'Antenna', 'tv_grab_de', 'unused'),
  (3, 'DVB-T', 'tv_grab_de', 'unused'),
  (7, 'Spare', 'tv_grab_uk', 'unused');

INSERT INTO channel (chanid, channum, channum_real, sourceid, callsign, name, icon, finetune,
                     videofilters, xmltvid, contrast, brightness, colour) VALUES
  (1001, '1', 'E5', 1, 'ARD', 'Das Erste', '/usr/share/icons/ard.png', 0, '', 'ard.de', 32768, 32768, 32768),
  (1002, '2', 'E6', 1, 'ZDF', 'ZDF', '/usr/share/icons/zdf.png', 0, '', 'zdf.de', 32768, 32768, 32768),
  (1005, '3', 'S23', 1, 'WDR', 'WDR Fernsehen', NULL, -2, 'denoise3d', 'wdr.de', 30000, 34000, 32768),
  (1101, '21', NULL, 3, 'ARD', 'Das Erste HD', NULL, NULL, NULL, 'ard.de', NULL, NULL, NULL),
  (1102, '22', NULL, 3, 'ZDF', 'ZDF HD', NULL, NULL, NULL, 'zdf.de', NULL, NULL, NULL),
  (1110, '27', NULL, 3, 'ARTE', 'arte', NULL, NULL, NULL, 'arte.de', NULL, NULL, NULL),
  (1201, '5', NULL, 7, 'BBC1', 'BBC One', NULL, NULL, NULL, 'bbc1.uk', NULL, NULL, NULL);

INSERT INTO channel_dvb (chanid, listingid, freq, pol, symbol_rate, tone, diseqc, pids,
                         inversion, bandwidth, hp_code_rate, lp_code_rate, modulation,
                         transmission_mode, guard_interval, hierarchy) VALUES
  (1101, '11', '522000000', NULL, NULL, NULL, NULL, '101,102', 'AUTO', '8', '2_3', 'NONE',
   'QAM_16', '8', '1_4', 'NONE'),
  (1102, '12', '570000000', NULL, NULL, NULL, NULL, '201,202', 'AUTO', '8', '2_3', 'NONE',
   'QAM_16', '8', '1_4', 'NONE');

INSERT INTO capturecard (cardid, videodevice, audiodevice, vbidevice, cardtype, defaultinput,
                         audioratelimit, hostname, dvb_type, use_ts) VALUES
  (1, '/dev/video0', '/dev/dsp', '/dev/vbi0', 'V4L', 'Television', 0, 'tvbox', NULL, NULL),
  (4, '0', NULL, NULL, 'DVB', 'DVBInput', NULL, 'tvbox', 'T', 0);

INSERT INTO cardinput (cardinputid, cardid, sourceid, inputname, externalcommand, preference,
                       shareable, tunechan, startchan) VALUES
  (1, 1, 1, 'Television', NULL, 0, 'N', '0', 1001),
  (2, 1, 0, 'Composite1', NULL, 0, 'N', '0', NULL),
  (6, 4, 3, 'DVBInput', NULL, 0, 'Y', '0', 1101);

INSERT INTO settings (value, data, hostname) VALUES
  ('RecordFilePrefix', '/var/lib/korvane/recordings', 'tvbox'),
  ('LiveBufferDir', '/var/lib/korvane/livetv', 'tvbox');
