#pragma once
// A fast 64-bit digest of a file's bytes, enough to tell whether a file
// still holds what the program read or wrote (not a defence against anyone
// who forges a collision on purpose). Four lanes of 8-byte words multiplied
// and rotated in the manner of xxHash64, so that a large file costs about
// as much as reading it from memory.

#include <QByteArrayView>
#include <QtGlobal>

namespace zuno {

quint64 digestOf(QByteArrayView bytes);

} // namespace zuno
