<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CardKind</name>
    <message>
        <source>analogue</source>
        <translation>analog</translation>
    </message>
</context>
<context>
    <name>ChannelRow</name>
    <message>
        <source>channel %1</source>
        <translation>Kanal %1</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>The line-up could not be checked: %1</source>
        <translation>Die Senderliste konnte nicht geprüft werden: %1</translation>
    </message>
    <message>
        <source>standard output</source>
        <translation>Standardausgabe</translation>
    </message>
    <message>
        <source>Korvane Setup edits the channel sources, channels and capture cards of the Korvane TV recorder. Without options it opens its window; the options below work without a display.</source>
        <translation>Korvane Setup bearbeitet die Kanalquellen, Kanäle und TV-Karten des Korvane-TV-Rekorders. Ohne Optionen öffnet es sein Fenster; die Optionen unten arbeiten ohne Bildschirm.</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Zeigt die Hilfe zu den Kommandozeilenoptionen an.</translation>
    </message>
    <message>
        <source>Check the line-up and print what would make the recorder fail, one line a problem, errors first. Exit status: 0 no error found, 2 errors found, 1 the check could not run.</source>
        <translation>Die Senderliste prüfen und ausgeben, was den Rekorder scheitern ließe, eine Zeile je Problem, Fehler zuerst. Rückgabewert: 0 kein Fehler gefunden, 2 Fehler gefunden, 1 die Prüfung konnte nicht laufen.</translation>
    </message>
    <message>
        <source>Write the stored channels of SOURCE (its id or exact name) to FILE (- for standard output). Exit status: 0 written, 1 not.</source>
        <translation>Die gespeicherten Kanäle von QUELLE (ihre ID oder ihr genauer Name) in DATEI schreiben (- für die Standardausgabe). Rückgabewert: 0 geschrieben, 1 nicht.</translation>
    </message>
    <message>
        <source>SOURCE</source>
        <translation>QUELLE</translation>
    </message>
    <message>
        <source>With --export: dvbv5 (the DVB tools&apos; channel file) or csv; else taken from FILE&apos;s extension, dvbv5 when it has none.</source>
        <translation>Mit --export: dvbv5 (die Kanaldatei der DVB-Werkzeuge) oder csv; sonst nach der Endung von DATEI, dvbv5 wenn sie keine hat.</translation>
    </message>
    <message>
        <source>FORMAT</source>
        <translation>FORMAT</translation>
    </message>
    <message>
        <source>With --export: the file to write.</source>
        <translation>Mit --export: die zu schreibende Datei.</translation>
    </message>
    <message>
        <source>--export and --check are run one at a time.</source>
        <translation>--export und --check werden einzeln ausgeführt.</translation>
    </message>
    <message>
        <source>--export needs the FILE to write.</source>
        <translation>--export braucht die zu schreibende DATEI.</translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation>Unerwartetes Argument: %1</translation>
    </message>
    <message>
        <source>Unknown format &quot;%1&quot;: dvbv5 or csv.</source>
        <translation>Unbekanntes Format „%1“: dvbv5 oder csv.</translation>
    </message>
    <message>
        <source>--format goes with --export.</source>
        <translation>--format gehört zu --export.</translation>
    </message>
    <message>
        <source>--json goes with --check or --history.</source>
        <translation>--json gehört zu --check oder --history.</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>DATEI</translation>
    </message>
    <message>
        <source>[FILE]</source>
        <translation>[DATEI]</translation>
    </message>
    <message>
        <source>With --check: print the problems as one JSON array; with --history, the entries.</source>
        <translation>Mit --check: die Probleme als ein JSON-Array ausgeben; mit --history die Einträge.</translation>
    </message>
    <message>
        <source>List what this program wrote to the database, newest first: id, time, user and host, what was done, rows written.</source>
        <translation>Auflisten, was dieses Programm in die Datenbank geschrieben hat, das Neueste zuerst: Nummer, Zeit, Benutzer und Rechner, was getan wurde, geschriebene Zeilen.</translation>
    </message>
    <message>
        <source>With --history: at most N entries.</source>
        <translation>Mit --history: höchstens N Einträge.</translation>
    </message>
    <message>
        <source>--history goes alone (with --limit and --json).</source>
        <translation>--history steht allein (mit --limit und --json).</translation>
    </message>
    <message>
        <source>--limit needs a whole number, not &quot;%1&quot;.</source>
        <translation>--limit braucht eine ganze Zahl, nicht „%1“.</translation>
    </message>
    <message>
        <source>--limit goes with --history.</source>
        <translation>--limit gehört zu --history.</translation>
    </message>
    <message>
        <source>1 row</source>
        <translation>1 Zeile</translation>
    </message>
    <message>
        <source>%1 rows</source>
        <translation>%1 Zeilen</translation>
    </message>
    <message>
        <source>, unfinished</source>
        <translation>, nicht abgeschlossen</translation>
    </message>
    <message>
        <source>Nothing has been written to this database yet.
</source>
        <translation>In diese Datenbank wurde noch nichts geschrieben.
</translation>
    </message>
    <message>
        <source>The history could not be read: %1</source>
        <translation>Der Verlauf konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>Take back the history&apos;s entry ID, every record that is unchanged since. Exit status: 0 taken back, 2 a record changed since (nothing written), 1 not.</source>
        <translation>Den Eintrag ID des Verlaufs zurücknehmen, jeden seither unveränderten Datensatz. Rückgabewert: 0 zurückgenommen, 2 ein Datensatz wurde seither geändert (nichts geschrieben), 1 nicht.</translation>
    </message>
    <message>
        <source>--take-back goes alone (with --dry-run).</source>
        <translation>--take-back steht allein (mit --dry-run).</translation>
    </message>
    <message>
        <source>--take-back needs an entry&apos;s id (see --history), not &quot;%1&quot;.</source>
        <translation>--take-back braucht die ID eines Eintrags (siehe --history), nicht „%1“.</translation>
    </message>
    <message>
        <source>There is no entry %1 in the history of this database (--history lists them).</source>
        <translation>Im Verlauf dieser Datenbank gibt es keinen Eintrag %1 (--history listet sie auf).</translation>
    </message>
    <message>
        <source>Nothing was taken back: 1 record changed since the entry:</source>
        <translation>Nichts wurde zurückgenommen: 1 Datensatz wurde seit dem Eintrag geändert:</translation>
    </message>
    <message>
        <source>Nothing was taken back: %1 records changed since the entry:</source>
        <translation>Nichts wurde zurückgenommen: %1 Datensätze wurden seit dem Eintrag geändert:</translation>
    </message>
    <message>
        <source>Would take back 1 record; nothing was written.</source>
        <translation>Würde 1 Datensatz zurücknehmen; nichts wurde geschrieben.</translation>
    </message>
    <message>
        <source>Would take back %1 records; nothing was written.</source>
        <translation>Würde %1 Datensätze zurücknehmen; nichts wurde geschrieben.</translation>
    </message>
    <message>
        <source>Command line</source>
        <translation>Befehlszeile</translation>
    </message>
    <message>
        <source>Taken back: %1 (1 record).</source>
        <translation>Zurückgenommen: %1 (1 Datensatz).</translation>
    </message>
    <message>
        <source>Taken back: %1 (%2 records).</source>
        <translation>Zurückgenommen: %1 (%2 Datensätze).</translation>
    </message>
    <message>
        <source>The history could not be written: %1</source>
        <translation>Der Verlauf konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>Nothing was taken back: %1</source>
        <translation>Nichts wurde zurückgenommen: %1</translation>
    </message>
    <message>
        <source>The backup could not be written to standard output.</source>
        <translation>Die Sicherung konnte nicht auf die Standardausgabe geschrieben werden.</translation>
    </message>
    <message>
        <source>%1 rows of the line-up backed up to %2.
</source>
        <translation>%1 Zeilen der Senderbelegung nach %2 gesichert.
</translation>
    </message>
    <message>
        <source>The line-up already holds what %1 holds.
</source>
        <translation>Die Senderbelegung enthält bereits, was %1 enthält.
</translation>
    </message>
    <message>
        <source>Restore the line-up from %1</source>
        <translation>Senderbelegung aus %1 wiederherstellen</translation>
    </message>
    <message>
        <source>Restored from %1.
</source>
        <translation>Aus %1 wiederhergestellt.
</translation>
    </message>
    <message>
        <source>The history could not be written: %1
</source>
        <translation>Der Verlauf konnte nicht geschrieben werden: %1
</translation>
    </message>
    <message>
        <source>With --take-back or --restore: print what would be done, write nothing.</source>
        <translation>Mit --take-back oder --restore: ausgeben, was getan würde, nichts schreiben.</translation>
    </message>
    <message>
        <source>Write the line-up (sources, channels, tuning values, cards, inputs) to FILE as JSON (- for standard output). Exit status: 0 written, 1 not.</source>
        <translation>Die Senderbelegung (Quellen, Sender, Abstimmwerte, Karten, Eingänge) als JSON in DATEI schreiben (- für die Standardausgabe). Rückgabewert: 0 geschrieben, 1 nicht.</translation>
    </message>
    <message>
        <source>Make the line-up hold exactly what FILE holds, printing what changes first. Exit status: 0 restored (or nothing to change), 2 with --dry-run when something would change, 1 not.</source>
        <translation>Die Senderbelegung genau auf den Inhalt von DATEI bringen und vorher ausgeben, was sich ändert. Rückgabewert: 0 wiederhergestellt (oder nichts zu ändern), 2 mit --dry-run, wenn sich etwas ändern würde, 1 nicht.</translation>
    </message>
    <message>
        <source>--backup goes alone; --restore goes alone or with --dry-run.</source>
        <translation>--backup steht allein; --restore steht allein oder mit --dry-run.</translation>
    </message>
    <message>
        <source>--dry-run goes with --take-back or --restore.</source>
        <translation>--dry-run gehört zu --take-back oder --restore.</translation>
    </message>
</context>
<context>
    <name>ExportChannels</name>
    <message>
        <source>The channels could not be exported to &quot;%1&quot;: %2 Nothing was written.</source>
        <translation>Die Kanäle konnten nicht nach „%1“ exportiert werden: %2 Es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>The DVB library could not write the channel file.</source>
        <translation>Die DVB-Bibliothek konnte die Kanaldatei nicht schreiben.</translation>
    </message>
    <message>
        <source>1 channel exported to &quot;%1&quot;.</source>
        <translation>1 Kanal nach „%1“ exportiert.</translation>
    </message>
    <message>
        <source>%1 channels exported to &quot;%2&quot;.</source>
        <translation>%1 Kanäle nach „%2“ exportiert.</translation>
    </message>
    <message>
        <source>1 channel without DVB tuning values was left out.</source>
        <translation>1 Kanal ohne DVB-Abstimmwerte wurde ausgelassen.</translation>
    </message>
    <message>
        <source>%1 channels without DVB tuning values were left out.</source>
        <translation>%1 Kanäle ohne DVB-Abstimmwerte wurden ausgelassen.</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <source>Short name</source>
        <translation>Kurzname</translation>
    </message>
    <message>
        <source>Long name</source>
        <translation>Langer Name</translation>
    </message>
    <message>
        <source>XMLTV ID</source>
        <translation>XMLTV-ID</translation>
    </message>
    <message>
        <source>Icon</source>
        <translation>Logo</translation>
    </message>
    <message>
        <source>no DVB card receives this source, so its channels have no DVB tuning values. Export them as CSV instead.</source>
        <translation>keine DVB-Karte empfängt diese Quelle, ihre Kanäle haben also keine DVB-Abstimmwerte. Exportieren Sie sie stattdessen als CSV.</translation>
    </message>
    <message>
        <source>there are no channels to export.</source>
        <translation>es gibt keine Kanäle zu exportieren.</translation>
    </message>
    <message>
        <source>none of the channels has DVB tuning values.</source>
        <translation>keiner der Kanäle hat DVB-Abstimmwerte.</translation>
    </message>
</context>
<context>
    <name>Frequency</name>
    <message>
        <source>47 to 862 MHz (47000000 to 862000000 Hz)</source>
        <translation>47 bis 862 MHz (47000000 bis 862000000 Hz)</translation>
    </message>
    <message>
        <source>950 to 2150 MHz or 10.7 to 12.75 GHz (950000 to 2150000 or 10700000 to 12750000 kHz)</source>
        <translation>950 bis 2150 MHz oder 10,7 bis 12,75 GHz (950000 bis 2150000 oder 10700000 bis 12750000 kHz)</translation>
    </message>
    <message>
        <source>%1, outside the %2 band</source>
        <translation>%1, außerhalb des %2-Bandes</translation>
    </message>
</context>
<context>
    <name>IconMatch</name>
    <message>
        <source>The folder &quot;%1&quot; does not exist.</source>
        <translation>Der Ordner „%1“ existiert nicht.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a folder.</source>
        <translation>„%1“ ist kein Ordner.</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; cannot be read: you may not list its files.</source>
        <translation>Der Ordner „%1“ kann nicht gelesen werden: Sie dürfen seine Dateien nicht auflisten.</translation>
    </message>
</context>
<context>
    <name>LineupBackup</name>
    <message>
        <source>%1 cannot be restored: %2</source>
        <translation>%1 kann nicht wiederhergestellt werden: %2</translation>
    </message>
    <message>
        <source>%1, row %2</source>
        <translation>%1, Zeile %2</translation>
    </message>
    <message>
        <source>%1, row %2, column %3</source>
        <translation>%1, Zeile %2, Spalte %3</translation>
    </message>
    <message>
        <source>%1: %2 is not a whole number</source>
        <translation>%1: %2 ist keine ganze Zahl</translation>
    </message>
    <message>
        <source>%1: %2 is out of the column&apos;s range (%3 to %4)</source>
        <translation>%1: %2 liegt außerhalb des Bereichs der Spalte (%3 bis %4)</translation>
    </message>
    <message>
        <source>%1: a text is expected</source>
        <translation>%1: ein Text wird erwartet</translation>
    </message>
    <message>
        <source>%1: %2 characters are wider than the column (%3)</source>
        <translation>%1: %2 Zeichen sind breiter als die Spalte (%3)</translation>
    </message>
    <message>
        <source>it is larger than 256 MB</source>
        <translation>sie ist größer als 256 MB</translation>
    </message>
    <message>
        <source>the file is cut short (it ends at byte %1)</source>
        <translation>die Datei ist abgeschnitten (sie endet bei Byte %1)</translation>
    </message>
    <message>
        <source>it is not JSON (%1 at byte %2)</source>
        <translation>sie ist kein JSON (%1 bei Byte %2)</translation>
    </message>
    <message>
        <source>it is not a line-up backup of this program</source>
        <translation>sie ist keine Sicherung der Senderbelegung dieses Programms</translation>
    </message>
    <message>
        <source>it is of a newer version (%1) than this program reads (%2)</source>
        <translation>sie hat eine neuere Version (%1), als dieses Programm liest (%2)</translation>
    </message>
    <message>
        <source>it has no version this program reads</source>
        <translation>sie hat keine Version, die dieses Programm liest</translation>
    </message>
    <message>
        <source>the table %1 is not one of the line-up</source>
        <translation>die Tabelle %1 gehört nicht zur Senderbelegung</translation>
    </message>
    <message>
        <source>the table %1 is missing</source>
        <translation>die Tabelle %1 fehlt</translation>
    </message>
    <message>
        <source>%1 is not a row</source>
        <translation>%1 ist keine Zeile</translation>
    </message>
    <message>
        <source>%1: the column %2 is not known</source>
        <translation>%1: die Spalte %2 ist unbekannt</translation>
    </message>
    <message>
        <source>%1 has no %2</source>
        <translation>%1 hat kein %2</translation>
    </message>
    <message>
        <source>two rows of %1 have the id %2</source>
        <translation>zwei Zeilen von %1 haben die ID %2</translation>
    </message>
    <message>
        <source>%1: its %2 %3 is not in the file</source>
        <translation>%1: %2 %3 steht nicht in der Datei</translation>
    </message>
    <message>
        <source>source</source>
        <translation>Quelle</translation>
    </message>
    <message>
        <source>channel</source>
        <translation>Sender</translation>
    </message>
    <message>
        <source>card</source>
        <translation>Karte</translation>
    </message>
    <message>
        <source>start channel</source>
        <translation>Startsender</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 is missing</source>
        <translation>%1 fehlt</translation>
    </message>
    <message>
        <source>its list of dangling references is not understood</source>
        <translation>ihre Liste verwaister Verweise ist nicht lesbar</translation>
    </message>
</context>
<context>
    <name>LineupCheck</name>
    <message>
        <source>No card input uses this source</source>
        <translation>Kein Karteneingang nutzt diese Quelle</translation>
    </message>
    <message>
        <source>None of its channels can ever be recorded: no card receives them. Choose it as the channel source of an input in the card editor.</source>
        <translation>Keiner ihrer Kanäle kann je aufgenommen werden: keine Karte empfängt sie. Wählen Sie sie im Karteneditor als Kanalquelle eines Eingangs.</translation>
    </message>
    <message>
        <source>No DVB tuning values</source>
        <translation>Keine DVB-Abstimmwerte</translation>
    </message>
    <message>
        <source>No frequency and no PIDs</source>
        <translation>Keine Frequenz und keine PIDs</translation>
    </message>
    <message>
        <source>No frequency</source>
        <translation>Keine Frequenz</translation>
    </message>
    <message>
        <source>No PIDs</source>
        <translation>Keine PIDs</translation>
    </message>
    <message>
        <source>A DVB card cannot tune a channel without its frequency, nor record it without its PIDs.</source>
        <translation>Eine DVB-Karte kann einen Kanal ohne seine Frequenz nicht abstimmen und ohne seine PIDs nicht aufnehmen.</translation>
    </message>
    <message>
        <source>Frequency %1 is outside %2 for %3</source>
        <translation>Frequenz %1 liegt außerhalb von %2 für %3</translation>
    </message>
    <message>
        <source>Frequency “%1” is not a number</source>
        <translation>Frequenz „%1“ ist keine Zahl</translation>
    </message>
    <message>
        <source>A frequency outside the band is most likely a typing or unit mistake: tuning to it fails.</source>
        <translation>Eine Frequenz außerhalb des Bandes ist meist ein Tipp- oder Einheitenfehler: das Abstimmen darauf schlägt fehl.</translation>
    </message>
    <message>
        <source>DVB tuning values of a channel that no longer exists</source>
        <translation>DVB-Abstimmwerte eines Kanals, den es nicht mehr gibt</translation>
    </message>
    <message>
        <source>channel id %1 (no such channel: this row cannot be opened)</source>
        <translation>Kanal-ID %1 (kein solcher Kanal: diese Zeile kann nicht geöffnet werden)</translation>
    </message>
    <message>
        <source>Left behind by an older tool: it belongs to no channel. Deleting the source it belonged to, or the database row, removes it.</source>
        <translation>Von einem älteren Werkzeug zurückgelassen: sie gehört zu keinem Kanal. Das Löschen der Quelle, zu der sie gehörte, oder der Datenbankzeile entfernt sie.</translation>
    </message>
    <message>
        <source>Number %1 is also the number of %2</source>
        <translation>Nummer %1 ist auch die Nummer von %2</translation>
    </message>
    <message>
        <source>A channel is chosen by its number: of channels with the same number, only one can be reached by it.</source>
        <translation>Ein Kanal wird über seine Nummer gewählt: von Kanälen mit derselben Nummer ist nur einer darüber erreichbar.</translation>
    </message>
    <message>
        <source>1 channel of %1 has no listings id</source>
        <translation>1 Kanal von %1 hat keine Programm-ID</translation>
    </message>
    <message>
        <source>%1 channels of %2 have no listings id</source>
        <translation>%1 Kanäle von %2 haben keine Programm-ID</translation>
    </message>
    <message>
        <source>Without its listings id (XMLTV ID) a channel gets no programme guide from %1, so nothing on it can be scheduled. Listings... in the source&apos;s editor fills them in.</source>
        <translation>Ohne seine Programm-ID (XMLTV-ID) bekommt ein Kanal keine Programmübersicht von %1, also kann nichts darauf geplant werden. Programmdaten... im Editor der Quelle trägt sie ein.</translation>
    </message>
    <message>
        <source>No start channel</source>
        <translation>Kein Startkanal</translation>
    </message>
    <message>
        <source>%1 (which does not exist)</source>
        <translation>%1 (den es nicht gibt)</translation>
    </message>
    <message>
        <source>Start channel %1 does not exist</source>
        <translation>Startkanal %1 existiert nicht</translation>
    </message>
    <message>
        <source>Start channel “%1” is not a channel of source %2</source>
        <translation>Startkanal „%1“ ist kein Kanal der Quelle %2</translation>
    </message>
    <message>
        <source>The card tunes to the input&apos;s start channel first: without one of the input&apos;s source it cannot start recording from it.</source>
        <translation>Die Karte stimmt zuerst auf den Startkanal des Eingangs ab: ohne einen aus der Quelle des Eingangs kann sie nicht damit aufnehmen.</translation>
    </message>
    <message>
        <source>No default input</source>
        <translation>Kein Standardeingang</translation>
    </message>
    <message>
        <source>Default input “%1” is none of the card&apos;s inputs</source>
        <translation>Standardeingang „%1“ ist keiner der Eingänge der Karte</translation>
    </message>
    <message>
        <source>The card starts on its default input: naming none of its inputs, it has nothing to record from.</source>
        <translation>Die Karte startet auf ihrem Standardeingang: nennt er keinen ihrer Eingänge, hat sie nichts, wovon sie aufnehmen könnte.</translation>
    </message>
    <message>
        <source>No inputs</source>
        <translation>Keine Eingänge</translation>
    </message>
    <message>
        <source>A card without inputs receives no source: nothing is recorded with it. Add an input in its editor.</source>
        <translation>Eine Karte ohne Eingänge empfängt keine Quelle: mit ihr wird nichts aufgenommen. Fügen Sie in ihrem Editor einen Eingang hinzu.</translation>
    </message>
    <message>
        <source>Device %1 is also that of card %2</source>
        <translation>Gerät %1 ist auch das von Karte %2</translation>
    </message>
    <message>
        <source>Two cards on one host cannot open the same device: one of them fails to record.</source>
        <translation>Zwei Karten auf einem Rechner können nicht dasselbe Gerät öffnen: eine von ihnen kann nicht aufnehmen.</translation>
    </message>
    <message>
        <source>Received by cards of different kinds (%1)</source>
        <translation>Wird von Karten verschiedener Art empfangen (%1)</translation>
    </message>
    <message>
        <source> and </source>
        <translation> und </translation>
    </message>
    <message>
        <source>The channels of a source are tuned one way: its editor, export and check take them as %1 (the first DVB card&apos;s kind), so the other cards cannot tune them.</source>
        <translation>Die Kanäle einer Quelle werden auf eine Art abgestimmt: Ihr Editor, der Export und die Prüfung nehmen sie als %1 (die Art der ersten DVB-Karte), sodass die anderen Karten sie nicht abstimmen können.
</translation>
    </message>
    <message>
        <source>source “%1” (%2)</source>
        <translation>Quelle „%1“ (%2)</translation>
    </message>
    <message>
        <source>no name</source>
        <translation>kein Name</translation>
    </message>
    <message>
        <source>id %1</source>
        <translation>ID %1</translation>
    </message>
    <message>
        <source>channel “%1” (%2)</source>
        <translation>Kanal „%1“ (%2)</translation>
    </message>
    <message>
        <source>on %1</source>
        <translation>auf %1</translation>
    </message>
    <message>
        <source>card %1</source>
        <translation>Karte %1</translation>
    </message>
    <message>
        <source>card %1 (%2)</source>
        <translation>Karte %1 (%2)</translation>
    </message>
    <message>
        <source>input “%1” (%2)</source>
        <translation>Eingang „%1“ (%2)</translation>
    </message>
</context>
<context>
    <name>LineupReport</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>No problems found</source>
        <translation>Keine Probleme gefunden</translation>
    </message>
    <message>
        <source>1 error</source>
        <translation>1 Fehler</translation>
    </message>
    <message>
        <source>%1 errors</source>
        <translation>%1 Fehler</translation>
    </message>
    <message>
        <source>1 warning</source>
        <translation>1 Warnung</translation>
    </message>
    <message>
        <source>%1 warnings</source>
        <translation>%1 Warnungen</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1: %2 - %3: %4</source>
        <translation>%1: %2 - %3: %4</translation>
    </message>
</context>
<context>
    <name>LineupRestore</name>
    <message>
        <source>source %1 %2</source>
        <translation>Quelle %1 %2</translation>
    </message>
    <message>
        <source>channel %1 %2 (source %3)</source>
        <translation>Sender %1 %2 (Quelle %3)</translation>
    </message>
    <message>
        <source>tuning values of %1</source>
        <translation>Abstimmwerte von %1</translation>
    </message>
    <message>
        <source>card %1 %2 on %3</source>
        <translation>Karte %1 %2 auf %3</translation>
    </message>
    <message>
        <source>input %1 %2 (card %3)</source>
        <translation>Eingang %1 %2 (Karte %3)</translation>
    </message>
    <message>
        <source>%1 to add, %2 to delete, %3 to change</source>
        <translation>%1 hinzuzufügen, %2 zu löschen, %3 zu ändern</translation>
    </message>
    <message>
        <source>channel #%1</source>
        <translation>Sender #%1</translation>
    </message>
</context>
<context>
    <name>ListingsFile</name>
    <message>
        <source>The listings file &quot;%1&quot; %2</source>
        <translation>Die Programmdatei „%1“ %2</translation>
    </message>
    <message>
        <source>cannot be opened.</source>
        <translation>kann nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>is a gzip file that ends too early (truncated).</source>
        <translation>ist eine gzip-Datei, die zu früh endet (abgeschnitten).</translation>
    </message>
    <message>
        <source>is a damaged gzip file (%1).</source>
        <translation>ist eine beschädigte gzip-Datei (%1).</translation>
    </message>
    <message>
        <source>does not exist.</source>
        <translation>existiert nicht.</translation>
    </message>
    <message>
        <source>is a directory, not a file.</source>
        <translation>ist ein Ordner, keine Datei.</translation>
    </message>
    <message>
        <source>cannot be read: %1.</source>
        <translation>kann nicht gelesen werden: %1.</translation>
    </message>
    <message>
        <source>is empty.</source>
        <translation>ist leer.</translation>
    </message>
    <message>
        <source>is not an XMLTV file: %1 (line %2, column %3).</source>
        <translation>ist keine XMLTV-Datei: %1 (Zeile %2, Spalte %3).</translation>
    </message>
    <message>
        <source>is no XMLTV listings file: its root element is &lt;%1&gt;, not &lt;tv&gt;.</source>
        <translation>ist keine XMLTV-Programmdatei: ihr Wurzelelement ist &lt;%1&gt;, nicht &lt;tv&gt;.</translation>
    </message>
    <message>
        <source>declares the external entity &quot;%1&quot; (%2), which is never read.</source>
        <translation>deklariert die externe Entität „%1“ (%2), die nie gelesen wird.</translation>
    </message>
    <message>
        <source>refers to the entity &quot;%1&quot;, which is never read.</source>
        <translation>verweist auf die Entität „%1“, die nie gelesen wird.</translation>
    </message>
    <message>
        <source>lists no channels (no &lt;channel&gt; element with an id).</source>
        <translation>listet keine Kanäle (kein &lt;channel&gt;-Element mit einer id).</translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Abort</source>
        <translation>A&amp;bbrechen</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
</context>
<context>
    <name>PlanImport</name>
    <message>
        <source>%1 &quot;%2&quot; is longer than its column holds (%3 characters)</source>
        <translation>%1 „%2“ ist länger, als seine Spalte fasst (%3 Zeichen)</translation>
    </message>
    <message>
        <source>a %1 service; this source receives %2</source>
        <translation>ein %1-Dienst; diese Quelle empfängt %2</translation>
    </message>
    <message>
        <source>no digital television</source>
        <translation>kein Digitalfernsehen</translation>
    </message>
    <message>
        <source>a radio service (not included)</source>
        <translation>ein Radiodienst (nicht eingeschlossen)</translation>
    </message>
    <message>
        <source>the service has no name</source>
        <translation>der Dienst hat keinen Namen</translation>
    </message>
    <message>
        <source>the same name as a service listed above</source>
        <translation>derselbe Name wie ein weiter oben aufgeführter Dienst</translation>
    </message>
    <message>
        <source>the file&apos;s number %1 is longer than a channel number holds</source>
        <translation>die Nummer %1 der Datei ist länger, als eine Kanalnummer fasst</translation>
    </message>
    <message>
        <source>the file&apos;s number %1 is taken</source>
        <translation>die Nummer %1 der Datei ist vergeben</translation>
    </message>
    <message>
        <source>frequency</source>
        <translation>Frequenz</translation>
    </message>
    <message>
        <source>PIDs</source>
        <translation>PIDs</translation>
    </message>
    <message>
        <source>polarization</source>
        <translation>Polarisation</translation>
    </message>
    <message>
        <source>symbol rate</source>
        <translation>Symbolrate</translation>
    </message>
    <message>
        <source>inversion</source>
        <translation>Inversion</translation>
    </message>
    <message>
        <source>bandwidth</source>
        <translation>Bandbreite</translation>
    </message>
    <message>
        <source>code rate HP</source>
        <translation>Coderate HP</translation>
    </message>
    <message>
        <source>code rate LP</source>
        <translation>Coderate LP</translation>
    </message>
    <message>
        <source>modulation</source>
        <translation>Modulation</translation>
    </message>
    <message>
        <source>transmission mode</source>
        <translation>Übertragungsmodus</translation>
    </message>
    <message>
        <source>guard interval</source>
        <translation>Schutzintervall</translation>
    </message>
    <message>
        <source>hierarchy</source>
        <translation>Hierarchie</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>(none)</source>
        <translation>(keiner)</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Delete the %1 selected records?</source>
        <translation>Die %1 ausgewählten Datensätze löschen?</translation>
    </message>
    <message>
        <source>Delete the selected record?</source>
        <translation>Den ausgewählten Datensatz löschen?</translation>
    </message>
    <message>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
</context>
<context>
    <name>ReadChannelFile</name>
    <message>
        <source>The channel file &quot;%1&quot; cannot be imported: %2</source>
        <translation>Die Kanaldatei „%1“ kann nicht importiert werden: %2</translation>
    </message>
    <message>
        <source>no delivery system</source>
        <translation>kein Übertragungssystem</translation>
    </message>
    <message>
        <source>delivery system %1</source>
        <translation>Übertragungssystem %1</translation>
    </message>
    <message>
        <source>there is no such file.</source>
        <translation>es gibt keine solche Datei.</translation>
    </message>
    <message>
        <source>it is a folder, not a file.</source>
        <translation>es ist ein Ordner, keine Datei.</translation>
    </message>
    <message>
        <source>it is not a regular file.</source>
        <translation>es ist keine reguläre Datei.</translation>
    </message>
    <message>
        <source>it cannot be read (%1).</source>
        <translation>sie kann nicht gelesen werden (%1).</translation>
    </message>
    <message>
        <source>it is empty.</source>
        <translation>sie ist leer.</translation>
    </message>
    <message>
        <source>it is larger than 10 MB; a channel file is a few kilobytes.</source>
        <translation>sie ist größer als 10 MB; eine Kanaldatei hat wenige Kilobyte.</translation>
    </message>
    <message>
        <source>it is not a text file.</source>
        <translation>sie ist keine Textdatei.</translation>
    </message>
    <message>
        <source>it is no channel file of the formats dvbv5, channel or zap.</source>
        <translation>sie ist keine Kanaldatei der Formate dvbv5, channel oder zap.</translation>
    </message>
    <message>
        <source>it is no channel file the DVB library reads: %1</source>
        <translation>sie ist keine Kanaldatei, die die DVB-Bibliothek liest: %1</translation>
    </message>
    <message>
        <source>it holds no service.</source>
        <translation>sie enthält keinen Dienst.</translation>
    </message>
</context>
<context>
    <name>ReadStoredSource</name>
    <message>
        <source>There is no source with the id or name &quot;%1&quot;.</source>
        <translation>Es gibt keine Quelle mit der ID oder dem Namen „%1“.</translation>
    </message>
    <message>
        <source>%1 sources are named &quot;%2&quot;: give the id of the one to export.</source>
        <translation>%1 Quellen heißen „%2“: geben Sie die ID der zu exportierenden an.</translation>
    </message>
</context>
<context>
    <name>RecordName</name>
    <message>
        <source>#%1</source>
        <translation>#%1</translation>
    </message>
    <message>
        <source>source %1</source>
        <translation>Quelle %1</translation>
    </message>
    <message>
        <source>channel %1</source>
        <translation>Sender %1</translation>
    </message>
    <message>
        <source>tuning values of channel %1</source>
        <translation>Abstimmwerte von Sender %1</translation>
    </message>
    <message>
        <source>card %1 on “%2”</source>
        <translation>Karte %1 auf „%2“</translation>
    </message>
    <message>
        <source>input %1</source>
        <translation>Eingang %1</translation>
    </message>
    <message>
        <source>number</source>
        <translation>Nummer</translation>
    </message>
    <message>
        <source>name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>short name</source>
        <translation>Kurzname</translation>
    </message>
    <message>
        <source>XMLTV ID</source>
        <translation>XMLTV-ID</translation>
    </message>
    <message>
        <source>icon</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>source</source>
        <translation>Quelle</translation>
    </message>
    <message>
        <source>frequency</source>
        <translation>Frequenz</translation>
    </message>
    <message>
        <source>PIDs</source>
        <translation>PIDs</translation>
    </message>
    <message>
        <source>input</source>
        <translation>Eingang</translation>
    </message>
    <message>
        <source>start channel</source>
        <translation>Startsender</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keiner)</translation>
    </message>
    <message>
        <source>added</source>
        <translation>hinzugefügt</translation>
    </message>
    <message>
        <source>deleted</source>
        <translation>gelöscht</translation>
    </message>
    <message>
        <source>unchanged</source>
        <translation>unverändert</translation>
    </message>
</context>
<context>
    <name>RenumberPlan</name>
    <message>
        <source>“%1” would be numbered %2, longer than the %3 characters a channel number holds.</source>
        <translation>„%1“ bekäme die Nummer %2, länger als die %3 Zeichen, die eine Kanalnummer fasst.</translation>
    </message>
    <message>
        <source>1 channel: %1</source>
        <translation>1 Kanal: %1</translation>
    </message>
    <message>
        <source>%1 channels: %2 to %3</source>
        <translation>%1 Kanäle: %2 bis %3</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>mysql.txt cound not be found and read. Please create a valid config file. See the Korvane docs for more info.</source>
        <translation>mysql.txt konnte nicht gefunden und gelesen werden. Bitte legen Sie eine gültige Konfigurationsdatei an. Mehr dazu in der Korvane-Dokumentation.</translation>
    </message>
    <message>
        <source>Korvane Setup</source>
        <translation>Korvane Setup</translation>
    </message>
    <message>
        <source>Database login</source>
        <translation>Datenbankanmeldung</translation>
    </message>
</context>
<context>
    <name>TCardWin</name>
    <message>
        <source>TV Card[*]</source>
        <translation>TV-Karte[*]</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Card</source>
        <translation>Karte</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Hostname</source>
        <translation>Rechnername</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Type invalid</source>
        <translation>Typ ungültig</translation>
    </message>
    <message>
        <source>Default card input</source>
        <translation>Standard-Karteneingang</translation>
    </message>
    <message>
        <source>Audio recording device</source>
        <translation>Audio-Aufnahmegerät</translation>
    </message>
    <message>
        <source>Audio rate limit</source>
        <translation>Audio-Ratenbegrenzung</translation>
    </message>
    <message>
        <source>Video capture device</source>
        <translation>Video-Aufnahmegerät</translation>
    </message>
    <message>
        <source>Teletext (VBI) device</source>
        <translation>Videotext-Gerät (VBI)</translation>
    </message>
    <message>
        <source>Grab full transport stream from card</source>
        <translation>Vollständigen Transportstrom von der Karte holen</translation>
    </message>
    <message>
        <source>Transport type</source>
        <translation>Transportart</translation>
    </message>
    <message>
        <source>Device number</source>
        <translation>Gerätenummer</translation>
    </message>
    <message>
        <source>Card input</source>
        <translation>Karteneingang</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Shareable</source>
        <translation>Teilbar</translation>
    </message>
    <message>
        <source>External Command</source>
        <translation>Externer Befehl</translation>
    </message>
    <message>
        <source>Channel source</source>
        <translation>Kanalquelle</translation>
    </message>
    <message>
        <source>Start channel</source>
        <translation>Startkanal</translation>
    </message>
    <message>
        <source>Preference</source>
        <translation>Vorrang</translation>
    </message>
    <message>
        <source>Tune channel</source>
        <translation>Abstimmkanal</translation>
    </message>
</context>
<context>
    <name>TChannelWin</name>
    <message>
        <source>DVB channel file (*.conf)</source>
        <translation>DVB-Kanaldatei (*.conf)</translation>
    </message>
    <message>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <source>Export channels (with the changes not saved yet)</source>
        <translation>Kanäle exportieren (mit den noch nicht gespeicherten Änderungen)</translation>
    </message>
    <message>
        <source>Export channels</source>
        <translation>Kanäle exportieren</translation>
    </message>
    <message>
        <source>Exported 1 channel.</source>
        <translation>1 Kanal exportiert.</translation>
    </message>
    <message>
        <source>Exported %1 channels.</source>
        <translation>%1 Kanäle exportiert.</translation>
    </message>
    <message>
        <source>Choose a folder of icons</source>
        <translation>Einen Ordner mit Logos wählen</translation>
    </message>
    <message>
        <source>Fill in the icon of 1 channel</source>
        <translation>Das Logo von 1 Kanal eintragen</translation>
    </message>
    <message>
        <source>Fill in the icons of %1 channels</source>
        <translation>Die Logos von %1 Kanälen eintragen</translation>
    </message>
    <message>
        <source>Import channels</source>
        <translation>Kanäle importieren</translation>
    </message>
    <message>
        <source>Channel files (*.conf *.zap *.channel);;All files (*)</source>
        <translation>Kanaldateien (*.conf *.zap *.channel);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>The channel file &quot;%1&quot; holds no %2 service for this source.</source>
        <translation>Die Kanaldatei „%1“ enthält keinen %2-Dienst für diese Quelle.</translation>
    </message>
    <message>
        <source>Import %1 channels</source>
        <translation>%1 Kanäle importieren</translation>
    </message>
    <message>
        <source>Match listings</source>
        <translation>Programmdaten zuordnen</translation>
    </message>
    <message>
        <source>XMLTV listings (*.xml *.xml.gz *.gz);;All files (*)</source>
        <translation>XMLTV-Programmdaten (*.xml *.xml.gz *.gz);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Fill in the listings of 1 channel</source>
        <translation>Die Programmdaten von 1 Kanal eintragen</translation>
    </message>
    <message>
        <source>Fill in the listings of %1 channels</source>
        <translation>Die Programmdaten von %1 Kanälen eintragen</translation>
    </message>
    <message>
        <source>Channel number</source>
        <translation>Kanalnummer</translation>
    </message>
    <message>
        <source>(for frequency)</source>
        <translation>(für die Frequenz)</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Analog</source>
        <translation>Analog</translation>
    </message>
    <message>
        <source>Finetuning</source>
        <translation>Feinabstimmung</translation>
    </message>
    <message>
        <source>Video filters</source>
        <translation>Videofilter</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Helligkeit</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Kontrast</translation>
    </message>
    <message>
        <source>DVB-S</source>
        <translation>DVB-S</translation>
    </message>
    <message>
        <source>DVB-T</source>
        <translation>DVB-T</translation>
    </message>
    <message>
        <source>DVB-C</source>
        <translation>DVB-C</translation>
    </message>
    <message>
        <source>Delete the new channel</source>
        <translation>Den neuen Kanal löschen</translation>
    </message>
    <message>
        <source>Delete %1</source>
        <translation>%1 löschen</translation>
    </message>
    <message>
        <source>Deleted %1: Ctrl+Z takes it back.</source>
        <translation>%1 gelöscht: Strg+Z holt ihn zurück.</translation>
    </message>
    <message>
        <source>%1 channels</source>
        <translation>%1 Kanäle</translation>
    </message>
    <message>
        <source>Deleted %1: Ctrl+Z takes them back.</source>
        <translation>%1 gelöscht: Strg+Z holt sie zurück.</translation>
    </message>
    <message>
        <source>Renumber %1</source>
        <translation>%1 umnummerieren</translation>
    </message>
    <message>
        <source>Renumber %1 channels</source>
        <translation>%1 Kanäle umnummerieren</translation>
    </message>
    <message>
        <source>Channel[*]</source>
        <translation>Kanal[*]</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Import...</source>
        <translation>Importieren...</translation>
    </message>
    <message>
        <source>Listings...</source>
        <translation>Programmdaten...</translation>
    </message>
    <message>
        <source>Renumber...</source>
        <translation>Umnummerieren...</translation>
    </message>
    <message>
        <source>Export...</source>
        <translation>Exportieren...</translation>
    </message>
    <message>
        <source>Icons...</source>
        <translation>Logos...</translation>
    </message>
    <message>
        <source>&amp;Import...</source>
        <translation>&amp;Importieren...</translation>
    </message>
    <message>
        <source>Add and update channels from a channel file of dvbv5-scan; after a rescan, also remove those no longer in it (Ctrl+I)</source>
        <translation>Kanäle aus einer Kanaldatei von dvbv5-scan hinzufügen und aktualisieren; nach einem neuen Suchlauf auch die nicht mehr enthaltenen entfernen (Strg+I)</translation>
    </message>
    <message>
        <source>&amp;Listings...</source>
        <translation>&amp;Programmdaten...</translation>
    </message>
    <message>
        <source>Fill in the channels&apos; listings ids and icons from an XMLTV channel list (Ctrl+L)</source>
        <translation>Die XMLTV-IDs und Logos der Kanäle aus einer XMLTV-Kanalliste eintragen (Strg+L)</translation>
    </message>
    <message>
        <source>Number the selected channels in the order the list shows them (Ctrl+R)</source>
        <translation>Die ausgewählten Kanäle in der Reihenfolge der Liste nummerieren (Strg+R)</translation>
    </message>
    <message>
        <source>Write the selected channels, or all of them, to a DVB channel file or a CSV file (Ctrl+E)</source>
        <translation>Die ausgewählten Kanäle, oder alle, in eine DVB-Kanaldatei oder eine CSV-Datei schreiben (Strg+E)</translation>
    </message>
    <message>
        <source>Fill in the channels&apos; icons from a folder of pictures named after them, picons (Ctrl+Shift+I)</source>
        <translation>Die Logos der Kanäle aus einem Ordner mit nach ihnen benannten Bildern eintragen, Picons (Strg+Umschalt+I)</translation>
    </message>
    <message>
        <source>Channel Source</source>
        <translation>Quelle</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>XMLTV grabber</source>
        <translation>XMLTV-Grabber</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <source>Short</source>
        <translation>Kurz</translation>
    </message>
    <message>
        <source>Long name</source>
        <translation>Langer Name</translation>
    </message>
    <message>
        <source>Filter channels</source>
        <translation>Kanäle filtern</translation>
    </message>
    <message>
        <source>Shows only the channels whose short name, long name or number contains this text (Escape clears it)</source>
        <translation>Zeigt nur die Kanäle, deren Kurzname, langer Name oder Nummer diesen Text enthält (Escape leert ihn)</translation>
    </message>
    <message>
        <source>Short name</source>
        <translation>Kurzname</translation>
    </message>
    <message>
        <source>XMLTV ID</source>
        <translation>XMLTV-ID</translation>
    </message>
    <message>
        <source>Icon</source>
        <translation>Logo</translation>
    </message>
    <message>
        <source>Chan Num</source>
        <translation>Kanalnr.</translation>
    </message>
    <message>
        <source>Preset</source>
        <translation>Speicherplatz</translation>
    </message>
    <message>
        <source>Card type invalid or not found</source>
        <translation>Kartentyp ungültig oder nicht gefunden</translation>
    </message>
    <message>
        <source>Delete %1 channels not in the file</source>
        <translation>%1 Kanäle löschen, die nicht in der Datei sind</translation>
    </message>
    <message>
        <source>Import %1 channels and delete %2</source>
        <translation>%1 Kanäle importieren und %2 löschen</translation>
    </message>
</context>
<context>
    <name>TDBComboBox</name>
    <message>
        <source>Stored, but not in the list</source>
        <translation>Gespeichert, aber nicht in der Liste</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is stored but is not in the list: it is kept unless you choose another entry</source>
        <translation>„%1“ ist gespeichert, steht aber nicht in der Liste: es bleibt, solange Sie keinen anderen Eintrag wählen</translation>
    </message>
</context>
<context>
    <name>TDBGrid</name>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
</context>
<context>
    <name>TDBNavigator</name>
    <message>
        <source>Insert</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Cancel the edit</source>
        <translation>Die Bearbeitung abbrechen</translation>
    </message>
    <message>
        <source>Prior</source>
        <translation>Voriger</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Nächster</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Post</source>
        <translation>Übernehmen</translation>
    </message>
</context>
<context>
    <name>TDataSetModel</name>
    <message>
        <source>New row, being typed</source>
        <translation>Neue Zeile, wird eingegeben</translation>
    </message>
    <message>
        <source>Being edited</source>
        <translation>Wird bearbeitet</translation>
    </message>
    <message>
        <source>Current row</source>
        <translation>Aktuelle Zeile</translation>
    </message>
    <message>
        <source>Current row, not saved yet</source>
        <translation>Aktuelle Zeile, noch nicht gespeichert</translation>
    </message>
    <message>
        <source>New, not saved yet</source>
        <translation>Neu, noch nicht gespeichert</translation>
    </message>
    <message>
        <source>Changed, not saved yet</source>
        <translation>Geändert, noch nicht gespeichert</translation>
    </message>
</context>
<context>
    <name>TEditHistory</name>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Edit %1</source>
        <translation>%1 bearbeiten</translation>
    </message>
    <message>
        <source>Undone: New row</source>
        <translation>Rückgängig gemacht: Neue Zeile</translation>
    </message>
    <message>
        <source>Redone: %1</source>
        <translation>Wiederholt: %1</translation>
    </message>
    <message>
        <source>Undone: %1</source>
        <translation>Rückgängig gemacht: %1</translation>
    </message>
    <message>
        <source>Undo: %1 (Ctrl+Z)</source>
        <translation>Rückgängig: %1 (Strg+Z)</translation>
    </message>
    <message>
        <source>New row</source>
        <translation>Neue Zeile</translation>
    </message>
    <message>
        <source>Nothing to undo</source>
        <translation>Nichts rückgängig zu machen</translation>
    </message>
    <message>
        <source>Redo: %1 (Ctrl+Shift+Z)</source>
        <translation>Wiederholen: %1 (Strg+Umschalt+Z)</translation>
    </message>
    <message>
        <source>Nothing to redo</source>
        <translation>Nichts zu wiederholen</translation>
    </message>
</context>
<context>
    <name>TEditorWin</name>
    <message>
        <source>Save changes</source>
        <translation>Änderungen speichern</translation>
    </message>
    <message>
        <source>Do you want to save your changes in the database?</source>
        <translation>Möchten Sie Ihre Änderungen in der Datenbank speichern?</translation>
    </message>
    <message>
        <source>Nothing was written: your edits are kept, to be saved again.</source>
        <translation>Es wurde nichts geschrieben: Ihre Änderungen bleiben erhalten und können erneut gespeichert werden.</translation>
    </message>
    <message>
        <source>Nothing to save.</source>
        <translation>Nichts zu speichern.</translation>
    </message>
    <message>
        <source>Saved: 1 change</source>
        <translation>Gespeichert: 1 Änderung</translation>
    </message>
    <message>
        <source>Saved: %1 changes</source>
        <translation>Gespeichert: %1 Änderungen</translation>
    </message>
    <message>
        <source>Nothing was written</source>
        <translation>Es wurde nichts geschrieben</translation>
    </message>
    <message>
        <source>Saved, but the history could not be written: %1</source>
        <translation>Gespeichert, aber der Verlauf konnte nicht geschrieben werden: %1</translation>
    </message>
</context>
<context>
    <name>TFieldDef</name>
    <message>
        <source>from %1 to %2</source>
        <translation>von %1 bis %2</translation>
    </message>
</context>
<context>
    <name>TFieldValidator</name>
    <message>
        <source>“%1” holds whole numbers %2: %3 does not fit.</source>
        <translation>„%1“ fasst ganze Zahlen %2: %3 passt nicht.</translation>
    </message>
    <message>
        <source>“%1” holds whole numbers %2%3.</source>
        <translation>„%1“ fasst ganze Zahlen %2%3.</translation>
    </message>
    <message>
        <source> (digits, with a minus sign in front for less than zero)</source>
        <translation> (Ziffern, mit einem Minuszeichen davor für weniger als null)</translation>
    </message>
    <message>
        <source> (digits only)</source>
        <translation> (nur Ziffern)</translation>
    </message>
</context>
<context>
    <name>THistoryWin</name>
    <message>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>When</source>
        <translation>Wann</translation>
    </message>
    <message>
        <source>Who</source>
        <translation>Wer</translation>
    </message>
    <message>
        <source>What</source>
        <translation>Was</translation>
    </message>
    <message>
        <source>Rows</source>
        <translation>Zeilen</translation>
    </message>
    <message>
        <source>Writes to this database, newest first</source>
        <translation>Schreibvorgänge in diese Datenbank, neueste zuerst</translation>
    </message>
    <message>
        <source>Enter takes the selected write back</source>
        <translation>Eingabe nimmt den gewählten Schreibvorgang zurück</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Datensatz</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Änderung</translation>
    </message>
    <message>
        <source>Records the selected write changed</source>
        <translation>Vom gewählten Schreibvorgang geänderte Datensätze</translation>
    </message>
    <message>
        <source>&amp;Take back...</source>
        <translation>&amp;Zurücknehmen...</translation>
    </message>
    <message>
        <source>Review taking the selected write back, record by record</source>
        <translation>Das Zurücknehmen des gewählten Schreibvorgangs Datensatz für Datensatz prüfen</translation>
    </message>
    <message>
        <source>%1 on %2</source>
        <translation>%1 auf %2</translation>
    </message>
    <message>
        <source>%1 (unfinished)</source>
        <translation>%1 (unvollendet)</translation>
    </message>
    <message>
        <source>No history is kept.</source>
        <translation>Es wird kein Verlauf geführt.</translation>
    </message>
    <message>
        <source>Nothing has been written to this database yet.</source>
        <translation>In diese Datenbank wurde noch nichts geschrieben.</translation>
    </message>
    <message>
        <source>Taken back: %1.</source>
        <translation>Zurückgenommen: %1.</translation>
    </message>
    <message>
        <source>Back up the line-up</source>
        <translation>Senderbelegung sichern</translation>
    </message>
    <message>
        <source>Line-up backups (*.json)</source>
        <translation>Sicherungen der Senderbelegung (*.json)</translation>
    </message>
    <message>
        <source>Restore the line-up</source>
        <translation>Senderbelegung wiederherstellen</translation>
    </message>
    <message>
        <source>%1 rows of the line-up backed up to %2.</source>
        <translation>%1 Zeilen der Senderbelegung nach %2 gesichert.</translation>
    </message>
    <message>
        <source>Restore the line-up from %1</source>
        <translation>Senderbelegung aus %1 wiederherstellen</translation>
    </message>
    <message>
        <source>The line-up is already as it was then: nothing to restore.</source>
        <translation>Die Senderbelegung ist bereits wie damals: nichts wiederherzustellen.</translation>
    </message>
    <message>
        <source>Restored: %1.</source>
        <translation>Wiederhergestellt: %1.</translation>
    </message>
    <message>
        <source>&amp;Back up...</source>
        <translation>&amp;Sichern...</translation>
    </message>
    <message>
        <source>Keep the whole line-up in a file</source>
        <translation>Die ganze Senderbelegung in einer Datei aufbewahren</translation>
    </message>
    <message>
        <source>Restore from &amp;file...</source>
        <translation>Aus &amp;Datei wiederherstellen...</translation>
    </message>
    <message>
        <source>Review making the line-up what a backup file holds</source>
        <translation>Prüfen, wie die Senderbelegung auf den Inhalt einer Sicherungsdatei gebracht wird</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>Snapshot of the line-up before the first change on %1</source>
        <translation>Schnappschuss der Senderbelegung vor der ersten Änderung am %1</translation>
    </message>
    <message>
        <source>&amp;Restore...</source>
        <translation>&amp;Wiederherstellen...</translation>
    </message>
    <message>
        <source>Sources</source>
        <translation>Quellen</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Sender</translation>
    </message>
    <message>
        <source>Tuning values</source>
        <translation>Abstimmwerte</translation>
    </message>
    <message>
        <source>Cards</source>
        <translation>Karten</translation>
    </message>
    <message>
        <source>Inputs</source>
        <translation>Eingänge</translation>
    </message>
    <message>
        <source>%1 rows</source>
        <translation>%1 Zeilen</translation>
    </message>
    <message>
        <source>Restore the line-up from the snapshot of %1</source>
        <translation>Senderbelegung aus dem Schnappschuss vom %1 wiederherstellen</translation>
    </message>
    <message>
        <source>Done, but the history could not be written: %1</source>
        <translation>Erledigt, aber der Verlauf konnte nicht geschrieben werden: %1</translation>
    </message>
</context>
<context>
    <name>TIconStore</name>
    <message>
        <source>No icon</source>
        <translation>Kein Logo</translation>
    </message>
    <message>
        <source>Not a file path or web address: %1</source>
        <translation>Weder ein Dateipfad noch eine Webadresse: %1</translation>
    </message>
    <message>
        <source>timeout</source>
        <translation>Zeitüberschreitung</translation>
    </message>
    <message>
        <source>sent on to %1</source>
        <translation>weitergeleitet nach %1</translation>
    </message>
    <message>
        <source>larger than %1 MB</source>
        <translation>größer als %1 MB</translation>
    </message>
    <message>
        <source>Could not be fetched: %1</source>
        <translation>Konnte nicht geholt werden: %1</translation>
    </message>
    <message>
        <source>Fetching %1...</source>
        <translation>%1 wird geholt...</translation>
    </message>
    <message>
        <source>Reading %1...</source>
        <translation>%1 wird gelesen...</translation>
    </message>
    <message>
        <source>Too large to show: %1x%2 pixels (at most %3x%3)</source>
        <translation>Zu groß zum Anzeigen: %1x%2 Pixel (höchstens %3x%3)</translation>
    </message>
    <message>
        <source>A link that leads nowhere or in a circle: %1</source>
        <translation>Ein Link, der ins Leere oder im Kreis führt: %1</translation>
    </message>
    <message>
        <source>No such file: %1</source>
        <translation>Keine solche Datei: %1</translation>
    </message>
    <message>
        <source>A folder, not a picture: %1</source>
        <translation>Ein Ordner, kein Bild: %1</translation>
    </message>
    <message>
        <source>Not a plain file: %1</source>
        <translation>Keine gewöhnliche Datei: %1</translation>
    </message>
    <message>
        <source>Too large to show: %1 is %2 MB (at most %3 MB)</source>
        <translation>Zu groß zum Anzeigen: %1 hat %2 MB (höchstens %3 MB)</translation>
    </message>
    <message>
        <source>Not an image</source>
        <translation>Kein Bild</translation>
    </message>
    <message>
        <source>Not an image format read here: %1</source>
        <translation>Ein Bildformat, das hier nicht gelesen wird: %1</translation>
    </message>
    <message>
        <source>A damaged picture: %1</source>
        <translation>Ein beschädigtes Bild: %1</translation>
    </message>
    <message>
        <source>Cannot be read: %1 (%2)</source>
        <translation>Kann nicht gelesen werden: %1 (%2)</translation>
    </message>
    <message>
        <source>Too large to show: %1 is over %2 MB</source>
        <translation>Zu groß zum Anzeigen: %1 hat über %2 MB</translation>
    </message>
</context>
<context>
    <name>TIconView</name>
    <message>
        <source>Icon</source>
        <translation>Logo</translation>
    </message>
</context>
<context>
    <name>TIconsWin</name>
    <message>
        <source>No.</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>Kanal</translation>
    </message>
    <message>
        <source>Icon file</source>
        <translation>Logodatei</translation>
    </message>
    <message>
        <source>What happens</source>
        <translation>Was geschieht</translation>
    </message>
    <message>
        <source>Fill in</source>
        <translation>Eintragen</translation>
    </message>
    <message>
        <source>ticked</source>
        <translation>angekreuzt</translation>
    </message>
    <message>
        <source>not ticked</source>
        <translation>nicht angekreuzt</translation>
    </message>
    <message>
        <source>no file</source>
        <translation>keine Datei</translation>
    </message>
    <message>
        <source>cannot be its icon: %1</source>
        <translation>kann nicht sein Logo sein: %1</translation>
    </message>
    <message>
        <source>has this icon</source>
        <translation>hat dieses Logo</translation>
    </message>
    <message>
        <source>replaces its icon %1</source>
        <translation>ersetzt sein Logo %1</translation>
    </message>
    <message>
        <source>keeps its icon %1</source>
        <translation>behält sein Logo %1</translation>
    </message>
    <message>
        <source>found: fills in the icon</source>
        <translation>gefunden: trägt das Logo ein</translation>
    </message>
    <message>
        <source>found</source>
        <translation>gefunden</translation>
    </message>
    <message>
        <source>its path has %1 characters, the icon holds %2</source>
        <translation>sein Pfad hat %1 Zeichen, das Logo fasst %2</translation>
    </message>
    <message>
        <source>Match icons</source>
        <translation>Logos zuordnen</translation>
    </message>
    <message>
        <source>Channels and their icon files</source>
        <translation>Kanäle und ihre Logodateien</translation>
    </message>
    <message>
        <source>Space ticks or unticks a row</source>
        <translation>Leertaste kreuzt eine Zeile an oder ab</translation>
    </message>
    <message>
        <source>%1 found, %2 with an icon already, %3 without a file, %4 that cannot be an icon</source>
        <translation>%1 gefunden, %2 schon mit Logo, %3 ohne Datei, %4, die kein Logo sein können</translation>
    </message>
</context>
<context>
    <name>TImportModel</name>
    <message>
        <source>Service</source>
        <translation>Dienst</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>Kanal</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Frequenz</translation>
    </message>
    <message>
        <source>PIDs</source>
        <translation>PIDs</translation>
    </message>
    <message>
        <source>What happens</source>
        <translation>Was geschieht</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>ticked</source>
        <translation>angekreuzt</translation>
    </message>
    <message>
        <source>not ticked</source>
        <translation>nicht angekreuzt</translation>
    </message>
    <message>
        <source>(a new channel)</source>
        <translation>(ein neuer Kanal)</translation>
    </message>
    <message>
        <source>(choose)</source>
        <translation>(auswählen)</translation>
    </message>
    <message>
        <source>tuning values set from the file</source>
        <translation>Abstimmwerte aus der Datei gesetzt</translation>
    </message>
    <message>
        <source>add as channel %1</source>
        <translation>als Kanal %1 hinzufügen</translation>
    </message>
    <message>
        <source>add as channel %1 (%2)</source>
        <translation>als Kanal %1 hinzufügen (%2)</translation>
    </message>
    <message>
        <source>, named “%1”</source>
        <translation>, benannt „%1“</translation>
    </message>
    <message>
        <source>update: %1</source>
        <translation>aktualisieren: %1</translation>
    </message>
    <message>
        <source>unchanged</source>
        <translation>unverändert</translation>
    </message>
    <message>
        <source>renamed in the file: %1 -&gt; %2</source>
        <translation>in der Datei umbenannt: %1 -&gt; %2</translation>
    </message>
    <message>
        <source>; takes the file&apos;s name</source>
        <translation>; übernimmt den Namen der Datei</translation>
    </message>
    <message>
        <source>choose: %1 channels fit (F2 or Enter)</source>
        <translation>auswählen: %1 Kanäle passen (F2 oder Eingabe)</translation>
    </message>
    <message>
        <source>skip: %1</source>
        <translation>überspringen: %1</translation>
    </message>
    <message>
        <source>not in the file (no tuning values)</source>
        <translation>nicht in der Datei (ohne Abstimmwerte)</translation>
    </message>
    <message>
        <source>not in the file</source>
        <translation>nicht in der Datei</translation>
    </message>
    <message>
        <source>: deleted with its tuning values</source>
        <translation>: wird mit seinen Abstimmwerten gelöscht</translation>
    </message>
    <message>
        <source> (stored as AUTO: %1)</source>
        <translation> (als AUTO gespeichert: %1)</translation>
    </message>
</context>
<context>
    <name>TImportWin</name>
    <message>
        <source>Import channels</source>
        <translation>Kanäle importieren</translation>
    </message>
    <message>
        <source>Include &amp;radio services</source>
        <translation>&amp;Radiodienste einschließen</translation>
    </message>
    <message>
        <source>Services without a video PID</source>
        <translation>Dienste ohne Video-PID</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importieren</translation>
    </message>
    <message>
        <source>Services of the file and channels of the source</source>
        <translation>Dienste der Datei und Kanäle der Quelle</translation>
    </message>
    <message>
        <source>Space ticks or unticks a row; F2 or Enter picks the channel a service updates</source>
        <translation>Leertaste kreuzt eine Zeile an oder ab; F2 oder Eingabe wählt den Kanal, den ein Dienst aktualisiert</translation>
    </message>
    <message>
        <source>Take the file&apos;s &amp;names</source>
        <translation>&amp;Namen der Datei übernehmen</translation>
    </message>
    <message>
        <source>A channel renamed in the file takes the file&apos;s name as its long name; its short name, number, XMLTV ID and icon are kept either way</source>
        <translation>Ein in der Datei umbenannter Kanal übernimmt den Namen der Datei als langen Namen; Kurzname, Nummer, XMLTV-ID und Symbol bleiben in jedem Fall erhalten</translation>
    </message>
    <message>
        <source>&amp;Tick all not in the file</source>
        <translation>Alle nicht in der Datei an&amp;kreuzen</translation>
    </message>
    <message>
        <source>Ticks every channel of the source that no service of the file matched: Import deletes them with their tuning values</source>
        <translation>Kreuzt jeden Kanal der Quelle an, zu dem kein Dienst der Datei passte: Importieren löscht sie mit ihren Abstimmwerten</translation>
    </message>
    <message>
        <source>%1 to add, %2 to update, %3 renamed, %4 unchanged, %5 not in the file (%6 to delete)</source>
        <translation>%1 hinzuzufügen, %2 zu aktualisieren, %3 umbenannt, %4 unverändert, %5 nicht in der Datei (%6 zu löschen)</translation>
    </message>
    <message>
        <source>, %1 to choose</source>
        <translation>, %1 auszuwählen</translation>
    </message>
    <message>
        <source>, %1 to skip</source>
        <translation>, %1 zu überspringen</translation>
    </message>
</context>
<context>
    <name>TLineupWin</name>
    <message>
        <source>Line-up check</source>
        <translation>Prüfung der Senderliste</translation>
    </message>
    <message>
        <source>Severity</source>
        <translation>Schwere</translation>
    </message>
    <message>
        <source>What is wrong</source>
        <translation>Was falsch ist</translation>
    </message>
    <message>
        <source>Where</source>
        <translation>Wo</translation>
    </message>
    <message>
        <source>Why it matters</source>
        <translation>Warum es wichtig ist</translation>
    </message>
    <message>
        <source>Problems found</source>
        <translation>Gefundene Probleme</translation>
    </message>
    <message>
        <source>Double-click or Enter opens the editor where the problem is</source>
        <translation>Doppelklick oder Eingabetaste öffnet den Editor dort, wo das Problem ist</translation>
    </message>
    <message>
        <source>Check again</source>
        <translation>Erneut prüfen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>This row cannot be opened</source>
        <translation>Diese Zeile kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>That row cannot be opened: %1</source>
        <translation>Diese Zeile kann nicht geöffnet werden: %1</translation>
    </message>
</context>
<context>
    <name>TLineupWriter</name>
    <message>
        <source>Delete source %1 with 1 channel</source>
        <translation>Quelle %1 mit 1 Kanal löschen</translation>
    </message>
    <message>
        <source>Delete source %1 with %2 channels</source>
        <translation>Quelle %1 mit %2 Kanälen löschen</translation>
    </message>
    <message>
        <source>Delete card %1 on “%2” with 1 input</source>
        <translation>Karte %1 auf „%2“ mit 1 Eingang löschen</translation>
    </message>
    <message>
        <source>Delete card %1 on “%2” with %3 inputs</source>
        <translation>Karte %1 auf „%2“ mit %3 Eingängen löschen</translation>
    </message>
</context>
<context>
    <name>TListingsModel</name>
    <message>
        <source>No.</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>Kanal</translation>
    </message>
    <message>
        <source>Listings channel</source>
        <translation>Programmdaten-Kanal</translation>
    </message>
    <message>
        <source>What happens</source>
        <translation>Was geschieht</translation>
    </message>
    <message>
        <source>Fill in</source>
        <translation>Eintragen</translation>
    </message>
    <message>
        <source>ticked</source>
        <translation>angekreuzt</translation>
    </message>
    <message>
        <source>not ticked</source>
        <translation>nicht angekreuzt</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keiner)</translation>
    </message>
    <message>
        <source>its id has %1 characters, the XMLTV ID holds %2</source>
        <translation>seine ID hat %1 Zeichen, die XMLTV-ID fasst %2</translation>
    </message>
    <message>
        <source>its icon has %1 characters, the icon holds %2</source>
        <translation>sein Logo hat %1 Zeichen, das Logo fasst %2</translation>
    </message>
    <message>
        <source>kept</source>
        <translation>behalten</translation>
    </message>
    <message>
        <source>matched</source>
        <translation>zugeordnet</translation>
    </message>
    <message>
        <source>choose: %1 fit</source>
        <translation>wählen: %1 passen</translation>
    </message>
    <message>
        <source>suggested</source>
        <translation>vorgeschlagen</translation>
    </message>
    <message>
        <source>has another id (%1)</source>
        <translation>hat eine andere ID (%1)</translation>
    </message>
    <message>
        <source>no match</source>
        <translation>keine Zuordnung</translation>
    </message>
    <message>
        <source>, picked</source>
        <translation>, gewählt</translation>
    </message>
    <message>
        <source>%1: cannot be filled in, %2</source>
        <translation>%1: kann nicht eingetragen werden, %2</translation>
    </message>
    <message>
        <source>%1: fills in the id and the icon</source>
        <translation>%1: trägt die ID und das Logo ein</translation>
    </message>
    <message>
        <source>%1: fills in the id</source>
        <translation>%1: trägt die ID ein</translation>
    </message>
</context>
<context>
    <name>TListingsWin</name>
    <message>
        <source>Match listings</source>
        <translation>Programmdaten zuordnen</translation>
    </message>
    <message>
        <source>Channels and their listings</source>
        <translation>Kanäle und ihre Programmdaten</translation>
    </message>
    <message>
        <source>Space ticks or unticks a row; F2 or Enter picks its listings channel</source>
        <translation>Leertaste kreuzt eine Zeile an oder ab; F2 oder Eingabetaste wählt ihren Programmdaten-Kanal</translation>
    </message>
    <message>
        <source>Fill empty &amp;icons</source>
        <translation>Leere &amp;Logos eintragen</translation>
    </message>
    <message>
        <source>Ticked channels without an icon get the listings channel&apos;s icon; an icon already set is never replaced</source>
        <translation>Angekreuzte Kanäle ohne Logo bekommen das Logo des Programmdaten-Kanals; ein schon gesetztes Logo wird nie ersetzt</translation>
    </message>
    <message>
        <source>%1 matched, %2 suggested, %3 to choose, %4 without a match, %5 kept</source>
        <translation>%1 zugeordnet, %2 vorgeschlagen, %3 zu wählen, %4 ohne Zuordnung, %5 behalten</translation>
    </message>
    <message>
        <source>, %1 with another id</source>
        <translation>, %1 mit anderer ID</translation>
    </message>
</context>
<context>
    <name>TMainWin</name>
    <message>
        <source>Korvane Setup</source>
        <translation>Korvane Setup</translation>
    </message>
    <message>
        <source>Channel source</source>
        <translation>Kanalquelle</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>+</source>
        <translation>+</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>Edit...</source>
        <translation>Bearbeiten...</translation>
    </message>
    <message>
        <source>TV card</source>
        <translation>TV-Karte</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Video device</source>
        <translation>Videogerät</translation>
    </message>
    <message>
        <source>Hostname</source>
        <translation>Rechnername</translation>
    </message>
    <message>
        <source>Base settings...</source>
        <translation>Grundeinstellungen...</translation>
    </message>
    <message>
        <source>Check...</source>
        <translation>Prüfen...</translation>
    </message>
    <message>
        <source>Add a channel source (Insert in its list)</source>
        <translation>Eine Kanalquelle hinzufügen (Einfg in ihrer Liste)</translation>
    </message>
    <message>
        <source>Delete the selected channel source (Delete in its list)</source>
        <translation>Die ausgewählte Kanalquelle löschen (Entf in ihrer Liste)</translation>
    </message>
    <message>
        <source>Edit the selected channel source and its channels</source>
        <translation>Die ausgewählte Kanalquelle und ihre Kanäle bearbeiten</translation>
    </message>
    <message>
        <source>Add a capture card (Insert in its list)</source>
        <translation>Eine TV-Karte hinzufügen (Einfg in ihrer Liste)</translation>
    </message>
    <message>
        <source>Delete the selected capture card (Delete in its list)</source>
        <translation>Die ausgewählte TV-Karte löschen (Entf in ihrer Liste)</translation>
    </message>
    <message>
        <source>Edit the selected capture card and its inputs</source>
        <translation>Die ausgewählte TV-Karte und ihre Eingänge bearbeiten</translation>
    </message>
    <message>
        <source>Open the base settings</source>
        <translation>Die Grundeinstellungen öffnen</translation>
    </message>
    <message>
        <source>Find what would stop the recorder recording: sources, channels and cards (F7)</source>
        <translation>Finden, was den Rekorder am Aufnehmen hindern würde: Quellen, Kanäle und Karten (F7)</translation>
    </message>
    <message>
        <source>Insert channel source</source>
        <translation>Kanalquelle einfügen</translation>
    </message>
    <message>
        <source>Delete channel source</source>
        <translation>Kanalquelle löschen</translation>
    </message>
    <message>
        <source>Insert capture card</source>
        <translation>TV-Karte einfügen</translation>
    </message>
    <message>
        <source>Delete capture card</source>
        <translation>TV-Karte löschen</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Connecting to the database server on host “%1”…</source>
        <translation>Verbindung zum Datenbankserver auf Rechner „%1“ wird aufgebaut…</translation>
    </message>
    <message>
        <source>No channel source is selected.</source>
        <translation>Keine Kanalquelle ausgewählt.</translation>
    </message>
    <message>
        <source>No capture card is selected.</source>
        <translation>Keine TV-Karte ausgewählt.</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Are you sure that you want to delete the selected source, all its channels and reset the source of the corresponding cardinputs?</source>
        <translation>Möchten Sie die ausgewählte Quelle mit allen ihren Kanälen wirklich löschen und die Quelle der zugehörigen Karteneingänge zurücksetzen?</translation>
    </message>
    <message>
        <source>Are you sure that you want to delete the selected card and its inputs from the database?</source>
        <translation>Möchten Sie die ausgewählte Karte und ihre Eingänge wirklich aus der Datenbank löschen?</translation>
    </message>
    <message>
        <source>Deleted, but the history could not be written: %1</source>
        <translation>Gelöscht, aber der Verlauf konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>History...</source>
        <translation>Verlauf...</translation>
    </message>
    <message>
        <source>Every write this program made to the database, each of which can be taken back (Ctrl+H)</source>
        <translation>Jeder Schreibvorgang dieses Programms in die Datenbank, jeder davon kann zurückgenommen werden (Strg+H)</translation>
    </message>
</context>
<context>
    <name>TRenumberWin</name>
    <message>
        <source>Renumber channels</source>
        <translation>Kanäle umnummerieren</translation>
    </message>
    <message>
        <source>Renumber</source>
        <translation>Umnummerieren</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>First number</source>
        <translation>Erste Nummer</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Schritt</translation>
    </message>
    <message>
        <source>%1 more</source>
        <translation>%1 weitere</translation>
    </message>
    <message>
        <source>Already numbered so (allowed, and kept): %1.</source>
        <translation>Schon so nummeriert (erlaubt, und bleibt): %1.</translation>
    </message>
</context>
<context>
    <name>TReviewWin</name>
    <message>
        <source>&amp;Apply</source>
        <translation>&amp;Übernehmen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>. Apply fills in 1 channel.</source>
        <translation>. Übernehmen trägt 1 Kanal ein.</translation>
    </message>
    <message>
        <source>. Apply fills in %1 channels.</source>
        <translation>. Übernehmen trägt %1 Kanäle ein.</translation>
    </message>
</context>
<context>
    <name>TSQLClientDataSet</name>
    <message>
        <source>This step cannot be undone or redone any more: the rows of &quot;%1&quot; were read anew since.</source>
        <translation>Dieser Schritt kann nicht mehr rückgängig gemacht oder wiederholt werden: die Zeilen von „%1“ wurden seitdem neu gelesen.</translation>
    </message>
    <message>
        <source>The command of an open data set cannot be changed.</source>
        <translation>Der Befehl einer geöffneten Datenmenge kann nicht geändert werden.</translation>
    </message>
    <message>
        <source>Cannot %1: the data set &quot;%2&quot; is not open.</source>
        <translation>%1 nicht möglich: die Datenmenge „%2“ ist nicht geöffnet.</translation>
    </message>
    <message>
        <source>The filter &quot;%1&quot; is not understood: a filter compares one column with a whole number, as in &quot;sourceid=5&quot;.</source>
        <translation>Der Filter „%1“ wird nicht verstanden: ein Filter vergleicht eine Spalte mit einer ganzen Zahl, wie in „sourceid=5“.</translation>
    </message>
    <message>
        <source>The number in the filter &quot;%1&quot; is too large.</source>
        <translation>Die Zahl im Filter „%1“ ist zu groß.</translation>
    </message>
    <message>
        <source>The filter &quot;%1&quot; names a column that &quot;%2&quot; does not have.</source>
        <translation>Der Filter „%1“ nennt eine Spalte, die „%2“ nicht hat.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; holds changes that are not saved yet; save or discard them before it is closed.</source>
        <translation>„%1“ enthält noch nicht gespeicherte Änderungen; speichern oder verwerfen Sie sie, bevor es geschlossen wird.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; holds changes that are not saved yet; save or discard them before the list is read again.</source>
        <translation>„%1“ enthält noch nicht gespeicherte Änderungen; speichern oder verwerfen Sie sie, bevor die Liste neu gelesen wird.</translation>
    </message>
    <message>
        <source>The data set &quot;%1&quot; has no column &quot;%2&quot;.</source>
        <translation>Die Datenmenge „%1“ hat keine Spalte „%2“.</translation>
    </message>
    <message>
        <source>The data set &quot;%1&quot; is not being edited.</source>
        <translation>Die Datenmenge „%1“ wird nicht bearbeitet.</translation>
    </message>
    <message>
        <source>The result of a query cannot be saved.</source>
        <translation>Das Ergebnis einer Abfrage kann nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Cannot perform this operation on an empty data set.</source>
        <translation>Dieser Vorgang ist auf einer leeren Datenmenge nicht möglich.</translation>
    </message>
    <message>
        <source>No key specified: the table has no column that can identify a row, so the change cannot be written.</source>
        <translation>Kein Schlüssel angegeben: die Tabelle hat keine Spalte, die eine Zeile kennzeichnen kann, also kann die Änderung nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Internal error: a row in the change log has no change.</source>
        <translation>Interner Fehler: eine Zeile im Änderungsprotokoll hat keine Änderung.</translation>
    </message>
    <message>
        <source>The record was changed or deleted by another user since it was read. (table %1, %2)</source>
        <translation>Der Datensatz wurde seit dem Lesen von einem anderen Benutzer geändert oder gelöscht. (Tabelle %1, %2)</translation>
    </message>
    <message>
        <source>The change would affect %1 rows of table %2 instead of one (%3); nothing was written.</source>
        <translation>Die Änderung beträfe %1 Zeilen der Tabelle %2 statt einer (%3); es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a whole number; the column &quot;%2&quot; holds whole numbers %3.</source>
        <translation>„%1“ ist keine ganze Zahl; die Spalte „%2“ fasst ganze Zahlen %3.</translation>
    </message>
    <message>
        <source>%1 is too large for the column &quot;%2&quot;, which holds whole numbers %3.</source>
        <translation>%1 ist zu groß für die Spalte „%2“, die ganze Zahlen %3 fasst.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number; the column &quot;%2&quot; holds numbers.</source>
        <translation>„%1“ ist keine Zahl; die Spalte „%2“ fasst Zahlen.</translation>
    </message>
</context>
<context>
    <name>TSQLConnection</name>
    <message>
        <source>Cannot connect to the database server on host &quot;%1&quot;: %2</source>
        <translation>Keine Verbindung zum Datenbankserver auf Rechner „%1“: %2</translation>
    </message>
    <message>
        <source>%1 (database server on host &quot;%2&quot;)</source>
        <translation>%1 (Datenbankserver auf Rechner „%2“)</translation>
    </message>
    <message>
        <source>The connection to the database was lost.</source>
        <translation>Die Verbindung zur Datenbank ist abgebrochen.</translation>
    </message>
    <message>
        <source>A transaction is already open.</source>
        <translation>Eine Transaktion ist schon offen.</translation>
    </message>
    <message>
        <source>Internal error: a statement&apos;s values do not match its markers.</source>
        <translation>Interner Fehler: Die Werte einer Anweisung passen nicht zu ihren Platzhaltern.</translation>
    </message>
    <message>
        <source>The server ran fewer statements than it was sent.</source>
        <translation>Der Server hat weniger Anweisungen ausgeführt, als ihm gesandt wurden.</translation>
    </message>
</context>
<context>
    <name>TSQLModule</name>
    <message>
        <source>The DBPort &quot;%1&quot; in %2 is no port: give a number from 1 to 65535, or leave it out for the default.</source>
        <translation>Der DBPort „%1“ in %2 ist kein Port: Geben Sie eine Zahl von 1 bis 65535 an, oder lassen Sie ihn für den Standard weg.</translation>
    </message>
</context>
<context>
    <name>TSettingsWin</name>
    <message>
        <source>Base settings</source>
        <translation>Grundeinstellungen</translation>
    </message>
    <message>
        <source>Current database connection (from mysql.txt)</source>
        <translation>Aktuelle Datenbankverbindung (aus mysql.txt)</translation>
    </message>
    <message>
        <source>Hostname</source>
        <translation>Rechnername</translation>
    </message>
    <message>
        <source>Database name</source>
        <translation>Datenbankname</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Master server</source>
        <translation>Hauptserver</translation>
    </message>
    <message>
        <source>dito</source>
        <translation>dito</translation>
    </message>
    <message>
        <source>Status report</source>
        <translation>Statusbericht</translation>
    </message>
    <message>
        <source>TV format</source>
        <translation>TV-Norm</translation>
    </message>
    <message>
        <source>VBI format</source>
        <translation>VBI-Format</translation>
    </message>
    <message>
        <source>Frequency table</source>
        <translation>Frequenztabelle</translation>
    </message>
    <message>
        <source>Time offset</source>
        <translation>Zeitversatz</translation>
    </message>
    <message>
        <source>Recording computer</source>
        <translation>Aufnahmerechner</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>Directory to hold recordings</source>
        <translation>Ordner für Aufnahmen</translation>
    </message>
    <message>
        <source>Directory to hold Live TV buffers</source>
        <translation>Ordner für Live-TV-Puffer</translation>
    </message>
    <message>
        <source>Live TV buffer size</source>
        <translation>Live-TV-Puffergröße</translation>
    </message>
    <message>
        <source>GB</source>
        <translation>GB</translation>
    </message>
    <message>
        <source>Max buffer fill</source>
        <translation>Höchste Pufferfüllung</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Number of simultanous encoders</source>
        <translation>Anzahl gleichzeitiger Encoder</translation>
    </message>
    <message>
        <source>Only the database connection above is read from your settings: what you type below is not stored.</source>
        <translation>Aus Ihren Einstellungen wird nur die Datenbankverbindung oben gelesen: was Sie unten eingeben, wird nicht gespeichert.</translation>
    </message>
    <message>
        <source>default</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port
</translation>
    </message>
</context>
<context>
    <name>TTakeBackWin</name>
    <message>
        <source>Record</source>
        <translation>Datensatz</translation>
    </message>
    <message>
        <source>What happens</source>
        <translation>Was geschieht</translation>
    </message>
    <message>
        <source>Take back</source>
        <translation>Zurücknehmen</translation>
    </message>
    <message>
        <source>ticked</source>
        <translation>angehakt</translation>
    </message>
    <message>
        <source>not ticked</source>
        <translation>nicht angehakt</translation>
    </message>
    <message>
        <source>Records to take back</source>
        <translation>Zurückzunehmende Datensätze</translation>
    </message>
    <message>
        <source>Space ticks or unticks a record; a record changed since is overwritten when ticked</source>
        <translation>Leertaste hakt einen Datensatz an oder ab; ein seither geänderter Datensatz wird überschrieben, wenn er angehakt ist</translation>
    </message>
    <message>
        <source>%1 changed since</source>
        <translation>%1 seither geändert</translation>
    </message>
    <message>
        <source>%1 cannot come back</source>
        <translation>%1 können nicht zurückkommen</translation>
    </message>
    <message>
        <source>%1 as they were</source>
        <translation>%1 wie vorher</translation>
    </message>
    <message>
        <source>. Apply takes back 1 record.</source>
        <translation>. Übernehmen nimmt 1 Datensatz zurück.</translation>
    </message>
    <message>
        <source>. Apply takes back %1 records.</source>
        <translation>. Übernehmen nimmt %1 Datensätze zurück.</translation>
    </message>
    <message>
        <source>%1 unchanged since the write</source>
        <translation>%1 seit dem Schreiben unverändert</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Records to restore</source>
        <translation>Wiederherzustellende Datensätze</translation>
    </message>
    <message>
        <source>%1 to add, %2 to delete, %3 to change</source>
        <translation>%1 hinzuzufügen, %2 zu löschen, %3 zu ändern</translation>
    </message>
    <message>
        <source>%1 changed meanwhile</source>
        <translation>%1 inzwischen geändert</translation>
    </message>
    <message>
        <source>. Apply restores 1 record.</source>
        <translation>. Übernehmen stellt 1 Datensatz wieder her.</translation>
    </message>
    <message>
        <source>. Apply restores %1 records.</source>
        <translation>. Übernehmen stellt %1 Datensätze wieder her.</translation>
    </message>
</context>
<context>
    <name>TakeBack</name>
    <message>
        <source>Nothing was taken back: changed meanwhile by someone else: %1.</source>
        <translation>Nichts wurde zurückgenommen: inzwischen von jemand anderem geändert: %1.</translation>
    </message>
    <message>
        <source>Take back: %1</source>
        <translation>Zurücknehmen: %1</translation>
    </message>
    <message>
        <source>nothing to do: it is as it was before</source>
        <translation>nichts zu tun: es ist wie vorher</translation>
    </message>
    <message>
        <source>cannot come back: the table %1 is not known</source>
        <translation>kann nicht zurückkommen: die Tabelle %1 ist unbekannt</translation>
    </message>
    <message>
        <source>changed since: %1</source>
        <translation>seither geändert: %1</translation>
    </message>
    <message>
        <source>cannot come back: deleted since</source>
        <translation>kann nicht zurückkommen: seither gelöscht</translation>
    </message>
    <message>
        <source>cannot come back: its id %1 is in use again by %2</source>
        <translation>kann nicht zurückkommen: seine ID %1 ist wieder vergeben an %2</translation>
    </message>
    <message>
        <source>delete the source added then</source>
        <translation>die damals hinzugefügte Quelle löschen</translation>
    </message>
    <message>
        <source>delete the channel added then</source>
        <translation>den damals hinzugefügten Sender löschen</translation>
    </message>
    <message>
        <source>delete the tuning values added then</source>
        <translation>die damals hinzugefügten Abstimmwerte löschen</translation>
    </message>
    <message>
        <source>delete the card added then</source>
        <translation>die damals hinzugefügte Karte löschen</translation>
    </message>
    <message>
        <source>delete the input added then</source>
        <translation>den damals hinzugefügten Eingang löschen</translation>
    </message>
    <message>
        <source>%1, with its tuning values</source>
        <translation>%1, mit seinen Abstimmwerten</translation>
    </message>
    <message>
        <source>%1 %2 (now %3)</source>
        <translation>%1 %2 (jetzt %3)</translation>
    </message>
    <message>
        <source>deleted</source>
        <translation>gelöscht</translation>
    </message>
    <message>
        <source>restore %1</source>
        <translation>wiederherstellen: %1</translation>
    </message>
    <message>
        <source>bring back %1 with its tuning values</source>
        <translation>%1 mit seinen Abstimmwerten zurückholen</translation>
    </message>
    <message>
        <source>bring back %1</source>
        <translation>%1 zurückholen</translation>
    </message>
    <message>
        <source>delete the row added then</source>
        <translation>die damals hinzugefügte Zeile löschen</translation>
    </message>
    <message>
        <source>delete it with its tuning values: not in the backup</source>
        <translation>mit seinen Abstimmwerten löschen: nicht in der Sicherung</translation>
    </message>
    <message>
        <source>delete it: not in the backup</source>
        <translation>löschen: nicht in der Sicherung</translation>
    </message>
</context>
<context>
    <name>TuningColumns</name>
    <message>
        <source>PIDs</source>
        <translation>PIDs</translation>
    </message>
    <message>
        <source>Comma-separated list, no spaces</source>
        <translation>Kommaliste, ohne Leerzeichen</translation>
    </message>
    <message>
        <source>Listing ID</source>
        <translation>Listing-ID</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Frequenz</translation>
    </message>
    <message>
        <source>Polarization</source>
        <translation>Polarisation</translation>
    </message>
    <message>
        <source>Symbol Rate</source>
        <translation>Symbolrate</translation>
    </message>
    <message>
        <source>Tone</source>
        <translation>Ton</translation>
    </message>
    <message>
        <source>DiSeqC</source>
        <translation>DiSEqC</translation>
    </message>
    <message>
        <source>Inversion</source>
        <translation>Inversion</translation>
    </message>
    <message>
        <source>Bandwidth</source>
        <translation>Bandbreite</translation>
    </message>
    <message>
        <source>HP Code Rate</source>
        <translation>HP-Coderate</translation>
    </message>
    <message>
        <source>LP Code Rate</source>
        <translation>LP-Coderate</translation>
    </message>
    <message>
        <source>Modulation</source>
        <translation>Modulation</translation>
    </message>
    <message>
        <source>Transmission Rate</source>
        <translation>Übertragungsmodus</translation>
    </message>
    <message>
        <source>Guard Interval</source>
        <translation>Schutzintervall</translation>
    </message>
    <message>
        <source>Hierarchy</source>
        <translation>Hierarchie</translation>
    </message>
</context>
<context>
    <name>WriteHistory</name>
    <message>
        <source>The folder %1 cannot be made.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>%1 cannot be opened: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>The snapshot cannot be compressed.</source>
        <translation>Der Schnappschuss kann nicht komprimiert werden.</translation>
    </message>
    <message>
        <source>%1 cannot be read.</source>
        <translation>%1 kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>%1 is damaged: it cannot be uncompressed.</source>
        <translation>%1 ist beschädigt: sie kann nicht entpackt werden.</translation>
    </message>
    <message>
        <source>The snapshot %1 could not be written: %2</source>
        <translation>Der Schnappschuss %1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
</context>
</TS>
