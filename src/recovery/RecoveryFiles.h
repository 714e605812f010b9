#pragma once
// The recovery folder's files as RecoveryStore's parts open and name them.

#include <QByteArray>
#include <QString>

namespace zuno::recovery_files {

inline const QString DataSuffix = QStringLiteral(".zrec");
inline const QString LockSuffix = QStringLiteral(".lock");
inline const QString HiddenSuffix = QStringLiteral(".clean");
// No entry is read past this size.
inline constexpr qint64 MaxEntryBytes = qint64(1) << 40;

QByteArray encoded(const QString &folder, const QString &name);
// The hidden name of entry `id`: one with nothing unsaved.
QString hiddenName(const QString &id);
// Opens one of the folder's files without following a link or waiting on
// a pipe, and keeps it only when it is a regular file of this user with no
// other name; -1 with errno set otherwise.
int openOwnFile(const QByteArray &path, int flags);
QString incompleteReason();

} // namespace zuno::recovery_files
