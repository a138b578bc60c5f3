<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>kestal::AboutBox</name>
    <message>
        <source>About</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Version: %1</source>
        <translation>Version: %1</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 Kestal</source>
        <translation>Copyright (C) 2026 Kestal</translation>
    </message>
    <message>
        <source>kestal@users.example.org</source>
        <translation>kestal@users.example.org</translation>
    </message>
</context>
<context>
    <name>kestal::CallDetailsWindow</name>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Lines of the call</source>
        <translation>Zeilen der Verbindung</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>Print the call&apos;s lines</source>
        <translation>Die Zeilen der Verbindung drucken</translation>
    </message>
</context>
<context>
    <name>kestal::CallViewControls</name>
    <message>
        <source>&amp;Copy Call</source>
        <translation>Verbindung &amp;kopieren</translation>
    </message>
    <message>
        <source>Copy &amp;Shown Calls</source>
        <translation>&amp;Angezeigte Verbindungen kopieren</translation>
    </message>
    <message>
        <source>Fil&amp;ter</source>
        <translation>Fil&amp;ter</translation>
    </message>
    <message>
        <source>&amp;Log Order</source>
        <translation>&amp;Reihenfolge im Protokoll</translation>
    </message>
    <message>
        <source>Save &amp;Shown Calls As...</source>
        <translation>&amp;Angezeigte Verbindungen speichern unter...</translation>
    </message>
    <message>
        <source>%1 of %2 Calls</source>
        <translation>%1 von %2 Verbindungen</translation>
    </message>
</context>
<context>
    <name>kestal::Columns</name>
    <message>
        <source> Start Time</source>
        <translation> Beginn</translation>
    </message>
    <message>
        <source> End Time</source>
        <translation> Ende</translation>
    </message>
    <message>
        <source> Duration</source>
        <translation> Dauer</translation>
    </message>
    <message>
        <source> LCP</source>
        <translation> LCP</translation>
    </message>
    <message>
        <source> CHAP</source>
        <translation> CHAP</translation>
    </message>
    <message>
        <source> IPCP</source>
        <translation> IPCP</translation>
    </message>
    <message>
        <source> CCP</source>
        <translation> CCP</translation>
    </message>
    <message>
        <source> Bytes Rx</source>
        <translation> Bytes Rx</translation>
    </message>
    <message>
        <source> Bytes Tx</source>
        <translation> Bytes Tx</translation>
    </message>
    <message>
        <source> Frames Rx</source>
        <translation> Rahmen Rx</translation>
    </message>
    <message>
        <source> Frames Tx</source>
        <translation> Rahmen Tx</translation>
    </message>
    <message>
        <source> CRC Errors</source>
        <translation> CRC-Fehler</translation>
    </message>
    <message>
        <source> Timeout Errors</source>
        <translation> Timeout-Fehler</translation>
    </message>
    <message>
        <source> Alignment Errors</source>
        <translation> Ausrichtung</translation>
    </message>
    <message>
        <source> Overrun errors</source>
        <translation> Überläufe</translation>
    </message>
    <message>
        <source> Framing errors</source>
        <translation> Rahmenfehler</translation>
    </message>
    <message>
        <source> Buffer overrun errors</source>
        <translation> Pufferüberläufe</translation>
    </message>
    <message>
        <source> Incomplete Packets</source>
        <translation> Unvollst. Pakete</translation>
    </message>
    <message>
        <source> PID</source>
        <translation> PID</translation>
    </message>
    <message>
        <source> Interface</source>
        <translation> Schnittstelle</translation>
    </message>
    <message>
        <source> Device</source>
        <translation> Gerät</translation>
    </message>
    <message>
        <source> Auth</source>
        <translation> Anmeldung</translation>
    </message>
    <message>
        <source> Peer</source>
        <translation> Gegenstelle</translation>
    </message>
    <message>
        <source> Local IP</source>
        <translation> Lokale IP</translation>
    </message>
    <message>
        <source> Remote IP</source>
        <translation> Entfernte IP</translation>
    </message>
    <message>
        <source> Primary DNS</source>
        <translation> Primärer DNS</translation>
    </message>
    <message>
        <source> Secondary DNS</source>
        <translation> Sekundärer DNS</translation>
    </message>
    <message>
        <source> Connect Time</source>
        <translation> Verbindungszeit</translation>
    </message>
    <message>
        <source> Bytes Sent</source>
        <translation> Bytes gesendet</translation>
    </message>
    <message>
        <source> Bytes Received</source>
        <translation> Bytes empfangen</translation>
    </message>
    <message>
        <source> Ended By</source>
        <translation> Beendet durch</translation>
    </message>
    <message>
        <source> Reason</source>
        <translation> Grund</translation>
    </message>
</context>
<context>
    <name>kestal::FilterBar</name>
    <message>
        <source>F&amp;rom</source>
        <translation>V&amp;on</translation>
    </message>
    <message>
        <source>Calls from</source>
        <translation>Verbindungen ab</translation>
    </message>
    <message>
        <source>&amp;to</source>
        <translation>&amp;bis</translation>
    </message>
    <message>
        <source>Calls to</source>
        <translation>Verbindungen bis</translation>
    </message>
    <message>
        <source>Calls &amp;with errors</source>
        <translation>Verbindungen mit &amp;Fehlern</translation>
    </message>
    <message>
        <source>Calls with errors</source>
        <translation>Verbindungen mit Fehlern</translation>
    </message>
    <message>
        <source>Cut-&amp;short calls</source>
        <translation>&amp;Abgebrochene Verbindungen</translation>
    </message>
    <message>
        <source>Cut-short calls</source>
        <translation>Abgebrochene Verbindungen</translation>
    </message>
    <message>
        <source>Dr&amp;opped sessions</source>
        <translation>&amp;Getrennte Sitzungen</translation>
    </message>
    <message>
        <source>Dropped sessions</source>
        <translation>Getrennte Sitzungen</translation>
    </message>
    <message>
        <source>Failed &amp;attempts</source>
        <translation>Fehlgeschlagene &amp;Versuche</translation>
    </message>
    <message>
        <source>Failed attempts</source>
        <translation>Fehlgeschlagene Versuche</translation>
    </message>
    <message>
        <source>&amp;Duration at least</source>
        <translation>&amp;Dauer mindestens</translation>
    </message>
    <message>
        <source>Duration at least</source>
        <translation>Dauer mindestens</translation>
    </message>
    <message>
        <source>at &amp;most</source>
        <translation>&amp;höchstens</translation>
    </message>
    <message>
        <source>Duration at most</source>
        <translation>Dauer höchstens</translation>
    </message>
    <message>
        <source>A &amp;layer slower than</source>
        <translation>Eine &amp;Schicht langsamer als</translation>
    </message>
    <message>
        <source>A layer slower than</source>
        <translation>Eine Schicht langsamer als</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>First date</source>
        <translation>Erstes Datum</translation>
    </message>
    <message>
        <source>Last date</source>
        <translation>Letztes Datum</translation>
    </message>
    <message>
        <source>Calendar of the first date</source>
        <translation>Kalender des ersten Datums</translation>
    </message>
    <message>
        <source>Calendar of the last date</source>
        <translation>Kalender des letzten Datums</translation>
    </message>
    <message>
        <source>Shortest duration</source>
        <translation>Kürzeste Dauer</translation>
    </message>
    <message>
        <source>Longest duration</source>
        <translation>Längste Dauer</translation>
    </message>
    <message>
        <source>Layer seconds</source>
        <translation>Sekunden der Schicht</translation>
    </message>
    <message>
        <source>MM-DD-YYYY</source>
        <translation>MM-TT-JJJJ</translation>
    </message>
    <message>
        <source>Pick the date from a calendar</source>
        <translation>Das Datum im Kalender wählen</translation>
    </message>
    <message>
        <source>Not a date: type it as month-day-year, as in %1. The filter keeps %2.</source>
        <translation>Kein Datum: bitte als Monat-Tag-Jahr eingeben, etwa %1. Der Filter behält %2.</translation>
    </message>
</context>
<context>
    <name>kestal::MainWindow</name>
    <message>
        <source>S&amp;tatistics...</source>
        <translation>S&amp;tatistik...</translation>
    </message>
    <message>
        <source>T&amp;rends...</source>
        <translation>Ve&amp;rlauf...</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Öffnen</translation>
    </message>
    <message>
        <source>&amp;Copy...</source>
        <translation>&amp;Kopieren...</translation>
    </message>
    <message>
        <source>Save Table &amp;As...</source>
        <translation>Tabelle speichern &amp;unter...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Call</source>
        <translation>&amp;Verbindung</translation>
    </message>
    <message>
        <source>&amp;Show Call Details</source>
        <translation>Verbindungs&amp;details anzeigen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;Info...</translation>
    </message>
    <message>
        <source>Calls</source>
        <translation>Verbindungen</translation>
    </message>
    <message>
        <source>One row for each call of the log</source>
        <translation>Eine Zeile für jede Verbindung des Protokolls</translation>
    </message>
    <message>
        <source>Number of calls</source>
        <translation>Anzahl der Verbindungen</translation>
    </message>
    <message>
        <source>Repair progress</source>
        <translation>Fortschritt der Reparatur</translation>
    </message>
    <message>
        <source>Recent &amp;Logs</source>
        <translation>&amp;Letzte Protokolle</translation>
    </message>
    <message>
        <source>Open System &amp;Journal</source>
        <translation>&amp;Systemjournal öffnen</translation>
    </message>
    <message>
        <source>Last &amp;24 Hours</source>
        <translation>Letzte &amp;24 Stunden</translation>
    </message>
    <message>
        <source>Last &amp;7 Days</source>
        <translation>Letzte &amp;7 Tage</translation>
    </message>
    <message>
        <source>Last &amp;30 Days</source>
        <translation>Letzte &amp;30 Tage</translation>
    </message>
    <message>
        <source>&amp;Everything</source>
        <translation>&amp;Alles</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>&amp;Neu laden</translation>
    </message>
    <message>
        <source>&amp;Follow</source>
        <translation>&amp;Mitlesen</translation>
    </message>
    <message>
        <source>&amp;Outages...</source>
        <translation>&amp;Ausfälle...</translation>
    </message>
    <message>
        <source>Save &amp;Report As...</source>
        <translation>Be&amp;richt speichern unter...</translation>
    </message>
</context>
<context>
    <name>kestal::Messages</name>
    <message>
        <source>Fatal error: Can&apos;t find Windows Directory</source>
        <translation>Schwerer Fehler: Das Windows-Verzeichnis wurde nicht gefunden</translation>
    </message>
    <message>
        <source>The PPPLOG.TXT file is in use by another application. If you are currently on-line, re-try when you have finished the current connection.</source>
        <translation>Die Datei PPPLOG.TXT wird von einem anderen Programm benutzt. Wenn Sie gerade online sind, versuchen Sie es nach dem Ende der Verbindung erneut.</translation>
    </message>
    <message>
        <source>The PPPLOG.TXT file may have been corrupted.<byte value="xd"/>
Attempt to load the file anyway?<byte value="xd"/>
This make take a few seconds.</source>
        <translation>Die Datei PPPLOG.TXT ist möglicherweise beschädigt.<byte value="xd"/>
Trotzdem versuchen, die Datei zu laden?<byte value="xd"/>
Das kann einige Sekunden dauern.</translation>
    </message>
    <message>
        <source>Some calls may not be listed!</source>
        <translation>Einige Verbindungen werden möglicherweise nicht angezeigt.</translation>
    </message>
    <message>
        <source>Some logs end early; what they hold is shown.</source>
        <translation>Einige Protokolle enden vorzeitig; ihr Inhalt wird angezeigt.</translation>
    </message>
    <message>
        <source>No system log was found: open a log with File &gt; Open.</source>
        <translation>Es wurde kein Systemprotokoll gefunden: Öffnen Sie ein Protokoll mit Datei &gt; Öffnen.</translation>
    </message>
    <message>
        <source>The PPPLOG.TXT file appears to have been corrupted.</source>
        <translation>Die Datei PPPLOG.TXT scheint beschädigt zu sein.</translation>
    </message>
    <message>
        <source>%1 does not look like a PPP log.</source>
        <translation>%1 scheint kein PPP-Protokoll zu sein.</translation>
    </message>
    <message>
        <source>%1 is a folder, not a PPP log.</source>
        <translation>%1 ist ein Ordner, kein PPP-Protokoll.</translation>
    </message>
    <message>
        <source>The log %1 no longer exists. It is taken off the list of recent logs.</source>
        <translation>Das Protokoll %1 gibt es nicht mehr. Es wird aus der Liste der letzten Protokolle entfernt.</translation>
    </message>
    <message>
        <source>Are Sure you want to clear the PPPLOG.TXT file?</source>
        <translation>Soll die Datei PPPLOG.TXT wirklich geleert werden?</translation>
    </message>
    <message>
        <source>Text (*.txt)|*.txt|Text &amp; Tabs (*.tsv)|*.tsv|Text &amp; Commas (*.csv)|*.csv</source>
        <translation>Text (*.txt)|*.txt|Text mit Tabulatoren (*.tsv)|*.tsv|Text mit Kommas (*.csv)|*.csv</translation>
    </message>
    <message>
        <source>Include the header names as first row?</source>
        <translation>Die Spaltennamen als erste Zeile einfügen?</translation>
    </message>
    <message>
        <source>The table was not saved: the file name must contain .txt, .tsv or .csv.</source>
        <translation>Die Tabelle wurde nicht gespeichert: Der Dateiname muss .txt, .tsv oder .csv enthalten.</translation>
    </message>
    <message>
        <source>Text files (*.txt)|*.TXT</source>
        <translation>Textdateien (*.txt)|*.TXT</translation>
    </message>
    <message>
        <source>Cannot open file %1.</source>
        <translation>Die Datei %1 kann nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Cannot create file %1.</source>
        <translation>Die Datei %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>I/O error %1.</source>
        <translation>Ein-/Ausgabefehler %1.</translation>
    </message>
    <message>
        <source>%1 Calls</source>
        <translation>%1 Verbindungen</translation>
    </message>
    <message>
        <source>File not found.</source>
        <translation>Datei nicht gefunden.</translation>
    </message>
    <message>
        <source>Invalid filename.</source>
        <translation>Ungültiger Dateiname.</translation>
    </message>
    <message>
        <source>Too many open files.</source>
        <translation>Zu viele offene Dateien.</translation>
    </message>
    <message>
        <source>File access denied.</source>
        <translation>Zugriff auf die Datei verweigert.</translation>
    </message>
    <message>
        <source>Read beyond end of file.</source>
        <translation>Lesen über das Dateiende hinaus.</translation>
    </message>
    <message>
        <source>Disk full.</source>
        <translation>Datenträger voll.</translation>
    </message>
    <message>
        <source>Stream write error.</source>
        <translation>Fehler beim Schreiben.</translation>
    </message>
    <message>
        <source>There is no default printer currently selected.</source>
        <translation>Es ist kein Standarddrucker ausgewählt.</translation>
    </message>
    <message>
        <source>Out of memory.</source>
        <translation>Nicht genügend Speicher.</translation>
    </message>
    <message>
        <source>Unknown error.</source>
        <translation>Unbekannter Fehler.</translation>
    </message>
    <message>
        <source>The chart could not be printed.</source>
        <translation>Das Diagramm konnte nicht gedruckt werden.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
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
        <source>PNG Picture (*.png)|*.png|SVG Drawing (*.svg)|*.svg|PDF Document (*.pdf)|*.pdf</source>
        <translation>PNG-Bild (*.png)|*.png|SVG-Zeichnung (*.svg)|*.svg|PDF-Dokument (*.pdf)|*.pdf</translation>
    </message>
    <message>
        <source>The picture was not saved: the file name must end in .png, .svg or .pdf.</source>
        <translation>Das Bild wurde nicht gespeichert: Der Dateiname muss auf .png, .svg oder .pdf enden.</translation>
    </message>
    <message>
        <source>Text (*.txt)|*.txt</source>
        <translation>Text (*.txt)|*.txt</translation>
    </message>
    <message>
        <source>Text (*.txt)|*.txt|All files (*)|*|Journal files (*.journal)|*.journal</source>
        <translation>Text (*.txt)|*.txt|Alle Dateien (*)|*|Journaldateien (*.journal)|*.journal</translation>
    </message>
    <message>
        <source>Only members of the group %1 can read pppd&apos;s entries: join it and log in again.</source>
        <translation>Nur Mitglieder der Gruppe %1 dürfen die Einträge von pppd lesen: treten Sie ihr bei und melden Sie sich neu an.</translation>
    </message>
    <message>
        <source>There is no systemd journal to read here.</source>
        <translation>Hier gibt es kein systemd-Journal zu lesen.</translation>
    </message>
    <message>
        <source>Text &amp; Tabs (*.tsv)|*.tsv|Text &amp; Commas (*.csv)|*.csv</source>
        <translation>Text mit Tabulatoren (*.tsv)|*.tsv|Text mit Kommas (*.csv)|*.csv</translation>
    </message>
    <message>
        <source>The statistics were not saved: the file name must contain .tsv or .csv.</source>
        <translation>Die Statistik wurde nicht gespeichert: Der Dateiname muss .tsv oder .csv enthalten.</translation>
    </message>
    <message>
        <source>Following</source>
        <translation>Mitlesen</translation>
    </message>
    <message>
        <source>%1 corrupted call</source>
        <translation>%1 beschädigte Verbindung</translation>
    </message>
    <message>
        <source>%1 corrupted calls</source>
        <translation>%1 beschädigte Verbindungen</translation>
    </message>
    <message>
        <source>a NUL byte ends the log here, Reload reads on</source>
        <translation>ein NUL-Byte beendet das Protokoll hier, Neu laden liest weiter</translation>
    </message>
    <message>
        <source>the log can&apos;t be read</source>
        <translation>das Protokoll kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>%1 Sessions, %2 Failed Attempts; %3 lines not understood</source>
        <translation>%1 Sitzungen, %2 Fehlversuche; %3 Zeilen nicht verstanden</translation>
    </message>
    <message>
        <source>%1 Sessions, %2 Failed Attempts</source>
        <translation>%1 Sitzungen, %2 Fehlversuche</translation>
    </message>
    <message>
        <source>%1 of %2 Sessions, %3 of %4 Failed Attempts</source>
        <translation>%1 von %2 Sitzungen, %3 von %4 Fehlversuchen</translation>
    </message>
    <message>
        <source>The data for this call appears to have been corrupted in line number %1. A warning replaces the corrupted line.</source>
        <translation>Die Daten dieser Verbindung scheinen in Zeile %1 beschädigt zu sein. Eine Warnung ersetzt die beschädigte Zeile.</translation>
    </message>
    <message>
        <source>%1: compressed data cut short: read up to where it ends</source>
        <translation>%1: komprimierte Daten abgeschnitten: bis zu ihrem Ende gelesen</translation>
    </message>
    <message>
        <source>%1: read failed: %2</source>
        <translation>%1: Lesen fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>%1: compressed data damaged (%2): read up to the damage</source>
        <translation>%1: komprimierte Daten beschädigt (%2): bis zur beschädigten Stelle gelesen</translation>
    </message>
    <message>
        <source>The report could not be written</source>
        <translation>Der Bericht konnte nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>kestal::OutagesWindow</name>
    <message>
        <source>Outages - %1</source>
        <translation>Ausfälle - %1</translation>
    </message>
    <message>
        <source>Outages found</source>
        <translation>Gefundene Ausfälle</translation>
    </message>
    <message>
        <source>Outages</source>
        <translation>Ausfälle</translation>
    </message>
    <message>
        <source>One row for each time the link was down</source>
        <translation>Eine Zeile für jedes Mal, als die Verbindung unterbrochen war</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>%1 outages</source>
        <translation>%1 Ausfälle</translation>
    </message>
</context>
<context>
    <name>kestal::PppdCharts</name>
    <message>
        <source>Mon</source>
        <translation>Mo</translation>
    </message>
    <message>
        <source>Tue</source>
        <translation>Di</translation>
    </message>
    <message>
        <source>Wed</source>
        <translation>Mi</translation>
    </message>
    <message>
        <source>Thu</source>
        <translation>Do</translation>
    </message>
    <message>
        <source>Fri</source>
        <translation>Fr</translation>
    </message>
    <message>
        <source>Sat</source>
        <translation>Sa</translation>
    </message>
    <message>
        <source>Sun</source>
        <translation>So</translation>
    </message>
    <message>
        <source>Online time (h)</source>
        <translation>Online-Zeit (h)</translation>
    </message>
    <message>
        <source>Drops and failed attempts</source>
        <translation>Abbrüche und Fehlversuche</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Online time</source>
        <translation>Online-Zeit</translation>
    </message>
    <message>
        <source>Drops</source>
        <translation>Abbrüche</translation>
    </message>
    <message>
        <source>Failed attempts</source>
        <translation>Fehlversuche</translation>
    </message>
    <message>
        <source>Session duration (h)</source>
        <translation>Sitzungsdauer (h)</translation>
    </message>
    <message>
        <source>Start of the session</source>
        <translation>Beginn der Sitzung</translation>
    </message>
    <message>
        <source>Sessions</source>
        <translation>Sitzungen</translation>
    </message>
    <message>
        <source>Session length (h)</source>
        <translation>Sitzungsdauer (h)</translation>
    </message>
    <message>
        <source>Session length (min)</source>
        <translation>Sitzungsdauer (min)</translation>
    </message>
    <message>
        <source>Drops by weekday and hour of day</source>
        <translation>Abbrüche nach Wochentag und Uhrzeit</translation>
    </message>
    <message>
        <source>Weekday</source>
        <translation>Wochentag</translation>
    </message>
    <message>
        <source>Hour of day</source>
        <translation>Uhrzeit</translation>
    </message>
</context>
<context>
    <name>kestal::PppdReport</name>
    <message>
        <source>Drops by Weekday and Hour of Day</source>
        <translation>Abbrüche nach Wochentag und Uhrzeit</translation>
    </message>
    <message>
        <source>Statistics by Day</source>
        <translation>Statistik je Tag</translation>
    </message>
    <message>
        <source>How Sessions and Attempts Ended, by Day</source>
        <translation>Wie Sitzungen und Versuche endeten, je Tag</translation>
    </message>
    <message>
        <source>Outages</source>
        <translation>Ausfälle</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message>
        <source>Connection Report</source>
        <translation>Verbindungsbericht</translation>
    </message>
    <message>
        <source>Log: %1</source>
        <translation>Protokoll: %1</translation>
    </message>
    <message>
        <source>Span: %1</source>
        <translation>Zeitraum: %1</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>Sessions: %1    Drops: %2    Failed attempts: %3    Outages: %4</source>
        <translation>Sitzungen: %1    Abbrüche: %2    Fehlversuche: %3    Ausfälle: %4</translation>
    </message>
    <message>
        <source>%1 (continued)</source>
        <translation>%1 (Fortsetzung)</translation>
    </message>
    <message>
        <source>None.</source>
        <translation>Keine.</translation>
    </message>
</context>
<context>
    <name>kestal::PppdTrendsWindow</name>
    <message>
        <source>Trends - %1</source>
        <translation>Verlauf - %1</translation>
    </message>
    <message>
        <source>&amp;Whole Range</source>
        <translation>&amp;Ganzer Zeitraum</translation>
    </message>
    <message>
        <source>Save &amp;Picture As...</source>
        <translation>&amp;Bild speichern unter...</translation>
    </message>
    <message>
        <source>P&amp;rint</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Charts</source>
        <translation>Diagramme</translation>
    </message>
    <message>
        <source>Per day chart</source>
        <translation>Diagramm je Tag</translation>
    </message>
    <message>
        <source>Hours online, drops and failed attempts of each day</source>
        <translation>Stunden online, Abbrüche und Fehlversuche jedes Tages</translation>
    </message>
    <message>
        <source>Per session chart</source>
        <translation>Diagramm je Sitzung</translation>
    </message>
    <message>
        <source>The duration of each session by its start</source>
        <translation>Die Dauer jeder Sitzung nach ihrem Beginn</translation>
    </message>
    <message>
        <source>Histogram</source>
        <translation>Histogramm</translation>
    </message>
    <message>
        <source>How many sessions lasted how long</source>
        <translation>Wie viele Sitzungen wie lange dauerten</translation>
    </message>
    <message>
        <source>Drops by hour</source>
        <translation>Abbrüche nach Uhrzeit</translation>
    </message>
    <message>
        <source>How many drops fell on each weekday and hour of the day</source>
        <translation>Wie viele Abbrüche auf jeden Wochentag und jede Stunde des Tages fielen</translation>
    </message>
    <message>
        <source>Sessions charted</source>
        <translation>Dargestellte Sitzungen</translation>
    </message>
    <message>
        <source>Whole Range</source>
        <translation>Ganzer Zeitraum</translation>
    </message>
    <message>
        <source>Save Picture As</source>
        <translation>Bild speichern unter</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Per &amp;Day</source>
        <translation>Je &amp;Tag</translation>
    </message>
    <message>
        <source>Per &amp;Session</source>
        <translation>Je &amp;Sitzung</translation>
    </message>
    <message>
        <source>&amp;Histogram</source>
        <translation>&amp;Histogramm</translation>
    </message>
    <message>
        <source>Drops by &amp;Hour</source>
        <translation>Abbrüche nach &amp;Uhrzeit</translation>
    </message>
    <message>
        <source>%1 sessions with a date, %2 drops, %3 failed attempts</source>
        <translation>%1 Sitzungen mit Datum, %2 Abbrüche, %3 Fehlversuche</translation>
    </message>
    <message>
        <source>Session of %1 selected in the grid</source>
        <translation>Sitzung vom %1 in der Tabelle ausgewählt</translation>
    </message>
    <message>
        <source>Failed attempt of %1 selected in the grid</source>
        <translation>Fehlversuch vom %1 in der Tabelle ausgewählt</translation>
    </message>
</context>
<context>
    <name>kestal::Statistics</name>
    <message>
        <source>Period</source>
        <translation>Zeitraum</translation>
    </message>
    <message>
        <source>Calls</source>
        <translation>Verbindungen</translation>
    </message>
    <message>
        <source>Online Time</source>
        <translation>Online-Zeit</translation>
    </message>
    <message>
        <source>Mean Duration</source>
        <translation>Mittlere Dauer</translation>
    </message>
    <message>
        <source>Median Duration</source>
        <translation>Median der Dauer</translation>
    </message>
    <message>
        <source>Longest Duration</source>
        <translation>Längste Dauer</translation>
    </message>
    <message>
        <source>Cut Short</source>
        <translation>Abgebrochen</translation>
    </message>
    <message>
        <source>LCP Mean</source>
        <translation>LCP-Mittel</translation>
    </message>
    <message>
        <source>CHAP Mean</source>
        <translation>CHAP-Mittel</translation>
    </message>
    <message>
        <source>IPCP Mean</source>
        <translation>IPCP-Mittel</translation>
    </message>
    <message>
        <source>CCP Mean</source>
        <translation>CCP-Mittel</translation>
    </message>
    <message>
        <source>Bytes Rx</source>
        <translation>Bytes Rx</translation>
    </message>
    <message>
        <source>Bytes Tx</source>
        <translation>Bytes Tx</translation>
    </message>
    <message>
        <source>Errors</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Errors per 1000 Frames</source>
        <translation>Fehler je 1000 Rahmen</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Beginn</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>Cause</source>
        <translation>Ursache</translation>
    </message>
    <message>
        <source>Failed Attempts</source>
        <translation>Fehlversuche</translation>
    </message>
    <message>
        <source>Sessions</source>
        <translation>Sitzungen</translation>
    </message>
    <message>
        <source>Drops</source>
        <translation>Abbrüche</translation>
    </message>
    <message>
        <source>Availability</source>
        <translation>Verfügbarkeit</translation>
    </message>
    <message>
        <source>Longest Session</source>
        <translation>Längste Sitzung</translation>
    </message>
    <message>
        <source>Median Session</source>
        <translation>Median der Sitzungen</translation>
    </message>
    <message>
        <source>Mean Time to Reconnect</source>
        <translation>Mittlere Zeit bis zur Wiederverbindung</translation>
    </message>
    <message>
        <source>Bytes Sent</source>
        <translation>Bytes gesendet</translation>
    </message>
    <message>
        <source>Bytes Received</source>
        <translation>Bytes empfangen</translation>
    </message>
    <message>
        <source>Echo Timeout</source>
        <translation>Echo-Zeitüberschreitung</translation>
    </message>
    <message>
        <source>Peer</source>
        <translation>Gegenstelle</translation>
    </message>
    <message>
        <source>Hangup</source>
        <translation>Aufgelegt</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>Beendet</translation>
    </message>
    <message>
        <source>Idle</source>
        <translation>Leerlauf</translation>
    </message>
    <message>
        <source>Time Limit</source>
        <translation>Zeitlimit</translation>
    </message>
    <message>
        <source>Traffic Limit</source>
        <translation>Volumenlimit</translation>
    </message>
    <message>
        <source>Auth Failed</source>
        <translation>Anmeldung fehlgeschlagen</translation>
    </message>
    <message>
        <source>Negotiation Timeout</source>
        <translation>Aushandlung abgelaufen</translation>
    </message>
    <message>
        <source>No PADO</source>
        <translation>Kein PADO</translation>
    </message>
    <message>
        <source>Connect Script</source>
        <translation>Verbindungsskript</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Gerät</translation>
    </message>
    <message>
        <source>Still Up</source>
        <translation>Noch verbunden</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
</context>
<context>
    <name>kestal::StatisticsWindow</name>
    <message>
        <source>Statistics - %1</source>
        <translation>Statistik - %1</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>Zeitraum</translation>
    </message>
    <message>
        <source>Whole log</source>
        <translation>Ganzes Protokoll</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Week (ISO 8601)</source>
        <translation>Woche (ISO 8601)</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>&amp;Period:</source>
        <translation>&amp;Zeitraum:</translation>
    </message>
    <message>
        <source>Calls counted</source>
        <translation>Gezählte Verbindungen</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>One row of figures per period</source>
        <translation>Eine Zeile mit Zahlen je Zeitraum</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>%1 calls</source>
        <translation>%1 Verbindungen</translation>
    </message>
    <message>
        <source>%1 rows</source>
        <translation>%1 Zeilen</translation>
    </message>
</context>
<context>
    <name>kestal::TrendsWindow</name>
    <message>
        <source>Duration</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>Received</source>
        <translation>Empfangen</translation>
    </message>
    <message>
        <source>Sent</source>
        <translation>Gesendet</translation>
    </message>
    <message>
        <source>Errors per 1000 frames</source>
        <translation>Fehler je 1000 Rahmen</translation>
    </message>
    <message>
        <source>Trends - %1</source>
        <translation>Verlauf - %1</translation>
    </message>
    <message>
        <source>&amp;Whole Range</source>
        <translation>&amp;Ganzer Zeitraum</translation>
    </message>
    <message>
        <source>Save &amp;Picture As...</source>
        <translation>&amp;Bild speichern unter...</translation>
    </message>
    <message>
        <source>P&amp;rint</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Charts</source>
        <translation>Diagramme</translation>
    </message>
    <message>
        <source>Per call chart</source>
        <translation>Diagramm je Verbindung</translation>
    </message>
    <message>
        <source>Duration, layer times, throughput and errors of each call by its start</source>
        <translation>Dauer, Schichtzeiten, Durchsatz und Fehler jeder Verbindung nach ihrem Beginn</translation>
    </message>
    <message>
        <source>Per day chart</source>
        <translation>Diagramm je Tag</translation>
    </message>
    <message>
        <source>Calls, hours online and median duration of each day</source>
        <translation>Verbindungen, Stunden online und mittlere Dauer jedes Tages</translation>
    </message>
    <message>
        <source>Histograms</source>
        <translation>Histogramme</translation>
    </message>
    <message>
        <source>How many calls had each duration and each layer time</source>
        <translation>Wie viele Verbindungen welche Dauer und welche Schichtzeit hatten</translation>
    </message>
    <message>
        <source>Calls charted</source>
        <translation>Dargestellte Verbindungen</translation>
    </message>
    <message>
        <source>Whole Range</source>
        <translation>Ganzer Zeitraum</translation>
    </message>
    <message>
        <source>Save Picture As</source>
        <translation>Bild speichern unter</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Calls</source>
        <translation>Verbindungen</translation>
    </message>
    <message>
        <source>Online time (h)</source>
        <translation>Online-Zeit (h)</translation>
    </message>
    <message>
        <source>Median duration (min)</source>
        <translation>Mittlere Dauer (min)</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Per &amp;Day</source>
        <translation>Je &amp;Tag</translation>
    </message>
    <message>
        <source>Duration (min)</source>
        <translation>Dauer (min)</translation>
    </message>
    <message>
        <source>Layer time (s)</source>
        <translation>Schichtzeit (s)</translation>
    </message>
    <message>
        <source>&amp;Histograms</source>
        <translation>&amp;Histogramme</translation>
    </message>
    <message>
        <source>Duration (s)</source>
        <translation>Dauer (s)</translation>
    </message>
    <message>
        <source>Throughput (bytes/s)</source>
        <translation>Durchsatz (Bytes/s)</translation>
    </message>
    <message>
        <source>Start of the call</source>
        <translation>Beginn der Verbindung</translation>
    </message>
    <message>
        <source>Per &amp;Call</source>
        <translation>Je &amp;Verbindung</translation>
    </message>
    <message>
        <source>%1 calls with a date</source>
        <translation>%1 Verbindungen mit Datum</translation>
    </message>
    <message>
        <source>Call of %1 selected in the grid</source>
        <translation>Verbindung vom %1 in der Tabelle ausgewählt</translation>
    </message>
</context>
</TS>
