#pragma once
// What is kept of a document with unsaved changes, so that a later start
// can put it back: its text as the editor showed it, the file it belongs to
// and what that file was when the document read it, the view and the caret.
// The text is a base and the journal of the edits made on it since
// (RecoveryJournal.h); the base is a text of its own, the empty text, or
// the document's file as it was read (checked by its digest, and shown in
// the Record layout when the document was).

#include "textfile/TextFileTypes.h"
#include "Result.h"

#include <QByteArray>
#include <QString>

namespace zuno {

enum class RecoveryBase { Text, Empty, File };

struct RecoveryData {
    QString path;            // empty: an untitled document
    FileStamp stamp;         // the file as the document last read or wrote it
    TextFileFormat format;   // how a save encodes the text
    bool recordView = false; // the text is in the Record layout
    qint64 caret = 0;        // selection start, in the editor's offsets
    qint64 changedMs = 0;    // time of the last change, ms since the epoch
    QByteArray text;         // the editor's text, UTF-8 (the base's, when it is Text)
    RecoveryBase base = RecoveryBase::Text;
    QByteArray journal;      // the edits since the base, as read
};

// The bytes of a recovery file: a first line that names the kind, a line of
// JSON with everything but the text, then the base text's bytes as they are,
// then the journal. An entry without a journal is a whole text.
QByteArray recoveryHeader(const RecoveryData &data);
// The same for a text base of `textBytes` bytes that follow it but are not
// in `data` (copied from the file as the entry is written).
QByteArray recoveryHeader(const RecoveryData &data, qint64 textBytes);
// Reads what recoveryHeader wrote, followed by the base text and the
// journal; with `headerOnly` the rest may be missing (it is left empty).
// A file whose base text is cut short or that is not of this kind is an
// error. `headerSize`, if given, is where the base text begins.
struct RecoveryFormatError {};
Result<RecoveryData, RecoveryFormatError> parseRecovery(QByteArrayView bytes, bool headerOnly,
                                                        qint64 *headerSize = nullptr);

} // namespace zuno
