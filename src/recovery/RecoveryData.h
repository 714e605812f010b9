#pragma once
// What is kept of a document with unsaved changes, so that a later start
// can put it back: its text as the editor showed it, the file it belongs to
// and what that file was when the document read it, the view and the caret.

#include "textfile/TextFileTypes.h"
#include "Result.h"

#include <QByteArray>
#include <QString>

namespace zuno {

struct RecoveryData {
    QString path;            // empty: an untitled document
    FileStamp stamp;         // the file as the document last read or wrote it
    TextFileFormat format;   // how a save encodes the text
    bool recordView = false; // the text is in the Record layout
    qint64 caret = 0;        // selection start, in the editor's offsets
    qint64 changedMs = 0;    // time of the last change, ms since the epoch
    QByteArray text;         // the editor's text, UTF-8
};

// The bytes of a recovery file: a first line that names the kind, a line of
// JSON with everything but the text, then the text's bytes as they are.
QByteArray recoveryHeader(const RecoveryData &data);
// Reads what recoveryHeader wrote, followed by the text; with `headerOnly`
// the text may be missing (it is left empty). A file that is cut short or
// not of this kind is an error.
struct RecoveryFormatError {};
Result<RecoveryData, RecoveryFormatError> parseRecovery(QByteArrayView bytes, bool headerOnly);

} // namespace zuno
