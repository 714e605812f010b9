#include "app/Translations.h"

#include "app/QmFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// No translation file is read past this size.
constexpr qint64 MaxQmBytes = 64 * 1024 * 1024;

// A translator that holds the bytes it was loaded from.
class HeldTranslator : public QTranslator {
public:
    HeldTranslator(QByteArray bytes, QObject *parent) : QTranslator(parent), m_bytes(std::move(bytes)) {}
    bool load() { return QTranslator::load(reinterpret_cast<const uchar *>(m_bytes.constData()), int(m_bytes.size())); }

private:
    QByteArray m_bytes;
};

// The languages to look for, best first: "de_DE", then "de" for "de-DE".
QStringList languagesOf(const QLocale &locale)
{
    QStringList languages;
    for (const QString &uiLanguage : locale.uiLanguages()) {
        const QString named = QString(uiLanguage).replace(u'-', u'_');
        for (QString language : {named, named.toLower()}) {
            for (;;) {
                if (!languages.contains(language))
                    languages.append(language);
                const qsizetype cut = language.lastIndexOf(u'_');
                if (cut <= 0)
                    break;
                language.truncate(cut);
            }
        }
    }
    return languages;
}

// The bytes of the regular file at `path`, when it is one of a sane size.
QByteArray regularFileBytes(const QString &path)
{
    QFileInfo info(path);
    if (!info.isFile() || info.size() > MaxQmBytes)
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(MaxQmBytes);
}

// Loads the best file `name`_<language>.qm for `locale` from the first of
// `folders` that has a sound one and installs it; gives the file's path, or
// none. Only such names are tried (never `name` alone: the program itself
// may be called so), and each file is checked before Qt sees it: a damaged
// one is passed over.
QString install(QCoreApplication &app, const QLocale &locale, const QString &name, const QStringList &folders)
{
    const QStringList languages = languagesOf(locale);
    for (const QString &folder : folders) {
        for (const QString &language : languages) {
            const QString path = QDir(folder).filePath(name + u'_' + language + QStringLiteral(".qm"));
            QByteArray bytes = regularFileBytes(path);
            if (bytes.isEmpty() || !isSoundQmFile(bytes))
                continue;
            auto *translator = new HeldTranslator(std::move(bytes), &app);
            if (translator->load() && !translator->isEmpty()) {
                QCoreApplication::installTranslator(translator);
                return path;
            }
            delete translator;
        }
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
