#pragma once
// File stamps: what a file was when the program read or wrote it, and
// whether it is still that.

#include "textfile/TextFileTypes.h"

#include <QByteArrayView>

struct stat;

namespace zuno {

// The stamp of the file at `path` as it is now (invalid when it cannot be
// read).
FileStamp fileStamp(const QString &path);

enum class DiskState { Unchanged, Changed, Missing };
// Whether the file at `path` still holds what `stamp` describes. A file whose
// status is unchanged is taken as unchanged (unless it was changed within
// moments of the stamp, where the clock cannot tell); otherwise its bytes
// decide. A file that cannot be examined counts as changed.
DiskState compareWithDisk(const QString &path, const FileStamp &stamp);

// Whether both paths name the same file (the same path, or the same file
// reached through links).
bool isSameFile(const QString &a, const QString &b);

// The stamp of a file whose status is `info` and whose bytes have the
// digest `digest` (for the readers and writers of this folder).
FileStamp stampOf(const struct stat &info, quint64 digest);

} // namespace zuno
