<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>AccessibleEditor</name>
    <message>
        <source>Editor</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CheckCommand</name>
    <message>
        <source>unknown report format &apos;%1&apos; (text, json or sarif)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--check needs at least one FILE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(standard input)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot read standard input: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot read &apos;%1&apos;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
Try &apos;zunopad --help&apos; for more information.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot write the output: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CheckReport</name>
    <message>
        <source>%1: OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Not enough memory to convert the file.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ConversionMessages</name>
    <message>
        <source>Unexpected data &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid ZUNO Data Item &apos;%1&apos; on line %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the item &apos;%1&apos; would be added after it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>saving from the Record view would stop with the warning &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it would come back as several items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it would come back as &apos;%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it would be lost</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it holds two spaces in a row, which the List layout reads as the gap between two items, so %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The data item &apos;%1&apos; on line %2 would not come back unchanged from the Record view: %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Converter</name>
    <message>
        <source>%1 needs exactly one FILE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(standard input)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot read standard input: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot read &apos;%1&apos;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot write the output: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
Try &apos;zunopad --help&apos; for more information.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>zunopad: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot read the input: it was cut short while being read</source>
        <translation type="unfinished"></translation>
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
(over the session bus; without one it is opened read-only). The editor&apos;s keys
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
input&apos;s encoding and line endings. Exit status: 0 on success, 1 when the data
is invalid (--check: an error was found), 2 when a file cannot be read, the
output cannot be written or the command is wrong.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--output needs a FILE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--output goes with --to-record or --to-list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot write &apos;%1&apos;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the output was not taken back: another program has written to the file meanwhile</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EditorApplication</name>
    <message>
        <source>complete the command</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EditorModule</name>
    <message>
        <source>%1 was not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot start the editor: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EditorShell</name>
    <message>
        <source>The file &apos;%1&apos; could not be read.<byte value="xd"/>
<byte value="xd"/>
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file &apos;%1&apos; could not be saved.<byte value="xd"/>
<byte value="xd"/>
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file &apos;%1&apos; could not be saved in the folder &apos;%2&apos;.<byte value="xd"/>
<byte value="xd"/>
%3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file &apos;%1&apos; has been changed on disk since it was opened.<byte value="xd"/>
<byte value="xd"/>
Overwrite it with the text in the editor?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file &apos;%1&apos; doesn&apos;t exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to load the file %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Does Not Exist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to load the file %1.<byte value="xd"/>
<byte value="xd"/>
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to Load File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Untitled File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The text in &apos;%1&apos; has changed.<byte value="xd"/>
<byte value="xd"/>
Do you want to save the changes?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Changes?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open ZUNO File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ZUNO Pad</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ZUNOPad File Editor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> - ZUNOPad File Editor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ZUNO Project File (*.PRJ)|*.PRJ|ZUNO Control File (*.CTL)|*.CTL|ZUNO Points and Chains File (*.PAC)|*.PAC|ZUNO Calculated File (*.CAL)|*.CAL|ZUNO Editted Project File (*.EDI)|*.EDI|ZUNO Horizontal Alignment File (*.ALI)|*.ALI|ZUNO Vertical Alignment File (*.PRO)|*.PRO|ZUNO Superelevation File (*.SUP)|*.SUP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Changed on Disk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recover Unsaved Changes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ZUNOPad ended before the changes to &apos;%1&apos; were saved. They were kept as they were at the last change, %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file has been changed on disk since then.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to recover the unsaved changes?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The unsaved changes to &apos;%1&apos; could not be read.<byte value="xd"/>
<byte value="xd"/>
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A save of &apos;%1&apos; did not finish (it began at %2). The text the file had before that save was kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to recover that text?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Already Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The text in &apos;%1&apos; has changed.<byte value="xd"/>
<byte value="xd"/>
Discard the changes and reload the file from disk?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file &apos;%1&apos; is open in another ZUNOPad window, which cannot be brought forward (there is no session bus).<byte value="xd"/>
<byte value="xd"/>
It is opened here read-only.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The unsaved changes could not be kept for recovery: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If ZUNOPad ends before they are saved, they are lost. Free some space or save the document.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileProblems</name>
    <message>
        <source>Two spaces in a line of the Record layout with no data item after them: View &gt; List stops there.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A data item that would not come back unchanged from the Record view.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A line that is not a data item (it is not empty and holds no colon): the view switch stops there.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The data item &apos;%1&apos; on line %2 holds two spaces in a row, which the List layout reads as the gap between two items.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FindReplaceCommands</name>
    <message>
        <source>Replaced &apos;%1&apos; with &apos;%2&apos; %3 time(s).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search String Not Found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The regular expression is not valid at position %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid Regular Expression</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FolderWalk</name>
    <message>
        <source>cannot read the folder &apos;%1&apos;: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ItemMarks</name>
    <message>
        <source>1 problem</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 problems</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No problems</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LanguageServer</name>
    <message>
        <source>separated record start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>record start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>line start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>value list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 in %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 in %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, %2 values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, 1 value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The message is not JSON: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The message is not a request or a notification.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The params are not an object.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server has not been initialized.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server has been shut down.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The position is missing or not a position.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown method &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The document &apos;%1&apos; is not open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The message&apos;s header has no valid Content-Length.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The message is larger than %1 bytes.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MemoryShortage</name>
    <message>
        <source>Not enough memory to %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>ZUNOPad</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QtPrinter</name>
    <message>
        <source>There is no default printer. Install a printer or choose one as the default printer, then print again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The default printer &quot;%1&quot; cannot be used.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A print job is already open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The printer &quot;%1&quot; reports no resolution.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No print job is open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The print job could not be started on &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A new page could not be started on &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The print job could not be completed on &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QtSettingsStore</name>
    <message>
        <source>The settings were not saved: &quot;%1&quot; is not a regular file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The settings were not saved: another program holds &quot;%1&quot;, or it is not a file of yours.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The settings were not saved to &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Recovery</name>
    <message>
        <source>The recovery data is incomplete.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It is not a regular file of yours.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It is not a folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It belongs to another user.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other users may write to it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recovery folder &apos;%1&apos; is not used: %2 Unsaved changes are not kept for recovery.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recovery entry &apos;%1&apos; has a lock that is not a file of yours; it was put aside.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recovery entry &apos;%1&apos; could not be read (%2); it was put aside as &apos;%3&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file the changes were made on has been changed on disk since.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recorded changes do not fit the text they were made on.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TextFile</name>
    <message>
        <source>Input too large (more than %1 MiB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File too large (more than %1 MiB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Is a directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a regular file: a named pipe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a regular file: a device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a regular file: a socket</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (the file&apos;s old text is kept in &apos;%1&apos;)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (the file&apos;s old text could not be put back: %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file changed while it was being read</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ViewConversion</name>
    <message>
        <source>Switch to the Record view anyway?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record View</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>modGoTo</name>
    <message>
        <source>You must enter a numeric value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid Line Number</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>modPrint</name>
    <message>
        <source>Untitled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The document cannot be printed: the margins leave no room for the text on the printer&apos;s paper.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is not enough memory to print the document.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The document could not be printed.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zuno::DataItemView</name>
    <message>
        <source>Line &amp;Numbers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Code &amp;Colours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ne&amp;xt Problem</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pre&amp;vious Problem</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zuno::DiskChangeBar</name>
    <message>
        <source>Reload unmodified files &amp;without asking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Changed on Disk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Keep</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file &apos;%1&apos; has been deleted or moved on disk.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file &apos;%1&apos; has been changed on disk. Reload it and lose your changes, or keep the text in the editor?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file &apos;%1&apos; has been changed on disk.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zuno::HistoryField</name>
    <message>
        <source>Earlier texts</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zuno::MatchHighlight</name>
    <message>
        <source>more than %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 match</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 matches</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zuno::ProblemsModel</name>
    <message>
        <source>error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1, %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zuno::RecordMatchesModel</name>
    <message>
        <source>Line %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zuno::RecordsModel</name>
    <message>
        <source>File head</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line item %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Separated record %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Separated record, %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zuno::RecordsView</name>
    <message>
        <source>Filter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter records</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Records</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Problems</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Problems (%1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zuno::frmEditor</name>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Go To</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F&amp;ormat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Clear List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to start ZUNOPad for the file &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UTF-8 with BOM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Latin-1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UTF-8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ln %1, Col %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CRLF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>open the file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>save the file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>convert the text to the List layout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>convert the text to the Record layout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;load</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;do</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find Pre&amp;vious</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Normal Si&amp;ze</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go To Rec&amp;ord…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recor&amp;ds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pro&amp;blems</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nex&amp;t Record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previo&amp;us Record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Fold All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unfold &amp;All</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zuno::frmFindReplace</name>
    <message>
        <source>Find/Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find What:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace With:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Replace...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace &amp;All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Match whole word only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Match case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regular e&amp;xpression</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In &amp;selection</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zuno::frmGoToLine</name>
    <message>
        <source>Go To Line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line Number:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zuno::frmGoToRecord</name>
    <message>
        <source>Go To Record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Record number or name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record number or name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Matching records</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Matches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Go To</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type an AC value or part of a name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No record matches &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 records</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
