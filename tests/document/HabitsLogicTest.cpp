// The recent-file list, the font choice with its zoom, the files of the
// command line and the file dialogs' folder, against the doubles.
#include "document/EditorFont.h"
#include "document/EditorShell.h"
#include "document/OpenDocument.h"
#include "document/RecentFiles.h"
#include "platform/doubles/FakeEditControl.h"
#include "platform/doubles/FakeFileDialogs.h"
#include "platform/doubles/FakeMainWindow.h"
#include "platform/doubles/FakeMessageBox.h"
#include "platform/doubles/FakeSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zuno;

namespace {

TEST(RecentFilesList, KeepsNineMostRecentFirstWithoutRepeatsAndAcrossRuns)
{
    FakeSettings settings;
    {
        RecentFiles recent(settings);
        EXPECT_TRUE(recent.paths().isEmpty());
        for (int i = 1; i <= 11; ++i)
            recent.add(QStringLiteral("/d/F%1.PRJ").arg(i));
        recent.add(QStringLiteral("/d/F5.PRJ"));
        EXPECT_EQ(recent.paths().size(), 9);
        EXPECT_EQ(recent.paths().first(), QStringLiteral("/d/F5.PRJ"));
        EXPECT_EQ(recent.paths()[1], QStringLiteral("/d/F11.PRJ"));
        EXPECT_EQ(recent.paths().count(QStringLiteral("/d/F5.PRJ")), 1);
        EXPECT_FALSE(recent.paths().contains(QStringLiteral("/d/F2.PRJ")));
        recent.remove(QStringLiteral("/d/F11.PRJ"));
    }
    RecentFiles again(settings);
    ASSERT_EQ(again.paths().size(), 8);
    EXPECT_EQ(again.paths()[1], QStringLiteral("/d/F10.PRJ"));
    again.clear();
    EXPECT_TRUE(RecentFiles(settings).paths().isEmpty());
}

TEST(EditorFontChoice, DefaultsToCourierAndKeepsTheChoiceAndZoom)
{
    FakeSettings settings;
    EditorFontChoice choice = readFontChoice(settings);
    EXPECT_EQ(choice.family, QStringLiteral("Courier"));
    EXPECT_DOUBLE_EQ(choice.pointSize, 9.75);
    EXPECT_DOUBLE_EQ(shownFont(choice).pointSizeF(), 9.75);

    choice.pointSize = 12;
    choice = zoomedBy(choice, 3);
    EXPECT_DOUBLE_EQ(shownFont(choice).pointSizeF(), 15);
    EXPECT_DOUBLE_EQ(chosenFont(choice).pointSizeF(), 12) << "printing leaves the zoom out";
    writeFontChoice(settings, choice);
    const EditorFontChoice read = readFontChoice(settings);
    EXPECT_DOUBLE_EQ(read.pointSize, 12);
    EXPECT_EQ(read.zoom, 3);

    // The zoom stops at sizes that can still be read and drawn.
    EXPECT_DOUBLE_EQ(shownFont(zoomedBy(choice, -100)).pointSizeF(), 4);
    settings.values[FakeSettings::path("ZUNOPad", "Font", "Size")] = QStringLiteral("huge");
    EXPECT_DOUBLE_EQ(readFontChoice(settings).pointSize, 9.75);
}

TEST(CommandLineFiles, SeveralArgumentsAreSeveralFilesOnlyWhenJoinedTheyNameNone)
{
    const QStringList existing = {"/d/A.PRJ", "/d/B.CTL", "/d/My File.PRJ"};
    const auto exists = [&](const QString &path) { return existing.contains(path); };
    const struct {
        QStringList arguments;
        QString here;
        QStringList elsewhere;
    } cases[] = {
        {{}, "", {}},
        {{"/d/A.PRJ"}, "/d/A.PRJ", {}},
        {{"/d/My", "File.PRJ"}, "/d/My File.PRJ", {}},
        {{"\"/d/My", "File.PRJ\""}, "\"/d/My File.PRJ\"", {}},
        {{"/d/A.PRJ", "/d/B.CTL"}, "/d/A.PRJ", {"/d/B.CTL"}},
        {{"/d/A.PRJ", "/d/GONE", "/d/B.CTL"}, "/d/A.PRJ", {"/d/GONE", "/d/B.CTL"}},
    };
    for (const auto &c : cases) {
        const StartFiles files = startFiles(c.arguments, exists);
        EXPECT_EQ(files.here, c.here) << c.arguments.join('|').toStdString();
        EXPECT_EQ(files.elsewhere, c.elsewhere) << c.arguments.join('|').toStdString();
    }
}

} // namespace
