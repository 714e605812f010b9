#pragma once
// Where the file dialogs start: in the folder of the document's file, else
// in the folder of the file last chosen in them, else where they last
// started.
#include <QFileInfo>
#include <QString>

namespace zuno {

inline QString dialogFolder(const QString &documentPath, const QString &lastChosen, const QString &lastFolder)
{
    const QString from = documentPath.isEmpty() ? lastChosen : documentPath;
    return from.isEmpty() ? lastFolder : QFileInfo(from).absolutePath();
}

} // namespace zuno
