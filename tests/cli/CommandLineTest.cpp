// The command-line converter, run in-process on buffers and temporary files.
#include "cli/CommandLine.h"

#include <gtest/gtest.h>

#include "Version.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace zuno {
namespace {

struct Outcome {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// An output that takes nothing, like a full disk.
class FullDevice : public QIODevice {
public:
    FullDevice() { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64) override
    {
        setErrorString(QStringLiteral("No space left on device"));
        return -1;
    }
};

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    Outcome run(const QStringList &args, const QByteArray &input = {})
    {
        QByteArray inBytes = input;
        QBuffer in(&inBytes);
        in.open(QIODevice::ReadOnly);
        Outcome result;
        QBuffer out(&result.out);
        QBuffer err(&result.err);
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        result.status = runConverter(args, in, out, err);
        return result;
    }

    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    QTemporaryDir m_dir;
};

const QByteArray ExampleList = "AC:1001\r\nBG:5\r\nPL:1,2,3\r\nXX:ABC\r\nAC:OS\r\nEG:7";
const QByteArray ExampleRecord = "AC:1001\r\nBG:5  PL:1,2,3  XX:ABC\r\n\r\nAC:OS\r\nEG:7";

// ---------------------------------------------------------------------------
// Help, version and usage

TEST_F(CommandLine, VersionComesFromTheProject)
{
    const Outcome r = run({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, (aboutText() + u'\n').toUtf8());
    EXPECT_TRUE(r.out.startsWith((versionText() + QStringLiteral("\n\nCopyright")).toUtf8()));
    EXPECT_TRUE(r.out.contains("GPL-3.0-or-later") && r.out.contains("NO WARRANTY"));
    EXPECT_TRUE(r.err.isEmpty());
    // The text as the About box words it, with the project's version.
    EXPECT_EQ(versionText(), QStringLiteral("ZUNOPad Version: %1.%2.%3").arg(VersionMajor).arg(VersionMinor).arg(VersionRevision));
}

TEST_F(CommandLine, HelpShowsUsage)
{
    const Outcome r = run({"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char *option : {"zunopad [--] [FILE...]", "--to-record FILE", "--to-list FILE", "--check FILE...", "--version"})
        EXPECT_TRUE(r.out.contains(option)) << option;
    EXPECT_TRUE(r.err.isEmpty());
}

TEST_F(CommandLine, WrongUsageExitsWithTwo)
{
    const struct {
        QStringList args;
        QByteArray message;
    } cases[] = {
        {{"--frobnicate"}, "zunopad: unknown option '--frobnicate'\n"},
        {{"--"}, "zunopad: unknown option '--'\n"},
        {{"--to-record"}, "zunopad: --to-record needs exactly one FILE\n"},
        {{"--to-list", "a", "b"}, "zunopad: --to-list needs exactly one FILE\n"},
        {{"--check"}, "zunopad: --check needs at least one FILE\n"},
    };
    for (const auto &c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, 2) << c.message.constData();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.startsWith(c.message)) << r.err.constData();
        EXPECT_TRUE(r.err.contains("Try 'zunopad --help'"));
    }
}

TEST_F(CommandLine, OnlyOptionsAreConverterCommands)
{
    const auto runWith = [](std::vector<const char *> words) {
        std::vector<char *> argv;
        for (const char *word : words)
            argv.push_back(const_cast<char *>(word));
        return runConverterCommand(int(argv.size()), argv.data());
    };
    EXPECT_EQ(runWith({"zunopad"}), std::nullopt);
    EXPECT_EQ(runWith({"zunopad", "ROAD1.PRJ"}), std::nullopt);
    EXPECT_EQ(runWith({"zunopad", "-"}), std::nullopt);
    EXPECT_EQ(runWith({"zunopad", "--check"}), std::optional<int>(2));
    // "--" first ends the options: the editor opens the FILE after it.
    EXPECT_EQ(runWith({"zunopad", "--", "--check"}), std::nullopt);
}

TEST_F(CommandLine, DoubleDashEndsTheOptions)
{
    file(QStringLiteral("--dash.PRJ"), ExampleList);
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    const Outcome record = run({"--to-record", "--", "--dash.PRJ"});
    const Outcome check = run({"--check", "--verbose", "--", "--dash.PRJ", "./--dash.PRJ"});
    const Outcome option = run({"--check", "--verbose", "--dash.PRJ"});
    ASSERT_TRUE(QDir::setCurrent(before));
    EXPECT_EQ(record.status, 0) << record.err.constData();
    EXPECT_EQ(record.out, ExampleRecord);
    EXPECT_EQ(check.status, 0) << check.err.constData();
    EXPECT_EQ(check.out, QByteArray("--dash.PRJ: OK\n./--dash.PRJ: OK\n"));
    // Without "--" the name is still only a FILE after the option.
    EXPECT_EQ(option.out, QByteArray("--dash.PRJ: OK\n"));
}

// ---------------------------------------------------------------------------
// Conversions

TEST_F(CommandLine, ToRecordPrintsTheRecordLayoutExactly)
{
    const Outcome r = run({"--to-record", file("ROAD1.PRJ", ExampleList)});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, ExampleRecord);
    EXPECT_TRUE(r.err.isEmpty());
}

TEST_F(CommandLine, ToListPrintsTheListLayoutExactly)
{
    const Outcome r = run({"--to-list", file("ROAD1.REC", ExampleRecord)});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, ExampleList);
}

TEST_F(CommandLine, OutputKeepsTheInputsEncodingAndLineEndings)
{
    const Outcome lf = run({"--to-record", file("lf.PRJ", "AC:1\nXX:\xC3\xA9\n")});
    EXPECT_EQ(lf.out, QByteArray("AC:1  XX:\xC3\xA9  "));
    const Outcome latin1 = run({"--to-list", file("latin1.PRJ", "AC:1  XX:\xE9\nBG:2")});
    EXPECT_EQ(latin1.out, QByteArray("AC:1\nXX:\xE9\nBG:2"));
    const Outcome bom = run({"--to-list", file("bom.PRJ", "\xEF\xBB\xBF" "AC:1  BG:2")});
    EXPECT_EQ(bom.out, QByteArray("\xEF\xBB\xBF" "AC:1\r\nBG:2"));
}

TEST_F(CommandLine, ALoneLineFeedInACrLfFileIsACharacterOfItsLine)
{
    const QByteArray list = "AC:1\r\nXX:A\nB\r\nBG:5";
    const Outcome record = run({"--to-record", file("stray.PRJ", list)});
    ASSERT_EQ(record.status, 0) << record.err.constData();
    EXPECT_TRUE(record.out.contains("XX:A\nB")) << "the value stays whole";
    const Outcome back = run({"--to-list", "-"}, record.out);
    EXPECT_EQ(back.out, list);
    // Lines are numbered as the file separates them.
    const Outcome bad = run({"--to-record", file("bad.PRJ", "AC:1\r\nXX:A\nB\r\nX Y")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, QByteArray("zunopad: Invalid ZUNO Data Item 'X Y' on line 3\n"));
}

TEST_F(CommandLine, DashReadsStandardInput)
{
    const Outcome r = run({"--to-record", "-"}, ExampleList);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, ExampleRecord);
    const Outcome empty = run({"--to-list", "-"}, QByteArray());
    EXPECT_EQ(empty.status, 0);
    EXPECT_TRUE(empty.out.isEmpty());
}

TEST_F(CommandLine, ExamplesRoundTrip)
{
    for (const QString &name : QDir(QStringLiteral(ZUNO_EXAMPLES_DIR)).entryList(QDir::Files)) {
        QFile original(QStringLiteral(ZUNO_EXAMPLES_DIR "/") + name);
        ASSERT_TRUE(original.open(QIODevice::ReadOnly));
        const QByteArray bytes = original.readAll();
        const Outcome record = run({"--to-record", original.fileName()});
        ASSERT_EQ(record.status, 0) << record.err.constData();
        const Outcome list = run({"--to-list", "-"}, record.out);
        ASSERT_EQ(list.status, 0) << list.err.constData();
        EXPECT_EQ(list.out, bytes) << name.toStdString();
    }
}

// ---------------------------------------------------------------------------
// Failures

TEST_F(CommandLine, InvalidDataPrintsNothingAndExitsWithOne)
{
    const Outcome record = run({"--to-record", file("bad.PRJ", "AC:1\r\nX Y\r\nBG:2")});
    EXPECT_EQ(record.status, 1);
    EXPECT_TRUE(record.out.isEmpty());
    EXPECT_EQ(record.err, QByteArray("zunopad: Invalid ZUNO Data Item 'X Y' on line 2\n"));

    const Outcome list = run({"--to-list", file("bad.REC", "AC:1  BG:2  junk")});
    EXPECT_EQ(list.status, 1);
    EXPECT_TRUE(list.out.isEmpty());
    EXPECT_EQ(list.err, QByteArray("zunopad: Unexpected data 'BG:2  junk'.\n"));
}

TEST_F(CommandLine, QuotedLinesAreCutAndTheirControlCharactersEscaped)
{
    // A 20 MB invalid line gives a message of one short line.
    const Outcome huge = run({"--to-record", file("huge.PRJ", "AC:1\r\n" + QByteArray(20'000'000, 'X'))});
    EXPECT_EQ(huge.status, 1);
    EXPECT_EQ(huge.err, "zunopad: Invalid ZUNO Data Item '" + QByteArray(80, 'X') + "\u2026' on line 2\n");
    // So does a long line that would not come back from the Record layout.
    const Outcome spaced = run({"--check", file("spaced.PRJ", "AC:1\r\nNM:\x1b]0;T\x07  " + QByteArray(200'000, 'X'))});
    EXPECT_EQ(spaced.status, 0); // a warning
    EXPECT_LT(spaced.out.size(), 800);
    EXPECT_FALSE(spaced.out.contains('\x1b'));

    // Escape sequences of a line never reach the terminal raw; tabs do.
    const Outcome control = run({"--check", file("ctl.PRJ", QByteArray("AC:1\r\nA\tB\x1b[31mC\rD\0E\r\n", 21))});
    EXPECT_EQ(control.status, 1);
    EXPECT_TRUE(control.out.endsWith(": Invalid ZUNO Data Item 'A\tB\\x1b[31mC\\rD\\x00E' on line 2\n"))
        << control.out.constData();
    const Outcome list = run({"--to-list", "-"}, "AC:1  \x07" "bell:  X");
    EXPECT_EQ(list.err, QByteArray("zunopad: Unexpected data '\\x07bell:  X'.\n"));
}

TEST_F(CommandLine, PipesDevicesAndOversizedInputAreRefused)
{
    // A named pipe with no writer would block for ever; a device would be
    // read until memory runs out.
    const QString fifo = m_dir.filePath(QStringLiteral("PIPE.PRJ"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const Outcome pipe = run({"--to-record", fifo});
    EXPECT_EQ(pipe.status, 2);
    EXPECT_EQ(pipe.err, "zunopad: cannot read '" + fifo.toUtf8() + "': Not a regular file: a named pipe\n");
    const Outcome device = run({"--check", "/dev/zero"});
    EXPECT_EQ(device.status, 2);
    EXPECT_EQ(device.err, QByteArray("zunopad: cannot read '/dev/zero': Not a regular file: a device\n"));

    // A file over 512 MiB (sparse, so it costs nothing) is refused unread.
    const QString big = file("BIG.PRJ", "AC:1");
    ASSERT_EQ(::truncate(QFile::encodeName(big).constData(), 512 * 1024 * 1024 + 1), 0);
    const Outcome large = run({"--to-record", big});
    EXPECT_EQ(large.status, 2);
    EXPECT_EQ(large.err, "zunopad: cannot read '" + big.toUtf8() + "': File too large (more than 512 MiB)\n");
    EXPECT_TRUE(large.out.isEmpty());
}

TEST_F(CommandLine, UnreadableFileExitsWithTwo)
{
    const QString missing = m_dir.filePath(QStringLiteral("missing.PRJ"));
    const Outcome r = run({"--to-record", missing});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err, (QStringLiteral("zunopad: cannot read '") + missing
                      + QStringLiteral("': No such file or directory\n")).toUtf8());

    const Outcome folder = run({"--to-list", m_dir.path()});
    EXPECT_EQ(folder.status, 2);
    EXPECT_TRUE(folder.err.endsWith(": Is a directory\n")) << folder.err.constData();
}

TEST_F(CommandLine, OutputThatCannotBeWrittenExitsWithTwo)
{
    QByteArray inBytes;
    QBuffer in(&inBytes);
    in.open(QIODevice::ReadOnly);
    FullDevice out;
    QByteArray errBytes;
    QBuffer err(&errBytes);
    err.open(QIODevice::WriteOnly);
    const int status = runConverter({"--to-record", file("ROAD1.PRJ", ExampleList)}, in, out, err);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(errBytes, QByteArray("zunopad: cannot write the output: No space left on device\n"));
}

// ---------------------------------------------------------------------------
// Checking

TEST_F(CommandLine, CheckReportsEveryFile)
{
    const QString good = file("good.PRJ", ExampleList);
    const QString bad = file("bad.PRJ", "AC:1\r\n\r\nREMARK X");
    const QString empty = file("empty.PRJ", "");

    const Outcome allGood = run({"--check", "--verbose", good, empty});
    EXPECT_EQ(allGood.status, 0);
    EXPECT_EQ(allGood.out, (good + QStringLiteral(": OK\n") + empty + QStringLiteral(": OK\n")).toUtf8());
    EXPECT_TRUE(allGood.err.isEmpty());

    const Outcome oneBad = run({"--check", good, bad});
    EXPECT_EQ(oneBad.status, 1);
    EXPECT_EQ(oneBad.out, (bad + QStringLiteral(":3:1: error: Invalid ZUNO Data Item 'REMARK X' on line 3\n")).toUtf8());
    EXPECT_TRUE(oneBad.err.isEmpty());

    // A file that cannot be read outweighs an invalid one; the rest are
    // still checked.
    const QString missing = m_dir.filePath(QStringLiteral("missing.PRJ"));
    const Outcome withMissing = run({"--check", "--verbose", bad, missing, good});
    EXPECT_EQ(withMissing.status, 2);
    EXPECT_TRUE(withMissing.out.contains(": OK\n"));
    EXPECT_TRUE(withMissing.out.contains("'REMARK X' on line 3"));
    EXPECT_TRUE(withMissing.err.contains("No such file or directory"));
}

TEST_F(CommandLine, CheckReportsALineThatWouldNotComeBackFromTheRecordLayout)
{
    const QString good = file("good.PRJ", ExampleList);
    const QString spaced = file("spaced.PRJ", "AC:1\r\nBG:2\r\nNM:A  B:C\r\nXX:3");
    const Outcome r = run({"--check", "--verbose", spaced, good});
    // A warning alone fails nothing.
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, (spaced + QStringLiteral(":3:5: warning: The data item 'NM:A  B:C' on line 3 would not come back "
                                              "unchanged from the Record view: it holds two spaces in a row, which the "
                                              "List layout reads as the gap between two items, so it would come back "
                                              "as several items.\n")
                      + good + QStringLiteral(": OK\n"))
                         .toUtf8());
    EXPECT_TRUE(r.err.isEmpty());

    // Hand-written PL lines without their trailing commas are fine, and
    // --to-record keeps their values apart.
    const QString handCut = file("hand.PRJ", "AC:1\r\nPL:1,2\r\nPL:3,4");
    EXPECT_EQ(run({"--check", handCut}).status, 0);
    const QString longCut = file("long.PRJ", "BG:1\r\nPL:" + QByteArray("1234,").repeated(15) + "9\r\nPL:7");
    const Outcome record = run({"--to-record", longCut});
    EXPECT_EQ(record.status, 0);
    EXPECT_TRUE(record.out.endsWith("       PL:1234,9,7\r\n")) << record.out.constData();
}

TEST_F(CommandLine, CheckReadsStandardInput)
{
    const Outcome r = run({"--check", "-"}, "AC:1\r\nX");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, QByteArray("(standard input):2:1: error: Invalid ZUNO Data Item 'X' on line 2\n"));
}

} // namespace
} // namespace zuno
