<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AccessibleEditor</name>
    <message>
        <source>Editor</source>
        <translation>Editor</translation>
    </message>
</context>
<context>
    <name>CheckCommand</name>
    <message>
        <source>unknown report format '%1' (text, json or sarif)</source>
        <translation>unbekanntes Berichtsformat '%1' (text, json oder sarif)</translation>
    </message>
    <message>
        <source>--check needs at least one FILE</source>
        <translation>--check braucht mindestens eine DATEI</translation>
    </message>
    <message>
        <source>(standard input)</source>
        <translation>(Standardeingabe)</translation>
    </message>
    <message>
        <source>cannot read standard input: %1</source>
        <translation>die Standardeingabe kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>cannot read '%1': %2</source>
        <translation>'%1' kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1
Try 'zunopad --help' for more information.</source>
        <translation>%1
'zunopad --help' gibt weitere Informationen.</translation>
    </message>
    <message>
        <source>cannot write the output: %1</source>
        <translation>die Ausgabe kann nicht geschrieben werden: %1</translation>
    </message>
</context>
<context>
    <name>CheckReport</name>
    <message>
        <source>%1: OK</source>
        <translation>%1: OK</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Not enough memory to convert the file.</source>
        <translation>Nicht genug Speicher, um die Datei umzuwandeln.</translation>
    </message>
</context>
<context>
    <name>ConversionMessages</name>
    <message>
        <source>Unexpected data '%1'.</source>
        <translation>Unerwartete Daten '%1'.</translation>
    </message>
    <message>
        <source>Invalid ZUNO Data Item '%1' on line %2</source>
        <translation>Ungültiges ZUNO-Datenelement '%1' in Zeile %2</translation>
    </message>
    <message>
        <source>Invalid File</source>
        <translation>Ungültige Datei</translation>
    </message>
    <message>
        <source>the item '%1' would be added after it</source>
        <translation>das Element '%1' käme dahinter hinzu</translation>
    </message>
    <message>
        <source>saving from the Record view would stop with the warning "%1"</source>
        <translation>Speichern aus der Datensatzansicht bräche mit der Warnung „%1“ ab</translation>
    </message>
    <message>
        <source>it would come back as several items</source>
        <translation>es käme als mehrere Elemente zurück</translation>
    </message>
    <message>
        <source>it would come back as '%1'</source>
        <translation>es käme als '%1' zurück</translation>
    </message>
    <message>
        <source>it would be lost</source>
        <translation>es ginge verloren</translation>
    </message>
    <message>
        <source>it holds two spaces in a row, which the List layout reads as the gap between two items, so %1</source>
        <translation>es enthält zwei Leerzeichen hintereinander, die die Listenansicht als Lücke zwischen zwei Elementen liest, daher %1</translation>
    </message>
    <message>
        <source>The data item '%1' on line %2 would not come back unchanged from the Record view: %3</source>
        <translation>Das Datenelement '%1' in Zeile %2 käme nicht unverändert aus der Datensatzansicht zurück: %3</translation>
    </message>
</context>
<context>
    <name>Converter</name>
    <message>
        <source>%1 needs exactly one FILE</source>
        <translation>%1 braucht genau eine DATEI</translation>
    </message>
    <message>
        <source>unknown option '%1'</source>
        <translation>unbekannte Option '%1'</translation>
    </message>
    <message>
        <source>(standard input)</source>
        <translation>(Standardeingabe)</translation>
    </message>
    <message>
        <source>cannot read standard input: %1</source>
        <translation>die Standardeingabe kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>cannot read '%1': %2</source>
        <translation>'%1' kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>cannot write the output: %1</source>
        <translation>die Ausgabe kann nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>%1
Try 'zunopad --help' for more information.</source>
        <translation>%1
'zunopad --help' gibt weitere Informationen.</translation>
    </message>
    <message>
        <source>zunopad: %1</source>
        <translation>zunopad: %1</translation>
    </message>
    <message>
        <source>cannot read the input: it was cut short while being read</source>
        <translation>die Eingabe kann nicht gelesen werden: sie wurde beim Lesen gekürzt</translation>
    </message>
    <message>
        <source>Usage: zunopad [--] [FILE...]
       zunopad --to-record [--] FILE
       zunopad --to-list [--] FILE
       zunopad --check [--verbose] [--warnings-as-errors] [--format=FORM] [--] FILE...
       zunopad --lsp
       zunopad --help | --version

Without an option, opens FILE (or an empty document) in the editor. The words
of the command line are joined with single blanks and every double quote is
removed; when that names a file, it is the one FILE. Otherwise each argument
is a FILE: the first opens in this window, each further one in a window of
its own. A FILE that another ZUNOPad window holds brings that window forward
(over the session bus; without one it is opened read-only). The editor's keys
stand beside its menu entries; see zunopad(1).

  --to-record FILE  print FILE, a ZUNO data file in the List layout, in the
                    Record layout
  --to-list FILE    print FILE, text in the Record layout, in the List layout
  --check FILE...   list every problem of each FILE as the editor marks it in
                    the List view, one a line: FILE:LINE:COLUMN: error: MESSAGE
                    (a line that is not a data item) or ...: warning: MESSAGE
                    (one that would not come back unchanged from the Record
                    layout). A FILE that is a folder stands for the ZUNO data
                    files in it and below it, checked on every core.
    --verbose             also print FILE: OK for a file without problems
    --warnings-as-errors  exit with status 1 on warnings too
    --format=FORM         text (the default), json or sarif (SARIF 2.1.0)
  --lsp             serve the Language Server Protocol on standard input and
                    output, for other editors: the problems, the records, the
                    folding of records and what each item is
  --help            show this help and exit
  --version         show the version and exit
  --                end the options: a FILE may then begin with -

FILE may be - for standard input; otherwise it must be a regular file, not a
pipe or a device. Input of more than 512 MiB is refused. The output keeps the
input's encoding and line endings. Exit status: 0 on success, 1 when the data
is invalid (--check: an error was found), 2 when a file cannot be read, the
output cannot be written or the command is wrong.
</source>
        <translation>Aufruf: zunopad [--] [DATEI...]
        zunopad --to-record [--] DATEI
        zunopad --to-list [--] DATEI
        zunopad --check [--verbose] [--warnings-as-errors] [--format=FORM] [--] DATEI...
        zunopad --lsp
        zunopad --help | --version

Ohne Option öffnet zunopad DATEI (oder ein leeres Dokument) im Editor. Die
Wörter der Befehlszeile werden mit einzelnen Leerzeichen verbunden, und jedes
doppelte Anführungszeichen wird entfernt; benennt das eine Datei, ist sie die
eine DATEI. Sonst ist jedes Argument eine DATEI: die erste öffnet sich in
diesem Fenster, jede weitere in einem eigenen. Eine DATEI, die ein anderes
ZUNOPad-Fenster hält, holt dieses Fenster nach vorn (über den Sitzungsbus;
ohne ihn wird sie schreibgeschützt geöffnet). Die Tasten des Editors stehen
neben seinen Menüeinträgen; siehe zunopad(1).

  --to-record DATEI  DATEI, eine ZUNO-Datendatei in der Listenansicht, in der
                     Datensatzansicht ausgeben
  --to-list DATEI    DATEI, Text in der Datensatzansicht, in der Listenansicht
                     ausgeben
  --check DATEI...   jedes Problem jeder DATEI so auflisten, wie der Editor es
                     in der Listenansicht markiert, eines pro Zeile:
                     DATEI:ZEILE:SPALTE: error: MELDUNG (eine Zeile, die kein
                     Datenelement ist) oder ...: warning: MELDUNG (eine, die
                     nicht unverändert aus der Datensatzansicht zurückkäme).
                     Eine DATEI, die ein Ordner ist, steht für die ZUNO-
                     Datendateien darin und darunter, auf allen Kernen geprüft.
    --verbose             auch DATEI: OK für eine Datei ohne Probleme ausgeben
    --warnings-as-errors  auch bei Warnungen mit Status 1 beenden
    --format=FORM         text (Vorgabe), json oder sarif (SARIF 2.1.0)
  --lsp              das Language Server Protocol auf Standardein- und
                     -ausgabe anbieten, für andere Editoren: die Probleme, die
                     Datensätze, das Falten von Datensätzen und was jedes
                     Element ist
  --help             diese Hilfe zeigen und beenden
  --version          die Version zeigen und beenden
  --                 Ende der Optionen: eine DATEI darf dann mit - beginnen

DATEI darf - für die Standardeingabe sein; sonst muss sie eine reguläre Datei
sein, keine Pipe und kein Gerät. Eingaben über 512 MiB werden abgelehnt. Die
Ausgabe behält Zeichenkodierung und Zeilenenden der Eingabe. Exit-Status: 0 bei
Erfolg, 1 bei ungültigen Daten (--check: ein Fehler wurde gefunden), 2 wenn eine
Datei nicht gelesen oder die Ausgabe nicht geschrieben werden kann oder der
Befehl falsch ist.
</translation>
    </message>
    <message>
        <source>Usage: zunopad [--] [FILE...]
       zunopad --to-record [--output OUT] [--] FILE
       zunopad --to-list [--output OUT] [--] FILE
       zunopad --check [--verbose] [--warnings-as-errors] [--format=FORM] [--] FILE...
       zunopad --lsp
       zunopad --help | --version

Without an option, opens FILE (or an empty document) in the editor. The words
of the command line are joined with single blanks and every double quote is
removed; when that names a file, it is the one FILE. Otherwise each argument
is a FILE: the first opens in this window, each further one in a window of
its own. A FILE that another ZUNOPad window holds brings that window forward
(over the session bus; without one it is opened read-only). The editor's keys
stand beside its menu entries; see zunopad(1).

  --to-record FILE  print FILE, a ZUNO data file in the List layout, in the
                    Record layout
  --to-list FILE    print FILE, text in the Record layout, in the List layout
  --output OUT      with --to-record or --to-list: write to OUT instead, as a
                    whole (a new file renamed over OUT), or not at all
  --check FILE...   list every problem of each FILE as the editor marks it in
                    the List view, one a line: FILE:LINE:COLUMN: error: MESSAGE
                    (a line that is not a data item) or ...: warning: MESSAGE
                    (one that would not come back unchanged from the Record
                    layout). A FILE that is a folder stands for the ZUNO data
                    files in it and below it, checked on every core.
    --verbose             also print FILE: OK for a file without problems
    --warnings-as-errors  exit with status 1 on warnings too
    --format=FORM         text (the default), json or sarif (SARIF 2.1.0)
  --lsp             serve the Language Server Protocol on standard input and
                    output, for other editors: the problems, the records, the
                    folding of records and what each item is
  --help            show this help and exit
  --version         show the version and exit
  --                end the options: a FILE may then begin with -

FILE may be - for standard input; otherwise it must be a regular file, not a
pipe or a device. Input of more than 512 MiB is refused. The output keeps the
input's encoding and line endings. Exit status: 0 on success, 1 when the data
is invalid (--check: an error was found), 2 when a file cannot be read, the
output cannot be written or the command is wrong.
</source>
        <translation>Aufruf: zunopad [--] [DATEI...]
        zunopad --to-record [--output AUS] [--] DATEI
        zunopad --to-list [--output AUS] [--] DATEI
        zunopad --check [--verbose] [--warnings-as-errors] [--format=FORM] [--] DATEI...
        zunopad --lsp
        zunopad --help | --version

Ohne Option öffnet zunopad DATEI (oder ein leeres Dokument) im Editor. Die
Wörter der Befehlszeile werden mit einzelnen Leerzeichen verbunden, und jedes
doppelte Anführungszeichen wird entfernt; benennt das eine Datei, ist sie die
eine DATEI. Sonst ist jedes Argument eine DATEI: die erste öffnet sich in
diesem Fenster, jede weitere in einem eigenen. Eine DATEI, die ein anderes
ZUNOPad-Fenster hält, holt dieses Fenster nach vorn (über den Sitzungsbus;
ohne ihn wird sie schreibgeschützt geöffnet). Die Tasten des Editors stehen
neben seinen Menüeinträgen; siehe zunopad(1).

  --to-record DATEI  DATEI, eine ZUNO-Datendatei in der Listenansicht, in der
                     Datensatzansicht ausgeben
  --to-list DATEI    DATEI, Text in der Datensatzansicht, in der Listenansicht
                     ausgeben
  --output AUS       mit --to-record oder --to-list: stattdessen nach AUS
                     schreiben, als Ganzes (eine neue Datei, über AUS
                     umbenannt), oder gar nicht
  --check DATEI...   jedes Problem jeder DATEI so auflisten, wie der Editor es
                     in der Listenansicht markiert, eines pro Zeile:
                     DATEI:ZEILE:SPALTE: error: MELDUNG (eine Zeile, die kein
                     Datenelement ist) oder ...: warning: MELDUNG (eine, die
                     nicht unverändert aus der Datensatzansicht zurückkäme).
                     Eine DATEI, die ein Ordner ist, steht für die ZUNO-
                     Datendateien darin und darunter, auf allen Kernen geprüft.
    --verbose             auch DATEI: OK für eine Datei ohne Probleme ausgeben
    --warnings-as-errors  auch bei Warnungen mit Status 1 beenden
    --format=FORM         text (Vorgabe), json oder sarif (SARIF 2.1.0)
  --lsp              das Language Server Protocol auf Standardein- und
                     -ausgabe anbieten, für andere Editoren: die Probleme, die
                     Datensätze, das Falten von Datensätzen und was jedes
                     Element ist
  --help             diese Hilfe zeigen und beenden
  --version          die Version zeigen und beenden
  --                 Ende der Optionen: eine DATEI darf dann mit - beginnen

DATEI darf - für die Standardeingabe sein; sonst muss sie eine reguläre Datei
sein, keine Pipe und kein Gerät. Eingaben über 512 MiB werden abgelehnt. Die
Ausgabe behält Zeichenkodierung und Zeilenenden der Eingabe. Exit-Status: 0 bei
Erfolg, 1 bei ungültigen Daten (--check: ein Fehler wurde gefunden), 2 wenn eine
Datei nicht gelesen oder die Ausgabe nicht geschrieben werden kann oder der
Befehl falsch ist.
</translation>
    </message>
    <message>
        <source>--output goes with --to-record or --to-list</source>
        <translation>--output gehört zu --to-record oder --to-list</translation>
    </message>
    <message>
        <source>--output needs a FILE</source>
        <translation>--output braucht eine DATEI</translation>
    </message>
    <message>
        <source>cannot write '%1': %2</source>
        <translation>'%1' kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>the output was not taken back: another program has written to the file meanwhile</source>
        <translation>die Ausgabe wurde nicht zurückgenommen: ein anderes Programm hat inzwischen in die Datei geschrieben</translation>
    </message>
</context>
<context>
    <name>EditorApplication</name>
    <message>
        <source>complete the command</source>
        <translation>den Befehl auszuführen</translation>
    </message>
</context>
<context>
    <name>EditorModule</name>
    <message>
        <source>%1 was not found</source>
        <translation>%1 wurde nicht gefunden</translation>
    </message>
    <message>
        <source>cannot start the editor: %1</source>
        <translation>der Editor kann nicht gestartet werden: %1</translation>
    </message>
</context>
<context>
    <name>EditorShell</name>
    <message>
        <source>The unsaved changes could not be kept for recovery: %1</source>
        <translation>Die ungespeicherten Änderungen konnten nicht für die Wiederherstellung aufbewahrt werden: %1</translation>
    </message>
    <message>
        <source>If ZUNOPad ends before they are saved, they are lost. Free some space or save the document.</source>
        <translation>Endet ZUNOPad, bevor sie gespeichert sind, gehen sie verloren. Geben Sie Speicherplatz frei oder speichern Sie das Dokument.</translation>
    </message>
    <message>
        <source>The file '%1' could not be read.<byte value="xd" />
<byte value="xd" />
%2</source>
        <translation>Die Datei '%1' konnte nicht gelesen werden.<byte value="xd" />
<byte value="xd" />
%2</translation>
    </message>
    <message>
        <source>The file '%1' could not be saved.<byte value="xd" />
<byte value="xd" />
%2</source>
        <translation>Die Datei '%1' konnte nicht gespeichert werden.<byte value="xd" />
<byte value="xd" />
%2</translation>
    </message>
    <message>
        <source>The file '%1' could not be saved in the folder '%2'.<byte value="xd" />
<byte value="xd" />
%3</source>
        <translation>Die Datei '%1' konnte nicht im Ordner '%2' gespeichert werden.<byte value="xd" />
<byte value="xd" />
%3</translation>
    </message>
    <message>
        <source>The file '%1' has been changed on disk since it was opened.<byte value="xd" />
<byte value="xd" />
Overwrite it with the text in the editor?</source>
        <translation>Die Datei '%1' wurde seit dem Öffnen auf dem Datenträger geändert.<byte value="xd" />
<byte value="xd" />
Mit dem Text im Editor überschreiben?</translation>
    </message>
    <message>
        <source>The file '%1' doesn't exist.</source>
        <translation>Die Datei '%1' existiert nicht.</translation>
    </message>
    <message>
        <source>Unable to load the file %1.</source>
        <translation>Die Datei %1 kann nicht geladen werden.</translation>
    </message>
    <message>
        <source>File Does Not Exist</source>
        <translation>Datei existiert nicht</translation>
    </message>
    <message>
        <source>Unable to load the file %1.<byte value="xd" />
<byte value="xd" />
%2</source>
        <translation>Die Datei %1 kann nicht geladen werden.<byte value="xd" />
<byte value="xd" />
%2</translation>
    </message>
    <message>
        <source>Unable to Load File</source>
        <translation>Datei kann nicht geladen werden</translation>
    </message>
    <message>
        <source>Untitled File</source>
        <translation>Unbenannte Datei</translation>
    </message>
    <message>
        <source>The text in '%1' has changed.<byte value="xd" />
<byte value="xd" />
Do you want to save the changes?</source>
        <translation>Der Text in '%1' wurde geändert.<byte value="xd" />
<byte value="xd" />
Möchten Sie die Änderungen speichern?</translation>
    </message>
    <message>
        <source>Save Changes?</source>
        <translation>Änderungen speichern?</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>Open ZUNO File</source>
        <translation>ZUNO-Datei öffnen</translation>
    </message>
    <message>
        <source>ZUNO Pad</source>
        <translation>ZUNO Pad</translation>
    </message>
    <message>
        <source>ZUNOPad File Editor</source>
        <translation>ZUNOPad Datei-Editor</translation>
    </message>
    <message>
        <source> - ZUNOPad File Editor</source>
        <translation> - ZUNOPad Datei-Editor</translation>
    </message>
    <message>
        <source>ZUNO Project File (*.PRJ)|*.PRJ|ZUNO Control File (*.CTL)|*.CTL|ZUNO Points and Chains File (*.PAC)|*.PAC|ZUNO Calculated File (*.CAL)|*.CAL|ZUNO Editted Project File (*.EDI)|*.EDI|ZUNO Horizontal Alignment File (*.ALI)|*.ALI|ZUNO Vertical Alignment File (*.PRO)|*.PRO|ZUNO Superelevation File (*.SUP)|*.SUP</source>
        <translation>ZUNO-Projektdatei (*.PRJ)|*.PRJ|ZUNO-Steuerdatei (*.CTL)|*.CTL|ZUNO-Punkt- und Kettendatei (*.PAC)|*.PAC|ZUNO-Berechnungsdatei (*.CAL)|*.CAL|ZUNO-Datei des bearbeiteten Projekts (*.EDI)|*.EDI|ZUNO-Lageplandatei (*.ALI)|*.ALI|ZUNO-Höhenplandatei (*.PRO)|*.PRO|ZUNO-Querneigungsdatei (*.SUP)|*.SUP</translation>
    </message>
    <message>
        <source>File Changed on Disk</source>
        <translation>Datei auf dem Datenträger geändert</translation>
    </message>
    <message>
        <source>Recover Unsaved Changes</source>
        <translation>Ungespeicherte Änderungen wiederherstellen</translation>
    </message>
    <message>
        <source>ZUNOPad ended before the changes to '%1' were saved. They were kept as they were at the last change, %2.</source>
        <translation>ZUNOPad wurde beendet, bevor die Änderungen an '%1' gespeichert waren. Sie wurden so aufbewahrt, wie sie bei der letzten Änderung waren, %2.</translation>
    </message>
    <message>
        <source>The file has been changed on disk since then.</source>
        <translation>Die Datei wurde seitdem auf dem Datenträger geändert.</translation>
    </message>
    <message>
        <source>Do you want to recover the unsaved changes?</source>
        <translation>Möchten Sie die ungespeicherten Änderungen wiederherstellen?</translation>
    </message>
    <message>
        <source>The unsaved changes to '%1' could not be read.<byte value="xd" />
<byte value="xd" />
%2</source>
        <translation>Die ungespeicherten Änderungen an '%1' konnten nicht gelesen werden.<byte value="xd" />
<byte value="xd" />
%2</translation>
    </message>
    <message>
        <source>A save of '%1' did not finish (it began at %2). The text the file had before that save was kept.</source>
        <translation>Ein Speichern von '%1' wurde nicht beendet (es begann %2). Der Text, den die Datei vor diesem Speichern hatte, wurde aufbewahrt.</translation>
    </message>
    <message>
        <source>Do you want to recover that text?</source>
        <translation>Möchten Sie diesen Text wiederherstellen?</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>Neu laden</translation>
    </message>
    <message>
        <source>File Already Open</source>
        <translation>Datei bereits geöffnet</translation>
    </message>
    <message>
        <source>The text in '%1' has changed.<byte value="xd" />
<byte value="xd" />
Discard the changes and reload the file from disk?</source>
        <translation>Der Text in '%1' wurde geändert.<byte value="xd" />
<byte value="xd" />
Änderungen verwerfen und die Datei neu vom Datenträger laden?</translation>
    </message>
    <message>
        <source>The file '%1' is open in another ZUNOPad window, which cannot be brought forward (there is no session bus).<byte value="xd" />
<byte value="xd" />
It is opened here read-only.</source>
        <translation>Die Datei '%1' ist in einem anderen ZUNOPad-Fenster geöffnet, das nicht nach vorn geholt werden kann (es gibt keinen Sitzungsbus).<byte value="xd" />
<byte value="xd" />
Sie wird hier schreibgeschützt geöffnet.</translation>
    </message>
</context>
<context>
    <name>FileProblems</name>
    <message>
        <source>Two spaces in a line of the Record layout with no data item after them: View &gt; List stops there.</source>
        <translation>Zwei Leerzeichen in einer Zeile der Datensatzansicht ohne Datenelement dahinter: Ansicht &gt; Liste hält dort an.</translation>
    </message>
    <message>
        <source>A data item that would not come back unchanged from the Record view.</source>
        <translation>Ein Datenelement, das nicht unverändert aus der Datensatzansicht zurückkäme.</translation>
    </message>
    <message>
        <source>A line that is not a data item (it is not empty and holds no colon): the view switch stops there.</source>
        <translation>Eine Zeile, die kein Datenelement ist (sie ist nicht leer und enthält keinen Doppelpunkt): der Ansichtswechsel hält dort an.</translation>
    </message>
    <message>
        <source>The data item '%1' on line %2 holds two spaces in a row, which the List layout reads as the gap between two items.</source>
        <translation>Das Datenelement '%1' in Zeile %2 enthält zwei Leerzeichen hintereinander, die die Listenansicht als Lücke zwischen zwei Elementen liest.</translation>
    </message>
</context>
<context>
    <name>FindReplaceCommands</name>
    <message>
        <source>Replaced '%1' with '%2' %3 time(s).</source>
        <translation>'%1' wurde %3-mal durch '%2' ersetzt.</translation>
    </message>
    <message>
        <source>Search String Not Found.</source>
        <translation>Suchbegriff nicht gefunden.</translation>
    </message>
    <message>
        <source>Invalid Regular Expression</source>
        <translation>Ungültiger regulärer Ausdruck</translation>
    </message>
    <message>
        <source>The regular expression is not valid at position %1: %2.</source>
        <translation>Der reguläre Ausdruck ist an Position %1 ungültig: %2.</translation>
    </message>
</context>
<context>
    <name>FolderWalk</name>
    <message>
        <source>cannot read the folder '%1': %2</source>
        <translation>der Ordner '%1' kann nicht gelesen werden: %2</translation>
    </message>
</context>
<context>
    <name>ItemMarks</name>
    <message>
        <source>1 problem</source>
        <translation>1 Problem</translation>
    </message>
    <message>
        <source>%1 problems</source>
        <translation>%1 Probleme</translation>
    </message>
    <message>
        <source>No problems</source>
        <translation>Keine Probleme</translation>
    </message>
</context>
<context>
    <name>LanguageServer</name>
    <message>
        <source>separated record start</source>
        <translation>abgesetzter Datensatzanfang</translation>
    </message>
    <message>
        <source>record start</source>
        <translation>Datensatzanfang</translation>
    </message>
    <message>
        <source>line start</source>
        <translation>Zeilenanfang</translation>
    </message>
    <message>
        <source>value list</source>
        <translation>Werteliste</translation>
    </message>
    <message>
        <source>item</source>
        <translation>Element</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>%1 of %2 in %3</source>
        <translation>%1 von %2 in %3</translation>
    </message>
    <message>
        <source>%1 in %2</source>
        <translation>%1 in %2</translation>
    </message>
    <message>
        <source>%1, %2 values</source>
        <translation>%1, %2 Werte</translation>
    </message>
    <message>
        <source>%1, 1 value</source>
        <translation>%1, 1 Wert</translation>
    </message>
    <message>
        <source>The message is not JSON: %1</source>
        <translation>Die Nachricht ist kein JSON: %1</translation>
    </message>
    <message>
        <source>The message is not a request or a notification.</source>
        <translation>Die Nachricht ist weder eine Anfrage noch eine Benachrichtigung.</translation>
    </message>
    <message>
        <source>The params are not an object.</source>
        <translation>Die Parameter sind kein Objekt.</translation>
    </message>
    <message>
        <source>The server has not been initialized.</source>
        <translation>Der Server wurde nicht initialisiert.</translation>
    </message>
    <message>
        <source>The server has been shut down.</source>
        <translation>Der Server wurde heruntergefahren.</translation>
    </message>
    <message>
        <source>The position is missing or not a position.</source>
        <translation>Die Position fehlt oder ist keine Position.</translation>
    </message>
    <message>
        <source>Unknown method '%1'.</source>
        <translation>Unbekannte Methode '%1'.</translation>
    </message>
    <message>
        <source>The document '%1' is not open.</source>
        <translation>Das Dokument '%1' ist nicht geöffnet.</translation>
    </message>
    <message>
        <source>The message's header has no valid Content-Length.</source>
        <translation>Der Kopf der Nachricht hat keine gültige Content-Length.</translation>
    </message>
    <message>
        <source>The message is larger than %1 bytes.</source>
        <translation>Die Nachricht ist größer als %1 Bytes.</translation>
    </message>
</context>
<context>
    <name>MemoryShortage</name>
    <message>
        <source>Not enough memory to %1.</source>
        <translation>Nicht genug Speicher, um %1.</translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>ZUNOPad</source>
        <translation>ZUNOPad</translation>
    </message>
</context>
<context>
    <name>QtPrinter</name>
    <message>
        <source>There is no default printer. Install a printer or choose one as the default printer, then print again.</source>
        <translation>Es gibt keinen Standarddrucker. Installieren Sie einen Drucker oder wählen Sie einen als Standarddrucker, und drucken Sie dann erneut.</translation>
    </message>
    <message>
        <source>The default printer "%1" cannot be used.</source>
        <translation>Der Standarddrucker „%1“ kann nicht verwendet werden.</translation>
    </message>
    <message>
        <source>A print job is already open.</source>
        <translation>Ein Druckauftrag ist bereits offen.</translation>
    </message>
    <message>
        <source>The printer "%1" reports no resolution.</source>
        <translation>Der Drucker „%1“ meldet keine Auflösung.</translation>
    </message>
    <message>
        <source>No print job is open.</source>
        <translation>Kein Druckauftrag ist offen.</translation>
    </message>
    <message>
        <source>The print job could not be started on "%1".</source>
        <translation>Der Druckauftrag konnte auf „%1“ nicht gestartet werden.</translation>
    </message>
    <message>
        <source>A new page could not be started on "%1".</source>
        <translation>Auf „%1“ konnte keine neue Seite begonnen werden.</translation>
    </message>
    <message>
        <source>The print job could not be completed on "%1".</source>
        <translation>Der Druckauftrag konnte auf „%1“ nicht abgeschlossen werden.</translation>
    </message>
</context>
<context>
    <name>QtSettingsStore</name>
    <message>
        <source>The settings were not saved: "%1" is not a regular file.</source>
        <translation>Die Einstellungen wurden nicht gespeichert: „%1“ ist keine reguläre Datei.</translation>
    </message>
    <message>
        <source>The settings were not saved to "%1": %2</source>
        <translation>Die Einstellungen wurden nicht in "%1" gespeichert: %2</translation>
    </message>
    <message>
        <source>The settings were not saved: another program holds "%1", or it is not a file of yours.</source>
        <translation>Die Einstellungen wurden nicht gespeichert: ein anderes Programm hält "%1", oder es ist keine Datei von Ihnen.</translation>
    </message>
</context>
<context>
    <name>Recovery</name>
    <message>
        <source>The recorded changes do not fit the text they were made on.</source>
        <translation>Die aufgezeichneten Änderungen passen nicht zu dem Text, an dem sie vorgenommen wurden.</translation>
    </message>
    <message>
        <source>The file the changes were made on has been changed on disk since.</source>
        <translation>Die Datei, an der die Änderungen vorgenommen wurden, wurde seitdem auf dem Datenträger geändert.</translation>
    </message>
    <message>
        <source>The recovery data is incomplete.</source>
        <translation>Die Wiederherstellungsdaten sind unvollständig.</translation>
    </message>
    <message>
        <source>It belongs to another user.</source>
        <translation>Er gehört einem anderen Benutzer.</translation>
    </message>
    <message>
        <source>It is not a folder.</source>
        <translation>Er ist kein Ordner.</translation>
    </message>
    <message>
        <source>It is not a regular file of yours.</source>
        <translation>Es ist keine reguläre Datei von Ihnen.</translation>
    </message>
    <message>
        <source>Other users may write to it.</source>
        <translation>Andere Benutzer dürfen hineinschreiben.</translation>
    </message>
    <message>
        <source>The recovery entry '%1' could not be read (%2); it was put aside as '%3'.</source>
        <translation>Der Wiederherstellungseintrag '%1' konnte nicht gelesen werden (%2); er wurde als '%3' beiseitegelegt.</translation>
    </message>
    <message>
        <source>The recovery entry '%1' has a lock that is not a file of yours; it was put aside.</source>
        <translation>Der Wiederherstellungseintrag '%1' hat eine Sperre, die keine Datei von Ihnen ist; er wurde beiseitegelegt.</translation>
    </message>
    <message>
        <source>The recovery folder '%1' is not used: %2 Unsaved changes are not kept for recovery.</source>
        <translation>Der Wiederherstellungsordner '%1' wird nicht benutzt: %2 Ungespeicherte Änderungen werden nicht für die Wiederherstellung aufbewahrt.</translation>
    </message>
</context>
<context>
    <name>TextFile</name>
    <message>
        <source>Input too large (more than %1 MiB)</source>
        <translation>Eingabe zu groß (mehr als %1 MiB)</translation>
    </message>
    <message>
        <source>File too large (more than %1 MiB)</source>
        <translation>Datei zu groß (mehr als %1 MiB)</translation>
    </message>
    <message>
        <source>Is a directory</source>
        <translation>Ist ein Ordner</translation>
    </message>
    <message>
        <source>Not a regular file: a named pipe</source>
        <translation>Keine reguläre Datei: eine benannte Pipe</translation>
    </message>
    <message>
        <source>Not a regular file: a device</source>
        <translation>Keine reguläre Datei: ein Gerät</translation>
    </message>
    <message>
        <source>Not a regular file: a socket</source>
        <translation>Keine reguläre Datei: ein Socket</translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation>Keine reguläre Datei</translation>
    </message>
    <message>
        <source> (the file's old text is kept in '%1')</source>
        <translation> (der alte Text der Datei ist in '%1' aufbewahrt)</translation>
    </message>
    <message>
        <source> (the file's old text could not be put back: %1)</source>
        <translation> (der alte Text der Datei konnte nicht zurückgelegt werden: %1)</translation>
    </message>
    <message>
        <source>The file changed while it was being read</source>
        <translation>Die Datei hat sich beim Lesen geändert</translation>
    </message>
</context>
<context>
    <name>ViewConversion</name>
    <message>
        <source>Switch to the Record view anyway?</source>
        <translation>Trotzdem zur Datensatzansicht wechseln?</translation>
    </message>
    <message>
        <source>Record View</source>
        <translation>Datensatzansicht</translation>
    </message>
</context>
<context>
    <name>modGoTo</name>
    <message>
        <source>You must enter a numeric value</source>
        <translation>Sie müssen einen Zahlenwert eingeben</translation>
    </message>
    <message>
        <source>Invalid Line Number</source>
        <translation>Ungültige Zeilennummer</translation>
    </message>
</context>
<context>
    <name>modPrint</name>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>The document cannot be printed: the margins leave no room for the text on the printer's paper.</source>
        <translation>Das Dokument kann nicht gedruckt werden: die Ränder lassen auf dem Papier des Druckers keinen Platz für den Text.</translation>
    </message>
    <message>
        <source>There is not enough memory to print the document.</source>
        <translation>Es ist nicht genug Speicher vorhanden, um das Dokument zu drucken.</translation>
    </message>
    <message>
        <source>The document could not be printed.</source>
        <translation>Das Dokument konnte nicht gedruckt werden.</translation>
    </message>
</context>
<context>
    <name>zuno::DataItemView</name>
    <message>
        <source>Line &amp;Numbers</source>
        <translation>&amp;Zeilennummern</translation>
    </message>
    <message>
        <source>Code &amp;Colours</source>
        <translation>Code&amp;farben</translation>
    </message>
    <message>
        <source>Ne&amp;xt Problem</source>
        <translation>Nächstes &amp;Problem</translation>
    </message>
    <message>
        <source>Pre&amp;vious Problem</source>
        <translation>&amp;Vorheriges Problem</translation>
    </message>
</context>
<context>
    <name>zuno::DiskChangeBar</name>
    <message>
        <source>Reload unmodified files &amp;without asking</source>
        <translation>Unveränderte Dateien &amp;ohne Nachfrage neu laden</translation>
    </message>
    <message>
        <source>Changed on Disk</source>
        <translation>Auf dem Datenträger geändert</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>&amp;Neu laden</translation>
    </message>
    <message>
        <source>&amp;Keep</source>
        <translation>&amp;Behalten</translation>
    </message>
    <message>
        <source>The file '%1' has been deleted or moved on disk.</source>
        <translation>Die Datei '%1' wurde auf dem Datenträger gelöscht oder verschoben.</translation>
    </message>
    <message>
        <source>The file '%1' has been changed on disk. Reload it and lose your changes, or keep the text in the editor?</source>
        <translation>Die Datei '%1' wurde auf dem Datenträger geändert. Neu laden und Ihre Änderungen verlieren, oder den Text im Editor behalten?</translation>
    </message>
    <message>
        <source>The file '%1' has been changed on disk.</source>
        <translation>Die Datei '%1' wurde auf dem Datenträger geändert.</translation>
    </message>
</context>
<context>
    <name>zuno::frmEditor</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As</source>
        <translation>Speichern &amp;unter</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
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
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>E&amp;infügen</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Alles a&amp;uswählen</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Ersetzen</translation>
    </message>
    <message>
        <source>&amp;Go To</source>
        <translation>&amp;Gehe zu</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;List</source>
        <translation>&amp;Liste</translation>
    </message>
    <message>
        <source>&amp;Record</source>
        <translation>&amp;Datensatz</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>&amp;Statusleiste</translation>
    </message>
    <message>
        <source>F&amp;ormat</source>
        <translation>F&amp;ormat</translation>
    </message>
    <message>
        <source>&amp;Font</source>
        <translation>&amp;Schriftart</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Schriftart</translation>
    </message>
    <message>
        <source>&amp;Clear List</source>
        <translation>Liste &amp;leeren</translation>
    </message>
    <message>
        <source>Unable to start ZUNOPad for the file '%1'.</source>
        <translation>ZUNOPad kann für die Datei '%1' nicht gestartet werden.</translation>
    </message>
    <message>
        <source>UTF-8 with BOM</source>
        <translation>UTF-8 mit BOM</translation>
    </message>
    <message>
        <source>Latin-1</source>
        <translation>Latin-1</translation>
    </message>
    <message>
        <source>UTF-8</source>
        <translation>UTF-8</translation>
    </message>
    <message>
        <source>Ln %1, Col %2</source>
        <translation>Z %1, Sp %2</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Liste</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Datensatz</translation>
    </message>
    <message>
        <source>CRLF</source>
        <translation>CRLF</translation>
    </message>
    <message>
        <source>LF</source>
        <translation>LF</translation>
    </message>
    <message>
        <source>open the file</source>
        <translation>die Datei zu öffnen</translation>
    </message>
    <message>
        <source>save the file</source>
        <translation>die Datei zu speichern</translation>
    </message>
    <message>
        <source>convert the text to the List layout</source>
        <translation>den Text in die Listenansicht umzuwandeln</translation>
    </message>
    <message>
        <source>convert the text to the Record layout</source>
        <translation>den Text in die Datensatzansicht umzuwandeln</translation>
    </message>
    <message>
        <source>The unsaved changes could not be kept for recovery: %1</source>
        <translation>Die ungespeicherten Änderungen konnten nicht für die Wiederherstellung aufbewahrt werden: %1</translation>
    </message>
    <message>
        <source>Re&amp;load</source>
        <translation>Neu &amp;laden</translation>
    </message>
    <message>
        <source>Re&amp;do</source>
        <translation>Wieder&amp;herstellen</translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation>&amp;Weitersuchen</translation>
    </message>
    <message>
        <source>Find Pre&amp;vious</source>
        <translation>Rückwärts su&amp;chen</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>Ver&amp;größern</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <source>Normal Si&amp;ze</source>
        <translation>&amp;Normalgröße</translation>
    </message>
    <message>
        <source>&amp;Fold All</source>
        <translation>Alle &amp;einklappen</translation>
    </message>
    <message>
        <source>Go To Rec&amp;ord…</source>
        <translation>Gehe zu Datensat&amp;z…</translation>
    </message>
    <message>
        <source>Nex&amp;t Record</source>
        <translation>Nä&amp;chster Datensatz</translation>
    </message>
    <message>
        <source>Previo&amp;us Record</source>
        <translation>V&amp;orheriger Datensatz</translation>
    </message>
    <message>
        <source>Pro&amp;blems</source>
        <translation>Pro&amp;bleme</translation>
    </message>
    <message>
        <source>Recor&amp;ds</source>
        <translation>Datensä&amp;tze</translation>
    </message>
    <message>
        <source>Unfold &amp;All</source>
        <translation>Alle &amp;ausklappen</translation>
    </message>
</context>
<context>
    <name>zuno::frmFindReplace</name>
    <message>
        <source>Find/Replace</source>
        <translation>Suchen/Ersetzen</translation>
    </message>
    <message>
        <source>Find What:</source>
        <translation>Suchen nach:</translation>
    </message>
    <message>
        <source>Replace With:</source>
        <translation>Ersetzen durch:</translation>
    </message>
    <message>
        <source>&amp;Find Next</source>
        <translation>&amp;Weitersuchen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Replace...</source>
        <translation>&amp;Ersetzen...</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Ersetzen</translation>
    </message>
    <message>
        <source>Replace &amp;All</source>
        <translation>A&amp;lle ersetzen</translation>
    </message>
    <message>
        <source>Match whole word only</source>
        <translation>Nur ganzes Wort</translation>
    </message>
    <message>
        <source>Match case</source>
        <translation>Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>In &amp;selection</source>
        <translation>In der Au&amp;swahl</translation>
    </message>
    <message>
        <source>Regular e&amp;xpression</source>
        <translation>Regulärer Ausdr&amp;uck</translation>
    </message>
</context>
<context>
    <name>zuno::frmGoToLine</name>
    <message>
        <source>Go To Line</source>
        <translation>Gehe zu Zeile</translation>
    </message>
    <message>
        <source>Line Number:</source>
        <translation>Zeilennummer:</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>zuno::ProblemsModel</name>
    <message>
        <source>Line %1, %2: %3</source>
        <translation>Zeile %1, %2: %3</translation>
    </message>
    <message>
        <source>error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>Warnung</translation>
    </message>
</context>
<context>
    <name>zuno::RecordMatchesModel</name>
    <message>
        <source>Line %1</source>
        <translation>Zeile %1</translation>
    </message>
</context>
<context>
    <name>zuno::RecordsModel</name>
    <message>
        <source>File head</source>
        <translation>Dateikopf</translation>
    </message>
    <message>
        <source>Line %1</source>
        <translation>Zeile %1</translation>
    </message>
    <message>
        <source>Line item %1</source>
        <translation>Linienelement %1</translation>
    </message>
    <message>
        <source>Record %1</source>
        <translation>Datensatz %1</translation>
    </message>
    <message>
        <source>Separated record %1</source>
        <translation>Getrennter Datensatz %1</translation>
    </message>
    <message>
        <source>Separated record, %1</source>
        <translation>Getrennter Datensatz, %1</translation>
    </message>
</context>
<context>
    <name>zuno::RecordsView</name>
    <message>
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Filter records</source>
        <translation>Datensätze filtern</translation>
    </message>
    <message>
        <source>Problems</source>
        <translation>Probleme</translation>
    </message>
    <message>
        <source>Problems (%1)</source>
        <translation>Probleme (%1)</translation>
    </message>
    <message>
        <source>Records</source>
        <translation>Datensätze</translation>
    </message>
</context>
<context>
    <name>zuno::frmGoToRecord</name>
    <message>
        <source>%1 records</source>
        <translation>%1 Datensätze</translation>
    </message>
    <message>
        <source>&amp;Go To</source>
        <translation>&amp;Gehe zu</translation>
    </message>
    <message>
        <source>&amp;Record number or name:</source>
        <translation>&amp;Datensatznummer oder Name:</translation>
    </message>
    <message>
        <source>1 record</source>
        <translation>1 Datensatz</translation>
    </message>
    <message>
        <source>Go To Record</source>
        <translation>Gehe zu Datensatz</translation>
    </message>
    <message>
        <source>Matches</source>
        <translation>Treffer</translation>
    </message>
    <message>
        <source>Matching records</source>
        <translation>Passende Datensätze</translation>
    </message>
    <message>
        <source>No record matches "%1".</source>
        <translation>Kein Datensatz passt zu "%1".</translation>
    </message>
    <message>
        <source>Record number or name</source>
        <translation>Datensatznummer oder Name</translation>
    </message>
    <message>
        <source>Type an AC value or part of a name.</source>
        <translation>Geben Sie einen AC-Wert oder einen Teil eines Namens ein.</translation>
    </message>
</context>
<context>
    <name>zuno::HistoryField</name>
    <message>
        <source>Earlier texts</source>
        <translation>Frühere Texte</translation>
    </message>
</context>
<context>
    <name>zuno::MatchHighlight</name>
    <message>
        <source>%1 matches</source>
        <translation>%1 Treffer</translation>
    </message>
    <message>
        <source>1 match</source>
        <translation>1 Treffer</translation>
    </message>
    <message>
        <source>more than %1</source>
        <translation>mehr als %1</translation>
    </message>
</context>
</TS>