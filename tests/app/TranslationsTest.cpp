// The user's language: Qt's own translations and the program's, looked up
// for a locale in their folders.
#include "app/Translations.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QMap>
#include <QXmlStreamReader>
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

} // namespace
} // namespace zuno
