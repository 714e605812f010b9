// --check's reports, in-process: the compilers' lines, the exit status and
// its options, the JSON document, folders walked and checked on threads.
#include "cli/CheckCommand.h"
#include "cli/CheckReport.h"
#include "cli/FolderWalk.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace zuno {
namespace {

struct Outcome {
    int status = -1;
    QByteArray out;
    QString err;
};

class Check : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    Outcome run(const QStringList &args, int threads = 0)
    {
        QBuffer in;
        in.open(QIODevice::ReadOnly);
        Outcome result;
        QBuffer out(&result.out);
        out.open(QIODevice::WriteOnly);
        result.status = runCheck(args, in, out, [&](const QString &message) { result.err += message + u'\n'; }, threads);
        return result;
    }

    // Relative to the test's folder, which is the current one.
    QString file(const QString &name, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(m_dir.filePath(name)).path());
        QFile f(m_dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return m_dir.filePath(name);
    }

    QTemporaryDir m_dir;
};

TEST_F(Check, ReportsEveryProblemInTheCompilersFormAndExitsByTheWorst)
{
    const QString good = file("good.PRJ", "AC:1\r\nBG:5\r\nPL:1,2,3");
    const QString warned = file("warned.CTL", "AC:1\r\nNM:A  B:C");
    const QString bad = file("bad.PRJ", "AC:1\r\nNM:A  B:C\r\nBAD LINE");
    const QString missing = m_dir.filePath("missing.PRJ");
    const QByteArray warning = ":2:5: warning: The data item 'NM:A  B:C' on line 2 would not come back unchanged from "
                               "the Record view: it holds two spaces in a row, which the List layout reads as the gap "
                               "between two items, so it would come back as several items.\n";
    const QByteArray error = ":3:1: error: Invalid ZUNO Data Item 'BAD LINE' on line 3\n";
    struct Case {
        QStringList args;
        int status;
        QByteArray out;
    };
    const QList<Case> cases = {
        {{good}, 0, ""},
        {{"--verbose", good}, 0, good.toUtf8() + ": OK\n"},
        {{warned}, 0, warned.toUtf8() + warning},
        {{"--warnings-as-errors", warned}, 1, warned.toUtf8() + warning},
        {{good, bad}, 1, bad.toUtf8() + warning + bad.toUtf8() + error},
        {{"--verbose", "--", bad, good}, 1, bad.toUtf8() + warning + bad.toUtf8() + error + good.toUtf8() + ": OK\n"},
        // A file that cannot be read outweighs the rest, which are still
        // checked.
        {{missing, bad}, 2, bad.toUtf8() + warning + bad.toUtf8() + error},
        {{"--format=xml", good}, 2, ""},
        // An option it does not know is taken as a FILE.
        {{"--quiet", good}, 2, ""},
        {{"--verbose"}, 2, ""},
        // Options may follow the files; after "--" they are names.
        {{warned, "--warnings-as-errors"}, 1, warned.toUtf8() + warning},
        {{good, "--verbose", "--", "--verbose"}, 2, good.toUtf8() + ": OK\n"},
    };
    for (const Case &c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.out, c.out) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err.isEmpty(), c.status != 2) << r.err.toStdString();
    }
    EXPECT_TRUE(run({missing}).err.contains("cannot read '" + missing + "': No such file or directory"));
    EXPECT_TRUE(run({"--format=xml", good}).err.startsWith("unknown report format 'xml' (text, json or sarif)\n"));
    // A line feed or an escape in a name shows as an escape, so that each
    // problem stays on a line of its own and nothing reaches the terminal;
    // the JSON keeps the name as it is.
    const QString odd = file("a\nb\x1b.PRJ", "X Y");
    const QByteArray shown = m_dir.filePath("a\\nb\\x1b.PRJ").toUtf8();
    EXPECT_EQ(run({odd}).out, shown + ":1:1: error: Invalid ZUNO Data Item 'X Y' on line 1\n");
    EXPECT_EQ(QJsonDocument::fromJson(run({"--format=json", odd}).out)["files"][0]["file"], odd);
    EXPECT_TRUE(run({odd + "x"}).err.startsWith("cannot read '" + QString::fromUtf8(shown) + "x': "));
}

TEST_F(Check, JsonGivesEveryFileWithItsProblems)
{
    const QString good = file("good.PRJ", "AC:1");
    const QString bad = file("bad.PRJ", QStringLiteral("BAD\r\nAC:\u00e9  X").toUtf8());
    const Outcome r = run({"--format=json", good, bad, m_dir.filePath("gone.PRJ")});
    EXPECT_EQ(r.status, 2);
    const QJsonArray files = QJsonDocument::fromJson(r.out).object().value("files").toArray();
    ASSERT_EQ(files.size(), 3) << r.out.constData();
    EXPECT_EQ(files[0].toObject(), QJsonObject({{"file", good}, {"problems", QJsonArray()}}));
    const QJsonArray problems = files[1].toObject().value("problems").toArray();
    ASSERT_EQ(problems.size(), 2);
    EXPECT_EQ(problems[0].toObject(), QJsonObject({{"line", 1},
                                                   {"column", 1},
                                                   {"endColumn", 4},
                                                   {"severity", "error"},
                                                   {"rule", "invalid-item"},
                                                   {"message", "Invalid ZUNO Data Item 'BAD' on line 1"}}));
    EXPECT_EQ(problems[1].toObject().value("column"), 5);
    EXPECT_EQ(problems[1].toObject().value("endColumn"), 8);
    EXPECT_EQ(problems[1].toObject().value("severity"), "warning");
    EXPECT_EQ(problems[1].toObject().value("rule"), "round-trip");
    EXPECT_TRUE(files[2].toObject().value("error").toString().contains("No such file or directory"));
}

TEST_F(Check, AFolderStandsForItsDataFilesInAStableOrderWithoutFollowingLinksToFolders)
{
    const QString top = m_dir.filePath("project");
    for (const char *name : {"b.prj", "A.Ctl", "notes.txt", "PRJ", "sub/c.SUP", "sub/deeper/d.ali", "a2.edi",
                             "x.Pro", "y.pac", "z.CAL"})
        file(QStringLiteral("project/") + name, "AC:1");
    file("outside/far.PRJ", "AC:1");
    ASSERT_TRUE(QFile::link(m_dir.filePath("outside"), top + "/linked"));
    ASSERT_TRUE(QFile::link(m_dir.filePath("outside/far.PRJ"), top + "/near.PRJ"));
    ASSERT_TRUE(QFile::link(m_dir.filePath("outside"), top + "/folder.PRJ"));
    const WalkedFiles walked = walkArguments({top, m_dir.filePath("outside/far.PRJ")});
    QStringList relative;
    for (const QString &path : walked.files)
        relative.append(QDir(m_dir.path()).relativeFilePath(path));
    EXPECT_EQ(relative, QStringList({"project/A.Ctl", "project/a2.edi", "project/b.prj", "project/near.PRJ",
                                     "project/sub/c.SUP", "project/sub/deeper/d.ali", "project/x.Pro",
                                     "project/y.pac", "project/z.CAL", "outside/far.PRJ"}));
    EXPECT_TRUE(walked.errors.isEmpty());
    // A name that is not there is taken as a file, which cannot be read.
    const Outcome locked = run({m_dir.filePath("nowhere"), top});
    EXPECT_EQ(locked.status, 2);
}

TEST_F(Check, ThreadsReportInTheOrderOfOneThread)
{
    // Files of every size and kind of problem, in several folders.
    qsizetype errors = 0;
    qsizetype clean = 0;
    for (int i = 0; i < 300; ++i) {
        QByteArray text = "AC:" + QByteArray::number(i);
        qsizetype bad = 0;
        for (int line = 0; line < (i * 37) % 400; ++line) {
            const bool isBad = line % 97 == i % 97;
            text += isBad ? "\r\nBAD " + QByteArray::number(line) : QByteArray("\r\nPL:1,2,3");
            bad += isBad;
        }
        if (i % 5 == 0)
            text += "\r\nNM:A  B";
        errors += bad;
        clean += bad == 0 && i % 5 != 0;
        file(QStringLiteral("tree/%1/f%2.PRJ").arg(i % 7).arg(i, 3, 10, QLatin1Char('0')), text);
    }
    const Outcome serial = run({"--verbose", m_dir.filePath("tree")}, 1);
    EXPECT_EQ(serial.status, 1);
    EXPECT_EQ(serial.out.count(": error: "), errors);
    EXPECT_EQ(serial.out.count(": warning: "), 60);
    EXPECT_EQ(serial.out.count(": OK\n"), clean);
    EXPECT_TRUE(serial.out.startsWith(m_dir.filePath("tree/0/f000.PRJ").toUtf8()));
    for (int threads : {2, 4, 16}) {
        const Outcome parallel = run({"--verbose", m_dir.filePath("tree")}, threads);
        EXPECT_EQ(parallel.out, serial.out) << threads;
        EXPECT_EQ(parallel.status, serial.status);
    }
}

TEST(CheckReport, ArtifactUrisArePercentEncodedReferences)
{
    EXPECT_EQ(artifactUri("dir/a b#1.PRJ"), "dir/a%20b%231.PRJ");
    EXPECT_EQ(artifactUri("/srv/x y.PRJ"), "file:///srv/x%20y.PRJ");
}

} // namespace
} // namespace zuno
