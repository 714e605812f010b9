// The user's language: Qt's own translations and the program's, looked up
// for a locale in their folders.
#include "app/Translations.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
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
    // A text without a translation stays English.
    EXPECT_EQ(QCoreApplication::translate("zuno::frmEditor", "&Record"), QStringLiteral("&Record"));
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
