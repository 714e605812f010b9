#pragma once
// The files that --check takes from its arguments: a folder stands for the
// ZUNO data files in it and in its folders below (by their extensions, in
// any case), in a stable order; links to folders inside it are not followed.

#include <QString>
#include <QStringList>

namespace zuno {

// Whether the name ends in one of the eight extensions of ZUNO data files
// (.PRJ .CTL .PAC .CAL .EDI .ALI .PRO .SUP), in any case.
bool hasDataFileExtension(QStringView name);

struct WalkedFiles {
    QStringList files;
    // "cannot read the folder 'X': reason", for each folder that could not
    // be listed.
    QStringList errors;
};

// Each argument that is a folder (a link to a folder named on its own is
// followed) is replaced by its data files, depth first, the names at each
// level in the order of their characters; every other argument stays as it
// is, to be read (and complained about) as a file.
WalkedFiles walkArguments(const QStringList &arguments);

} // namespace zuno
