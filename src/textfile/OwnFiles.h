#pragma once
// The files a save makes beside the file it writes: temporary files and
// backups, named so that they are recognisably ours, and cleaned up once
// their writer is gone (internal to the text-file layer).

#include <QByteArray>
#include <QList>
#include <QString>

namespace zuno::textfile {

// A fresh name of our own for a temporary file (or a backup) of the file
// `name` in the same folder.
QByteArray ownName(const QByteArray &name, bool backup);

// Removes the temporary files that killed saves of ours left in the folder.
// Backups stay: they are offered to the user (unfinishedBackups).
// With `onlyOf`, only the temporary files of the file of that name. This
// process's own are removed only with `ownToo`, by a save once it is done:
// a read (the recovery's own reading of the file, on its thread) may come
// while a save of this process is writing one.
void removeLeftovers(int folderFd, const QByteArray &onlyOf = {}, bool ownToo = true);
// The temporary files of the file at `path` left by saves that have ended,
// when that file is read.
void removeLeftoverTemporaries(const QString &path);

// The backups of the file `name` that in-place saves left behind when they
// did not finish (their writer has ended).
QList<QByteArray> unfinishedBackups(int folderFd, const QByteArray &name);

} // namespace zuno::textfile
