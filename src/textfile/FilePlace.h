#pragma once
// Where writing to a path puts the file: the file a chain of symbolic links
// ends at (so that a link stays a link, also when its target does not exist
// yet), its folder and its name there (internal to the text-file layer).

#include "Result.h"

#include <QByteArray>
#include <QString>

namespace zuno::textfile {

struct Place {
    QByteArray folder;
    QByteArray name;
};

// The place of the file at the end of `path`'s links; an errno (ELOOP for
// a chain that goes round or runs too long) when it cannot be told.
Result<Place, int> placeOf(const QString &path);

} // namespace zuno::textfile
