#pragma once
// The files a save makes beside the file it writes: temporary files and
// backups, named so that they are recognisably ours, and cleaned up once
// their writer is gone (internal to the text-file layer).

#include <QByteArray>
#include <QString>

namespace zuno::textfile {

// A fresh name of our own for a temporary file (or a backup) of the file
// `name` in the same folder.
QByteArray ownName(const QByteArray &name, bool backup);

// Removes what killed saves of ours left in the folder: regular files of
// our naming and owned by us whose writer no longer runs. After a save
// (the file `name` has just been written whole): the temporary files of
// every file and the backups of `name`. When `name` is opened: its
// temporary files only (a backup may hold the only whole copy of its text).
enum class LeftoversOf { EveryFileAndBackups, FileOnly };
void removeLeftovers(int folderFd, const QByteArray &name, LeftoversOf scope);

// The same when the file at `path` is opened (LeftoversOf::FileOnly).
void removeLeftoverTemporaries(const QString &path);

} // namespace zuno::textfile
