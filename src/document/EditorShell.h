#pragma once
// The document's life in the main window: start-up, fitting the window to
// the text, the file commands with the save prompt, closing, and the two
// views. Works only through the seam and ITextFiles, so the tests drive it
// with doubles and files in a folder of their own.
#include "document/RecordViewSave.h"
#include "platform/EditControl.h"
#include "platform/FileDialogs.h"
#include "platform/MainWindow.h"
#include "platform/MessageBox.h"
#include "platform/PeerWindows.h"
#include "platform/Settings.h"
#include "recovery/RecoveryStore.h"
#include "textfile/TextFiles.h"

#include <QCoreApplication>

#include <functional>
#include <optional>

namespace zuno {

inline QString editorTitle() { return QCoreApplication::translate("EditorShell", "ZUNOPad File Editor"); }
// The caption of a document: its file's name and this.
inline QString captionSuffix() { return QCoreApplication::translate("EditorShell", " - ZUNOPad File Editor"); }
inline const QString SettingsApplication = QStringLiteral("ZUNOPad");
inline const QString SettingsSection = QStringLiteral("StartupPosition");

// The file types both file dialogs offer.
inline QString zunoFileFilter()
{
    return QCoreApplication::translate(
        "EditorShell",
        "ZUNO Project File (*.PRJ)|*.PRJ|ZUNO Control File (*.CTL)|*.CTL|"
        "ZUNO Points and Chains File (*.PAC)|*.PAC|ZUNO Calculated File (*.CAL)|*.CAL|"
        "ZUNO Editted Project File (*.EDI)|*.EDI|ZUNO Horizontal Alignment File (*.ALI)|*.ALI|"
        "ZUNO Vertical Alignment File (*.PRO)|*.PRO|ZUNO Superelevation File (*.SUP)|*.SUP");
}

struct EditorServices {
    IEditControl &editor;
    IMainWindow &window;
    IMessageBox &messages;
    ISettingsStore &settings;
    IFileDialogs &fileDialogs;
    ITextFiles &files;
};

// The path named by the command-line argument text: every double quote
// removed, nothing else touched.
QString pathFromArgument(const QString &argumentText);
// The file's name without its folder ("/" or "\" ends a folder).
QString fileTitleOf(const QString &path);
// A stored position: the text of a number, or 0 when it is not one.
float readStoredNumber(const QString &text);
// A position as it is stored: the text of a single-precision number.
QString storedNumberText(double value);

// The document's file as the document last read or wrote it: how its text
// was encoded (a save writes it back the same way) and what was on disk
// then. Where the file is, is the edit control's file name: the one place
// that holds the document's path.
struct DiskFile {
    TextFileFormat format;
    FileStamp stamp;
};

// Loads `path` into the editor and answers what was read. An empty path
// empties the text (and answers an empty DiskFile); a path that is missing
// or cannot be read gets a warning, leaves the editor as it was and answers
// FileNotLoaded.
struct FileNotLoaded {};
Result<DiskFile, FileNotLoaded> LoadTextFile(const QString &path, IEditControl &editor, IMessageBox &messages,
                                             const ITextFiles &files);

// The question asked before a save writes over a file that someone else
// has changed since the document read or last wrote it.
QString changedOnDiskQuestion(const QString &path);
inline QString changedOnDiskTitle() { return QCoreApplication::translate("EditorShell", "File Changed on Disk"); }

// The question asked before a reload discards unsaved changes.
QString reloadQuestion(const QString &path);
inline QString reloadTitle() { return QCoreApplication::translate("EditorShell", "Reload"); }

// The warning given when a file another window holds cannot be brought
// forward there and is opened read-only.
QString heldElsewhereMessage(const QString &path);
// The status bar's words when the recovery data could not be written.
QString recoveryFailedMessage(const QString &reason);
inline QString heldElsewhereTitle() { return QCoreApplication::translate("EditorShell", "File Already Open"); }

class EditorShell {
    Q_DECLARE_TR_FUNCTIONS(EditorShell)

public:
    explicit EditorShell(const EditorServices &services) : m(services) {}

    void formLoad(const QString &argumentText);
    void fitWindowToText();

    // The save prompt: true when the caller may go on.
    bool saveChanges();
    void fileNew();
    void fileOpen();
    bool fileSave();
    bool fileSaveAs();
    // Closing: false keeps the window open.
    bool formUnload();

    void viewList();
    void viewRecord();
    void helpAbout();

    // Loads `path` as File > Open does once the file is chosen (no save
    // prompt): the List view, the fitted width, no changes.
    bool openFile(const QString &path);
    // File > Reload (EditorShellReload.cpp): the document's file read again,
    // in the same view, the caret kept; asks first when there are unsaved
    // changes. False when nothing was read (untitled, declined, unreadable).
    bool reloadFile();
    // Whether the document's file on disk is still what the document last
    // read or wrote (Unchanged for an untitled document).
    DiskState diskState() const;

    // Recovery of unsaved changes (EditorShellRecovery.cpp). What the
    // recovery data keeps of the document now; nothing when it has no
    // unsaved changes. The text is copied into `buffer`.
    std::optional<RecoveryData> recoverySnapshot(QByteArray buffer = QByteArray()) const;
    // At start, before the window takes input: offers the recovery data of
    // the document just loaded (with no file named, the latest of any), and
    // what an unfinished save of its file kept.
    void offerRecovery(RecoveryStore &store, const QString &argumentText);
    // Told whenever the document is left without unsaved changes.
    void setOnSettled(std::function<void()> settled) { m_settled = std::move(settled); }
    // What the text the document now shows can be had from without a copy
    // of it, for the recovery journal: its file as read (unmodified), the
    // empty text (untitled) or nothing known.
    std::optional<RecoveryData> recoveryBase() const;
    // Told each new base of the text: one recoveryBase() answers, or a
    // text the document holds anyway (a view's converted text, a recovered
    // one), shared.
    void setOnNewBase(std::function<void(const RecoveryData &)> newBase) { m_newBase = std::move(newBase); }
    // The recovery data could not be written: the first time in a message
    // box (the status bar tells each time, recoveryFailedMessage).
    void recoveryWriteFailed(const QString &reason);
    // Told the size in bytes of each text that replaces the document's by
    // Open or New (the process's memory policy listens).
    void setOnNewText(std::function<void(qint64 bytes)> newText) { m_newText = std::move(newText); }

    // The other ZUNOPad windows: a file one of them holds is brought forward
    // there instead of opened here (EditorShellReload.cpp).
    void setPeers(IPeerWindows *peers) { m_peers = peers; }

    bool isRecordView() const { return !m.window.isListViewChecked(); }
    // What is known of the Record text's pieces for the next save; told of
    // every change of the text by whoever owns the edit control.
    RecordViewPieces &recordPieces() { return m_pieces; }
    // The document's file as last read or written.
    const DiskFile &diskFile() const { return m_disk; }
    // The document's file; empty for an untitled document.
    QString filePath() const { return m.editor.fileName(); }

private:
    bool saveTo(const QString &path, bool reloadAfterWrite);
    // Whether a save may write over `path`: asks when it is the document's
    // file and someone else has changed it on disk since.
    bool mayWriteOver(const QString &path);
    // Whether `path` is the document's file and someone else has changed
    // it on disk since it was last read or written.
    bool changedOnDisk(const QString &path) const;
    // After a save from the Record view: the Record layout of the List text
    // written (`reread` when Save As read it back), or nothing when the
    // editor shows it already. One that cannot be had switches to the List
    // view and answers the List text.
    std::optional<QByteArray> recordViewAfterSave(const QString &path, std::optional<QByteArray> reread);
    void showListView();
    void showRecordView();
    void switchView(bool toRecord);
    void settled();
    bool offerEntry(RecoveryStore &store, const RecoveryEntry &entry);
    bool offerBackup(const QString &backup, const QString &path);
    // Offers the backups that killed saves of `path` left, until one is
    // taken: at start and whenever the file is opened.
    void offerBackups(const QString &path);
    void showRecovered(const RecoveryData &data);
    // Whether `path` may be opened here: nothing when another window holds
    // it and came forward; else whether it must be read-only.
    std::optional<bool> mayOpenHere(const QString &path);
    // After a load: the text read-only or not, and why.
    void showHeld(const QString &path, bool readOnly);

    EditorServices m;
    FileDialogSettings m_cdlEditor;
    DiskFile m_disk;
    void announceBase();
    void announceTextBase(const QByteArray &text);

    std::function<void()> m_settled;
    std::function<void(const RecoveryData &)> m_newBase;
    // The text is what the document's file gives when it is read again.
    bool m_textIsFile = false;
    bool m_recoveryFailureTold = false;
    std::function<void(qint64)> m_newText;
    // The backup of an unfinished save whose text the document took: it
    // goes once the document is saved or its changes are discarded.
    QString m_recoveredBackup;
    IPeerWindows *m_peers = nullptr;
    RecordViewPieces m_pieces;
};

} // namespace zuno
