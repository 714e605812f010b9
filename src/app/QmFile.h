#pragma once
// A compiled translation (.qm) checked before Qt is given it: Qt trusts the
// offsets inside such a file, and a damaged one can make it read past the
// file's end when a text is looked up. A file with dependencies (other
// files Qt would load by name) is not accepted either.
#include <QByteArray>

namespace zuno {

bool isSoundQmFile(const QByteArray &bytes);

} // namespace zuno
