#include "app/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace zuno {

QStringList programTranslationFolders()
{
    const QDir binary(QCoreApplication::applicationDirPath());
    return {binary.path(), binary.filePath(QStringLiteral("translations")),
            QDir::cleanPath(binary.filePath(QStringLiteral("../share/zunopad/translations")))};
}

namespace {

// Loads the best file `name`_<language>.qm for `locale` from the first of
// `folders` that has one and installs it; gives the file's path, or none.
QString install(QCoreApplication &app, const QLocale &locale, const QString &name, const QStringList &folders)
{
    for (const QString &folder : folders) {
        auto *translator = new QTranslator(&app);
        if (translator->load(locale, name, QStringLiteral("_"), folder) && !translator->isEmpty()) {
            QCoreApplication::installTranslator(translator);
            return translator->filePath();
        }
        delete translator;
    }
    return QString();
}

} // namespace

LoadedTranslations installTranslations(QCoreApplication &app, const QLocale &locale, const QStringList &programFolders)
{
    LoadedTranslations loaded;
    loaded.qt = install(app, locale, QStringLiteral("qtbase"),
                        {QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
    loaded.program = install(app, locale, QStringLiteral("zunopad"), programFolders);
    return loaded;
}

} // namespace zuno
