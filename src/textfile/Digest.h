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

// The same digest taken a piece at a time, e.g. of each piece of a file as
// it is read, while the piece is still in the processor's cache.
class Digest {
public:
    void add(QByteArrayView bytes);
    // The digest of all the bytes added, as digestOf gives it.
    quint64 value() const;

private:
    quint64 m_lanes[4] = {};
    quint64 m_total = 0;
    char m_pending[32] = {}; // the bytes of an unfinished block
    int m_pendingSize = 0;
};

} // namespace zuno
