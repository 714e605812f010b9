// The own entry's journal: records appended and synced, the entry hidden
// while the document has nothing unsaved, and compacted into a whole text
// once the journal has grown; and the replay of an entry's journal on its
// base.
#include "recovery/RecoveryStore.h"

#include "format/Conversion.h"
#include "recovery/RecoveryFiles.h"
#include "recovery/RecoveryJournal.h"
#include "textfile/Digest.h"
#include "textfile/PosixIo.h"
#include "textfile/TextFile.h"

#include <QCoreApplication>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zuno {

using namespace recovery_files;
using textfile::Fd;
using textfile::systemReason;

Result<QByteArray, RecoveryError> fileBaseText(const RecoveryData &data)
{
    auto file = readTextFile(data.path);
    if (!file.ok())
        return RecoveryError{file.error().message};
    if (file.value().stamp.digest != data.stamp.digest || file.value().stamp.size != data.stamp.size)
        return RecoveryError{QCoreApplication::translate("Recovery", "The file the changes were made on has "
                                                                     "been changed on disk since.")};
    QByteArray base = std::move(file.value().text);
    if (data.recordView) {
        auto record = convertToRecordLayout(base);
        if (!record.ok())
            return RecoveryError{incompleteReason()};
        base = std::move(record).value();
    }
    return base;
}

bool takeFileBaseIn(RecoveryData &data)
{
    if (data.base != RecoveryBase::File)
        return true;
    try {
        auto base = fileBaseText(data);
        if (!base.ok())
            return false;
        data.text = std::move(base).value();
        data.base = RecoveryBase::Text;
        return true;
    } catch (const std::bad_alloc &) {
        return false;
    }
}

namespace {

// Copies the document's file, whose bytes are the text shown, into `fd` from
// `offset`, a piece at a time: 0, the system's error, or -1 when the file is
// not the one the document read (its size or digest differ).
int copyFileBase(const RecoveryData &data, int fd, qint64 offset)
{
    struct stat info {};
    auto opened = textfile::openRegularFile(data.path, info);
    if (!opened.ok() || info.st_size != data.stamp.size)
        return -1;
    QByteArray piece(qsizetype(1) << 20, Qt::Uninitialized);
    Digest digest;
    qint64 at = 0;
    for (;;) {
        const qsizetype got = textfile::readPiece(opened.value().get(), piece, at);
        if (got < 0)
            return -1;
        if (got == 0 || at + got > info.st_size)
            break;
        const QByteArrayView bytes(piece.constData(), got);
        digest.add(bytes);
        if (const int error = textfile::writeAll(fd, bytes, off_t(offset + at)))
            return error;
        at += got;
    }
    return at == data.stamp.size && digest.value() == data.stamp.digest ? 0 : -1;
}

int writeHeaderAndText(int fd, const RecoveryData &data, qint64 &bytes)
{
    const QByteArray header = recoveryHeader(data);
    const QByteArrayView text = data.base == RecoveryBase::Text ? QByteArrayView(data.text) : QByteArrayView();
    int error = textfile::writeAll(fd, header, 0);
    if (!error)
        error = textfile::writeAll(fd, text, off_t(header.size()));
    bytes = header.size() + text.size();
    return error;
}

} // namespace

int writeEntry(int fd, const RecoveryData &data, bool takeBaseIn, qint64 &bytes)
{
    if (!takeBaseIn || data.base != RecoveryBase::File)
        return writeHeaderAndText(fd, data, bytes);
    if (!data.recordView && holdsTextAsItIs(data.format)) {
        RecoveryData whole = data;
        whole.base = RecoveryBase::Text;
        const QByteArray header = recoveryHeader(whole, data.stamp.size);
        if (const int error = textfile::writeAll(fd, header, 0))
            return error;
        const int copied = copyFileBase(data, fd, header.size());
        bytes = header.size() + data.stamp.size;
        if (copied >= 0)
            return copied;
        // Changed since: the entry names the file, as below.
        if (::ftruncate(fd, 0) != 0)
            return errno;
        return writeHeaderAndText(fd, data, bytes);
    }
    RecoveryData whole = data;
    takeFileBaseIn(whole);
    return writeHeaderAndText(fd, whole, bytes);
}

Result<RecoveryData, RecoveryError> replayRecovery(QByteArrayView bytes)
{
    auto parsed = parseRecovery(bytes, false);
    if (!parsed.ok())
        return RecoveryError{incompleteReason()};
    RecoveryData data = std::move(parsed).value();
    QByteArray base;
    switch (data.base) {
    case RecoveryBase::Text:
        base = std::exchange(data.text, QByteArray());
        break;
    case RecoveryBase::Empty:
        break;
    case RecoveryBase::File: {
        auto text = fileBaseText(data);
        if (!text.ok())
            return text.error();
        base = std::move(text).value();
        break;
    }
    }
    auto replayed = replayJournal(std::move(base), data.journal);
    if (!replayed.ok())
        return RecoveryError{replayed.error().message};
    data.text = std::move(replayed.value().text);
    if (const auto end = replayed.value().end) {
        data.caret = end->caret;
        data.changedMs = end->changedMs;
    }
    data.base = RecoveryBase::Text;
    data.journal = QByteArray();
    return data;
}

Result<void, RecoveryError> RecoveryStore::append(QByteArrayView records)
{
    QMutexLocker locker(&m_mutex);
    if (!m_written)
        return RecoveryError{incompleteReason()};
    Fd fd(openOwnFile(encoded(m_folder, ownName()), O_WRONLY));
    int error = fd.valid() ? 0 : errno;
    if (!error)
        error = textfile::writeAll(fd.get(), records, off_t(m_entryBytes));
    if (!error && ::fdatasync(fd.get()) != 0)
        error = errno;
    if (error) {
        // Nothing half written stays: the journal ends where it ended.
        if (fd.valid() && ::ftruncate(fd.get(), off_t(m_entryBytes)) != 0)
            m_written = false;
        return RecoveryError{systemReason(error)};
    }
    m_entryBytes += records.size();
    m_journalBytes += records.size();
    return {};
}

void RecoveryStore::setHidden(bool hidden)
{
    QMutexLocker locker(&m_mutex);
    if (hidden == m_hidden || m_ownId.isEmpty())
        return;
    const QString was = ownName();
    m_hidden = hidden;
    if (m_written && ::rename(encoded(m_folder, was).constData(), encoded(m_folder, ownName()).constData()) != 0)
        m_written = false;
}

qint64 RecoveryStore::journalBytes() const
{
    QMutexLocker locker(&m_mutex);
    return m_journalBytes;
}

bool RecoveryStore::compact(qint64 limit)
{
    QString name;
    bool hidden = false;
    {
        QMutexLocker locker(&m_mutex);
        if (!m_written || m_journalBytes <= limit)
            return true;
        name = ownName();
        hidden = m_hidden;
    }
    try {
        Fd fd(openOwnFile(encoded(m_folder, name), O_RDONLY));
        if (!fd.valid())
            return false;
        ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
        QByteArray bytes;
        struct stat info {};
        ::fstat(fd.get(), &info);
        if (textfile::readAllFrom(fd.get(), info.st_size, MaxEntryBytes, bytes) != 0)
            return false;
        auto data = replayRecovery(bytes);
        bytes = QByteArray();
        return data.ok() && write(data.value(), hidden).ok();
    } catch (const std::bad_alloc &) {
        return false; // the journal goes on growing
    }
}

} // namespace zuno
