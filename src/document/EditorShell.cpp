#include "document/EditorShell.h"

#include "format/ConversionMessages.h"
#include "document/DialogFolder.h"
#include "document/RecordViewSave.h"
#include "document/RecoveryFeed.h"
#include "document/ViewConversion.h"
#include "format/Conversion.h"
#include "platform/Units.h"
#include "textfile/TextFile.h"

#include "Version.h"

#include "textfile/FileNames.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace zuno {

namespace {

const QString TopKey = QStringLiteral("Top");
const QString LeftKey = QStringLiteral("Left");

// Width of the narrowed window, in twips: 18 cells and the frame.
constexpr double NarrowWindowTwips = 2280;
constexpr double NarrowEditorCells = 18;
// Pixels taken as the width of one character, and the cells added.
constexpr double PixelsPerCharacter = 7.9;
constexpr double ExtraCells = 3;

QString cannotReadMessage(const QString &path, const QString &reason)
{
    return EditorShell::tr("The file '%1' could not be read.\r\n\r\n%2").arg(path, reason);
}

QString cannotSaveMessage(const QString &path, const TextFileError &error)
{
    if (error.folder.isEmpty())
        return EditorShell::tr("The file '%1' could not be saved.\r\n\r\n%2").arg(path, error.message);
    return EditorShell::tr("The file '%1' could not be saved in the folder '%2'.\r\n\r\n%3")
        .arg(path, error.folder, error.message);
}

// Reads the file into the editor; on failure the editor is left as it was.
Result<DiskFile, TextFileError> readInto(IEditControl &editor, const ITextFiles &files, const QString &path)
{
    // A file whose bytes are its text goes to the editor a piece at a time
    // as it is read, and is never held whole beside it; the editor shows
    // its old text until the last piece is in.
    std::unique_ptr<WholeTextPieces> pieces;
    auto read = files.read(path, [&](qint64 size, QByteArrayView piece) {
        if (!pieces)
            pieces = editor.takeWholeTextInPieces(size);
        return pieces->append(piece);
    });
    if (!read.ok())
        return read.error();
    TextFileContent &content = read.value();
    if (pieces && content.handedOver) {
        pieces->finish();
    } else {
        // Pieces taken before the file turned out to need decoding go first.
        pieces.reset();
        editor.setUtf8Text(content.text);
    }
    // A large file's text is held once, by the editor.
    content.text = QByteArray();
    editor.setFileName(path);
    return DiskFile{content.format, std::move(content.stamp)};
}

} // namespace

QString pathFromArgument(const QString &argumentText)
{
    QString path = argumentText;
    path.remove(QLatin1Char('"'));
    return path;
}

QString fileTitleOf(const QString &path)
{
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return displayedFileName(path.mid(slash + 1));
}

float readStoredNumber(const QString &text)
{
    bool ok = false;
    const float value = text.trimmed().toFloat(&ok);
    return ok && std::isfinite(value) ? value : 0.0f;
}

QString storedNumberText(double value)
{
    return QString::number(double(float(value)), 'g', 7);
}

Result<DiskFile, FileNotLoaded> LoadTextFile(const QString &path, IEditControl &editor, IMessageBox &messages,
                                             const ITextFiles &files)
{
    if (path.isEmpty()) {
        editor.setUtf8Text({});
        return DiskFile{};
    }
    if (!files.exists(path)) {
        showWarning(messages, EditorShell::tr("The file '%1' doesn't exist.").arg(path));
        return FileNotLoaded{};
    }
    auto read = readInto(editor, files, path);
    if (!read.ok()) {
        showWarning(messages, cannotReadMessage(path, read.error().message));
        return FileNotLoaded{};
    }
    return std::move(read).value();
}

// ---------------------------------------------------------------- start-up

void EditorShell::formLoad(const QString &argumentText)
{
    if (!argumentText.isEmpty()) {
        const QString path = pathFromArgument(argumentText);
        const std::optional<bool> readOnly = m.files.exists(path) ? mayOpenHere(path) : false;
        if (!readOnly) {
            // Another window holds the file and stands in front: this one
            // starts untitled.
        } else if (!m.files.exists(path)) {
            showWarning(m.messages,
                        tr("Unable to load the file %1.").arg(argumentText), tr("File Does Not Exist"));
        } else if (auto read = readInto(m.editor, m.files, path); !read.ok()) {
            // A folder, or a file we may not read: say why, and start untitled.
            showWarning(m.messages,
                        tr("Unable to load the file %1.\r\n\r\n%2").arg(argumentText, read.error().message),
                        tr("Unable to Load File"));
        } else {
            m_disk = std::move(read).value();
            showHeld(path, *readOnly);
            m.window.setCaption(fileTitleOf(path) + captionSuffix());
            m.editor.setModified(false);
            m_textIsFile = true;
            m.window.documentNamed(path);
        }
    }
    announceBase();

    m.window.setTop(readStoredNumber(
        m.settings.read(SettingsApplication, SettingsSection, TopKey, QStringLiteral("0"))));
    m.window.setLeft(readStoredNumber(
        m.settings.read(SettingsApplication, SettingsSection, LeftKey, QStringLiteral("0"))));
    fitWindowToText();
}

void EditorShell::fitWindowToText()
{
    if (m.window.windowState() != WindowState::Normal)
        return;
    // The width the widest line needs does not depend on the window's own
    // width, so it is worked out first and the window is resized once:
    // narrow (18 cells, or what shows the menus and the status bar whole)
    // unless the text asks for more.
    double floorTwips = NarrowWindowTwips;
    if (const std::optional<double> least = m.window.leastWidth())
        floorTwips = std::max(floorTwips, *least);
    const double floorCells = (floorTwips - CellWidthTwips) / CellWidthTwips;
    double cells = floorCells;
    if (const std::optional<int> scrollWidth = m.window.editorScrollWidth()) {
        const double wanted = *scrollWidth / PixelsPerCharacter + ExtraCells;
        if (wanted * CellWidthTwips + CellWidthTwips > floorTwips)
            cells = wanted;
    }
    // Never wider than the screen the window stands on: past that, the text
    // scrolls.
    const std::optional<double> available = m.window.availableWidth();
    if (available)
        cells = std::min(cells, (*available - CellWidthTwips) / CellWidthTwips);
    if (cells == floorCells) {
        m.window.setEditorWidthCells(floorCells);
        m.window.setWidth(floorTwips);
    } else {
        m.window.setEditorWidthCells(float(cells));
        // The control may round the width it keeps, up as well as down.
        double width = m.window.editorWidthCells() * CellWidthTwips + CellWidthTwips;
        if (available)
            width = std::min(width, *available);
        m.window.setWidth(width);
    }
    m.window.keepOnScreen();
}

// ------------------------------------------------------------ file commands

bool EditorShell::saveChanges()
{
    if (!m.editor.isModified())
        return true;
    const QString name = m.editor.fileName().isEmpty() ? tr("Untitled File") : m.editor.fileName();
    const QString prompt = tr("The text in '%1' has changed.\r\n\r\nDo you want to save the changes?").arg(name);
    switch (m.messages.show(prompt, MessageButtons::YesNoCancel, MessageIcon::None,
                            tr("Save Changes?"))) {
    case MessageResult::Yes:
        // Only a document that really reached the disk lets the caller go on.
        return fileSave();
    case MessageResult::No:
        return true;
    default:
        return false;
    }
}

bool EditorShell::fileSave()
{
    // An untitled document has nowhere to go yet: ask for a name.
    if (m.editor.fileName().isEmpty())
        return fileSaveAs();
    return saveTo(m.editor.fileName(), false);
}

bool EditorShell::fileSaveAs()
{
    m_cdlEditor.title = tr("Save As");
    m_cdlEditor.filter = zunoFileFilter();
    m_cdlEditor.folder = dialogFolder(m.editor.fileName(), m_cdlEditor.fileName, m_cdlEditor.folder);
    m_cdlEditor.fileName.clear();
    m_cdlEditor.options = FileDialogOption::ConfirmOverwrite;
    const FileDialogResult chosen = m.fileDialogs.showSave(m_cdlEditor);
    if (!chosen.ok())
        return false;
    if (!saveTo(chosen.value().path, true))
        return false;
    m.window.setCaption(chosen.value().fileTitle + captionSuffix());
    m.window.documentNamed(chosen.value().path);
    return true;
}

// The save sequence. The file always receives the List layout. Nothing in
// the editor changes until the file is written: a conversion that stops at
// an invalid line, or a write that fails, leaves the text, the view, the
// modified flag and the file as they were. Afterwards the editor shows the
// written text in the view it was saved from; when that is what it already
// shows, the text is left alone (and with it the undo history).
bool EditorShell::saveTo(const QString &path, bool reloadAfterWrite)
{
    const bool recordView = isRecordView();
    // A conversion fault is told before the question whether to write over
    // a file changed on disk, so the Record text is checked first then.
    if (recordView && changedOnDisk(path)) {
        BusyPointer busy(m.window);
        if (const auto list = convertToListLayout(m.editor.utf8Text(), [](QByteArrayView) {}); !list.ok()) {
            showWarning(m.messages, conversionWarning(list.error()), conversionWarningTitle());
            return false;
        }
    }
    if (!mayWriteOver(path))
        return false;

    // The List text goes to the file from the edit control's own UTF-8
    // bytes, read in place: in the List view as they are, in the Record view
    // converted a piece at a time as they are written. A large text is not
    // held again. A file that vanished while open comes back as it was made.
    const FileStamp was = path == m.editor.fileName() ? m_disk.stamp : FileStamp{};
    // The Record layout of what is written, as found beside the write.
    RecordComingBack back{RecordComingBack::Kind::Unknown, {}, {}};
    auto write = [&]() -> Result<WrittenText, TextFileError> {
        if (!recordView)
            return m.files.write(path, m.editor.utf8Text(), m_disk.format, was);
        BusyPointer busy(m.window);
        ListLayoutSave save = saveListLayout(m.files, path, m.editor, m_pieces, m_disk.format, was);
        if (save.fault)
            showWarning(m.messages, conversionWarning(*save.fault), conversionWarningTitle());
        back = std::move(save.back);
        return std::move(save.written);
    }();
    if (!write.ok()) {
        if (!write.error().abandoned)
            showWarning(m.messages, cannotSaveMessage(path, write.error()));
        return false;
    }
    m_disk = DiskFile{write.value().format, write.value().stamp};
    m_textIsFile = recordView || reloadAfterWrite || readsBackAsItIs(m.editor.utf8Text(), m_disk.format);

    // What the editor is to show, when it is not the text it holds.
    std::optional<QByteArray> shown;
    if (reloadAfterWrite) {
        // Save As shows what is now in the new file and takes its name.
        auto reread = m.files.read(path);
        if (reread.ok()) {
            shown = std::move(reread.value().text);
            m_disk = DiskFile{reread.value().format, reread.value().stamp};
        }
        m.editor.setFileName(path);
    }
    // Save As, and a Record text not compared as it was written, read the file.
    if (recordView && (reloadAfterWrite || back.kind == RecordComingBack::Kind::Unknown))
        shown = recordViewAfterSave(path, std::move(shown));
    else if (back.kind == RecordComingBack::Kind::Differs)
        shown = std::move(back.text);
    // A text that is already shown is left alone, and with it the undo
    // history.
    if (shown && QByteArrayView(*shown) != m.editor.utf8Text())
        m.editor.setUtf8Text(*shown);
    // What the save did not find of the Record text shown is looked for.
    if (isRecordView())
        m_pieces.find(m.editor.utf8Text(), m.editor.pinText());
    m.editor.setModified(false);
    settled();
    return true;
}

void EditorShell::fileOpen()
{
    if (!saveChanges())
        return;
    m_cdlEditor.defaultExtension = QStringLiteral(".PRJ");
    m_cdlEditor.title = tr("Open ZUNO File");
    m_cdlEditor.filter = zunoFileFilter();
    m_cdlEditor.filterIndex = 1;
    m_cdlEditor.options = FileDialogOption::FileMustExist;
    m_cdlEditor.folder = dialogFolder(m.editor.fileName(), m_cdlEditor.fileName, m_cdlEditor.folder);
    const FileDialogResult chosen = m.fileDialogs.showOpen(m_cdlEditor);
    if (!chosen.ok())
        return;
    if (openFile(chosen.value().path))
        m.window.setCaption(chosen.value().fileTitle + captionSuffix());
}

bool EditorShell::openFile(const QString &path)
{
    const std::optional<bool> readOnly = mayOpenHere(path);
    if (!readOnly)
        return false;
    // A file that cannot be loaded leaves the document and its view alone.
    auto loaded = LoadTextFile(path, m.editor, m.messages, m.files);
    if (!loaded.ok())
        return false;
    m_disk = std::move(loaded).value();
    m_textIsFile = true;
    showHeld(path, *readOnly);
    showListView();
    fitWindowToText();
    m.editor.setModified(false);
    m.window.documentNamed(path);
    settled();
    if (m_newText)
        m_newText(m.editor.utf8Text().size());
    // However it was opened, a file that a killed save tore comes with the
    // offer of the text it had before.
    offerBackups(path);
    return true;
}

void EditorShell::fileNew()
{
    if (!saveChanges())
        return;
    m.editor.setUtf8Text({});
    m.editor.setReadOnly(false);
    m.editor.setFileName(QString());
    m_disk = DiskFile{};
    m_textIsFile = false;
    m.editor.setModified(false);
    settled();
    if (m_newText)
        m_newText(0);
    showListView();
    m.window.setCaption(editorTitle());
}

bool EditorShell::formUnload()
{
    if (!saveChanges())
        return false;
    settled();
    if (m.window.windowState() != WindowState::Minimized) {
        m.settings.write(SettingsApplication, SettingsSection, TopKey, storedNumberText(m.window.top()));
        m.settings.write(SettingsApplication, SettingsSection, LeftKey, storedNumberText(m.window.left()));
    }
    return true;
}

// ------------------------------------------------------------------- views

void EditorShell::showListView()
{
    m.window.setListViewChecked(true);
    m.window.setRecordViewChecked(false);
}

// Once the Record text is shown, the pieces that come back from their List
// layout as they are are looked for.
void EditorShell::showRecordView()
{
    m.window.setRecordViewChecked(true);
    m.window.setListViewChecked(false);
    m_pieces.find(m.editor.utf8Text(), m.editor.pinText());
}

// A view switch is no edit: the modified flag keeps its value. When the
// conversion stops at an invalid line, or the user keeps the List view of a
// text that would not come back from the Record view unchanged, the check
// mark stays where it was, so the View menu always names the layout the
// text is in.
void EditorShell::switchView(bool toRecord)
{
    if (toRecord ? m.window.isRecordViewChecked() : m.window.isListViewChecked())
        return;
    BusyPointer busy(m.window);
    const bool wasModified = m.editor.isModified();
    QByteArray shown;
    const bool converted = toRecord ? ConvertToRecordViewChecked(m.editor, m.messages, &shown)
                                    : ConvertToListView(m.editor, m.messages, &shown);
    fitWindowToText();
    // A stopped switch left the text and its history alone: the flag is
    // still right, and setting it would lose Undo's way back to the saved
    // text.
    if (converted) {
        toRecord ? showRecordView() : showListView();
        m.editor.setModified(wasModified);
        m_textIsFile = false;
        announceTextBase(shown);
    }
}

void EditorShell::viewRecord() { switchView(true); }
void EditorShell::viewList() { switchView(false); }

void EditorShell::helpAbout()
{
    m.messages.show(aboutText(), MessageButtons::Ok, MessageIcon::Information, tr("ZUNO Pad"));
}

} // namespace zuno
