#pragma once
// Writing a file's bytes so that the file stays the file:
// - where nothing else about it changes, atomically: a new file is written
//   in the same folder (unnamed until it is complete, where the file system
//   allows), flushed to disk and renamed over the old one, with the old
//   one's permissions, owner, group and extended attributes (ACLs among
//   them). A save that is killed leaves the old file or the new one;
//   temporary files of our own naming that a killed save left behind are
//   removed at the next save into that folder;
// - where that would lose the owner or group, an extended attribute or a
//   hard link, or the folder may not be written: in place. The old bytes are
//   copied to a backup beside the file first (kept in memory when no backup
//   can be made), and written back if the write fails. The backup goes only
//   once the new bytes are written and synced; one that a killed save left
//   behind is never removed by a save (see unfinishedSaveBackups);
// - a file that may not be written, or is no regular file, is refused.
// A symbolic link stays a link: its target is written. On failure the error
// carries the system's reason and the old file is as it was. On success the
// value is the stamp of the written file. A file that has vanished since
// `was` was taken of it is made again with the permissions it had (and,
// for the superuser, its owner and group).

#include "textfile/TextFileTypes.h"
#include "Result.h"

#include <QByteArrayView>
#include <QStringList>

#include <functional>

namespace zuno {

Result<FileStamp, TextFileError> saveFileBytes(const QString &path, QByteArrayView bytes,
                                               const FileStamp &was = {});

// Makes a file's bytes as they are written: hands them to `sink` a piece at
// a time, in order, and answers false to give the save up.
using ByteSink = std::function<void(QByteArrayView piece)>;
using BytesProducer = std::function<bool(const ByteSink &sink)>;
// The same save with the bytes written as `produce` makes them, so that
// they are never held whole. A producer that gives up leaves the file as it
// was, nothing of ours beside it, and an error marked `abandoned`. A save in
// place first runs the producer into nothing, so that it gives up before
// the file is touched; the producer must then make the same bytes again.
Result<FileStamp, TextFileError> saveFileStream(const QString &path, const BytesProducer &produce,
                                                const FileStamp &was = {});

// The backups that in-place saves of `path` left behind when they did not
// finish (their writer has ended), the newest first: each holds the whole
// text the file had before that save.
QStringList unfinishedSaveBackups(const QString &path);

// The file system decides whether unnamed temporary files are used; tests
// switch them off to exercise the named fallback.
void allowUnnamedTemporaryFiles(bool allowed);

} // namespace zuno
