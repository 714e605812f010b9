// The user's language: Qt's own translations and the program's, looked up
// for a locale in their folders.
#include "app/Translations.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QMap>
#include <QXmlStreamReader>
#include <QtEndian>
#include <QTemporaryDir>
#include <QPushButton>
#include <gtest/gtest.h>

namespace zuno {
namespace {

TEST(Translations, QtAndTheProgramSpeakTheLocalesLanguage)
{
    const LoadedTranslations loaded
        = installTranslations(*QCoreApplication::instance(), QLocale(QStringLiteral("de_DE")),
                              {QStringLiteral("/nonexistent"), QStringLiteral(ZUNO_TEST_QM_DIR)});
    EXPECT_TRUE(loaded.qt.endsWith(QStringLiteral("qtbase_de.qm"))) << loaded.qt.toStdString();
    EXPECT_EQ(loaded.program, QStringLiteral(ZUNO_TEST_QM_DIR "/zunopad_de.qm"));

    // Qt's standard buttons, as in the save prompt, and the program's menus.
    QDialogButtonBox buttons(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Yes)->text(), QStringLiteral("&Ja"));
    EXPECT_EQ(QCoreApplication::translate("zuno::frmEditor", "&File"), QStringLiteral("&Datei"));
    EXPECT_EQ(QCoreApplication::translate("EditorShell", "Save Changes?"), QStringLiteral("Änderungen speichern?"));
    // A text without a translation stays English.
    EXPECT_EQ(QCoreApplication::translate("zuno::frmEditor", "No such text"), QStringLiteral("No such text"));
}

// Context and source of every message of a translators' file, with its
// translation (empty when there is none or it is unfinished).
QMap<QPair<QString, QString>, QString> messagesOf(const QString &path)
{
    QMap<QPair<QString, QString>, QString> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name")
            context = xml.readElementText();
        else if (xml.name() == u"source")
            source = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        else if (xml.name() == u"translation") {
            const bool unfinished = xml.attributes().value(QStringLiteral("type")) == u"unfinished";
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            messages.insert({context, source}, unfinished ? QString() : text);
        }
    }
    return messages;
}

TEST(Translations, TheGermanTranslationHasEveryTextOfTheProgram)
{
    const auto all = messagesOf(QStringLiteral(ZUNO_TRANSLATIONS_DIR "/zunopad.ts"));
    const auto german = messagesOf(QStringLiteral(ZUNO_TRANSLATIONS_DIR "/zunopad_de.ts"));
    ASSERT_GT(all.size(), 100);
    for (auto it = all.cbegin(); it != all.cend(); ++it)
        EXPECT_FALSE(german.value(it.key()).isEmpty()) << it.key().first.toStdString() << ": " << it.key().second.toStdString();
}

TEST(Translations, ALanguageWithoutFilesLeavesTheEnglishTexts)
{
    const LoadedTranslations loaded
        = installTranslations(*QCoreApplication::instance(), QLocale(QStringLiteral("cy_GB")), {QStringLiteral(ZUNO_TEST_QM_DIR)});
    EXPECT_TRUE(loaded.qt.isEmpty());
    EXPECT_TRUE(loaded.program.isEmpty());
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Only <name>_<language>.qm is tried, and only once it has been found
// sound: a damaged file is passed over (Qt would read past its end), and a
// file called just "zunopad" (the program) is never taken for one.
TEST(Translations, OnlySoundQmFilesOfTheLanguageAreLoaded)
{
    const QByteArray good = bytesOf(QStringLiteral(ZUNO_TEST_QM_DIR "/zunopad_de.qm"));
    ASSERT_FALSE(good.isEmpty());
    // The first message the hash table points at, moved past the end.
    qsizetype hashes = 16; // after the magic number: sections of a tag and a length
    while (hashes + 5 <= good.size() && quint8(good[hashes]) != 0x42)
        hashes += 5 + qFromBigEndian<quint32>(good.constData() + hashes + 1);
    ASSERT_LT(hashes + 13, good.size()) << "a hash table";
    QByteArray damaged = good;
    damaged.replace(hashes + 5 + 4, 4, QByteArray("\x7f\xff\xff\xf0", 4));
    QByteArray cut = good;
    cut.chop(3);

    QTemporaryDir first;
    QTemporaryDir second;
    writeFile(first.filePath(QStringLiteral("zunopad")), good);
    for (const QByteArray &bad : {damaged, cut, QByteArray("not a translation")}) {
        writeFile(first.filePath(QStringLiteral("zunopad_de.qm")), bad);
        EXPECT_TRUE(installTranslations(*QCoreApplication::instance(), QLocale(QStringLiteral("cy_GB")),
                                        {first.path()})
                        .program.isEmpty())
            << "the program is no translation";
        EXPECT_TRUE(installTranslations(*QCoreApplication::instance(), QLocale(QStringLiteral("de_DE")),
                                        {first.path()})
                        .program.isEmpty());
    }
    writeFile(second.filePath(QStringLiteral("zunopad_de.qm")), good);
    EXPECT_EQ(installTranslations(*QCoreApplication::instance(), QLocale(QStringLiteral("de_DE")),
                                  {first.path(), second.path()})
                  .program,
              second.filePath(QStringLiteral("zunopad_de.qm")));
}

} // namespace
} // namespace zuno
