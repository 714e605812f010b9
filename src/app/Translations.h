#pragma once
// The user's language: Qt's own texts (its file dialogs, its Yes/No/Cancel
// buttons) and the program's, for the system's locale. The program's texts
// in the sources are the English ones; a missing translation leaves them.
#include <QLocale>
#include <QStringList>

class QCoreApplication;

namespace zuno {

// Folders searched for the program's zunopad_<language>.qm, first match
// wins: beside the binary, its translations/ folder, and the installed
// share folder (<prefix>/share/zunopad/translations).
QStringList programTranslationFolders();

// What installTranslations found: the files it loaded.
struct LoadedTranslations {
    QString qt;
    QString program;
};

// Installs Qt's translations (qtbase_*.qm from Qt's translations folder)
// and the program's for `locale`, each where one is found.
LoadedTranslations installTranslations(QCoreApplication &app, const QLocale &locale = QLocale::system(),
                                       const QStringList &programFolders = programTranslationFolders());

} // namespace zuno
