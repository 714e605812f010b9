#pragma once
// File names: bytes to the system, QStrings in the program. A name that is
// not valid UTF-8 (legal on Linux, common on old shares) keeps its bytes:
// each byte of a malformed sequence is held as the lone surrogate
// U+DC80..U+DCFF, which no valid name decodes to, and turns back into that
// byte on the way to the system. Every path the program opens goes through
// here, not through QFile::encodeName, which would turn such bytes into
// U+FFFD for good.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace zuno {

QString fileNameFromBytes(QByteArrayView bytes);
QByteArray fileNameBytes(QStringView name);
// The name as shown to a person: each kept byte as U+FFFD.
QString displayedFileName(QStringView name);

// Whether something exists at `path` (a link is followed).
bool pathExists(const QString &path);

// The path that a listing showed as `path`: a file dialog lists names that
// are not UTF-8 with U+FFFD in them, and answers with that. Where no such
// file exists, each part of the path that does not is looked up in its
// folder among the names that list the same; `path` itself when none does.
QString fileNameAsListed(const QString &path);

} // namespace zuno
