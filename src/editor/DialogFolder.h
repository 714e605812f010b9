#pragma once
// Where the file dialogs start: in the folder of the document's file, else
// in the folder of the file last chosen in them.
#include <QFileInfo>
#include <QString>

namespace zuno {

inline QString dialogFolder(const QString &documentPath, const QString &lastChosen)
{
    const QString from = documentPath.isEmpty() ? lastChosen : documentPath;
    return from.isEmpty() ? QString() : QFileInfo(from).absolutePath();
}

} // namespace zuno
