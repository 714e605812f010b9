#pragma once
// The files a save makes beside the file it writes: temporary files and
// backups, named so that they are recognisably ours, and cleaned up once
// their writer is gone (internal to the text-file layer).

#include <QByteArray>

namespace zuno::textfile {

// A fresh name of our own for a temporary file (or a backup) of the file
// `name` in the same folder.
QByteArray ownName(const QByteArray &name, bool backup);

// Removes the temporary files that killed saves of ours left in the folder,
// and the backups of `name` (the file has just been written whole).
void removeLeftovers(int folderFd, const QByteArray &name);

} // namespace zuno::textfile
