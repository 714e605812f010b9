// The built program as a command-line converter: it needs no display and
// speaks through its exit status, standard output and standard error.
#include <gtest/gtest.h>

#include "Version.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace {

struct Outcome {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// Waits (with a deadline) for the started process and gathers what it said.
Outcome outcomeOf(QProcess &process)
{
    EXPECT_TRUE(process.waitForFinished(30000));
    Outcome outcome;
    outcome.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    outcome.out = process.readAllStandardOutput();
    outcome.err = process.readAllStandardError();
    return outcome;
}

Outcome runProgram(const QStringList &args, const QByteArray &input = {}, const QString &outputFile = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // No display of any kind.
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(environment);
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    process.start(QStringLiteral(ZUNO_BINARY), args);
    EXPECT_TRUE(process.waitForStarted());
    process.write(input);
    process.closeWriteChannel();
    return outcomeOf(process);
}

TEST(ProgramConverter, ConvertsTheExampleAndBackWithoutADisplay)
{
    const QString example = QStringLiteral(ZUNO_EXAMPLES_DIR "/ROAD1.PRJ");
    QFile original(example);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));

    const Outcome record = runProgram({"--to-record", example});
    ASSERT_EQ(record.status, 0) << record.err.constData();
    EXPECT_TRUE(record.out.startsWith("PN:ROAD1  DS:"));
    EXPECT_TRUE(record.err.isEmpty());

    const Outcome list = runProgram({"--to-list", "-"}, record.out);
    ASSERT_EQ(list.status, 0) << list.err.constData();
    EXPECT_EQ(list.out, original.readAll());

    const Outcome version = runProgram({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, (zuno::aboutText() + u'\n').toUtf8());
}

TEST(ProgramConverter, ReportsFailuresThroughTheExitStatus)
{
    const Outcome invalid = runProgram({"--to-record", "-"}, "AC:1\r\nX Y");
    EXPECT_EQ(invalid.status, 1);
    EXPECT_TRUE(invalid.out.isEmpty());
    EXPECT_EQ(invalid.err, QByteArray("zunopad: Invalid ZUNO Data Item 'X Y' on line 2\n"));

    const Outcome full = runProgram({"--to-record", QStringLiteral(ZUNO_EXAMPLES_DIR "/ROAD1.PRJ")}, {},
                                    QStringLiteral("/dev/full"));
    EXPECT_EQ(full.status, 2);
    EXPECT_TRUE(full.err.startsWith("zunopad: cannot write the output: ")) << full.err.constData();

    const Outcome unknown = runProgram({"--bogus"});
    EXPECT_EQ(unknown.status, 2);
}

// The program run by the shell, for what QProcess cannot pass: names that
// are not UTF-8, a file-size limit.
Outcome runShell(const QString &script, const QString &folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script, QStringLiteral(ZUNO_BINARY)});
    EXPECT_TRUE(process.waitForStarted());
    return outcomeOf(process);
}

TEST(ProgramConverter, NamesThatAreNotUtf8AreReadByTheirBytes)
{
    QTemporaryDir dir;
    const Outcome r = runShell(QStringLiteral("name=$(printf 'caf\\351.PRJ'); printf 'AC:1\\r\\nBG:2' > \"$name\"; "
                                              "\"$0\" --to-record \"$name\"; status=$?; "
                                              // (Qt cannot remove what it cannot name.)
                                              "rm -f \"$name\"; exit $status"),
                               dir.path());
    EXPECT_EQ(r.status, 0) << r.err.constData();
    EXPECT_EQ(r.out, QByteArray("AC:1\r\nBG:2"));
}

TEST(ProgramConverter, AFileSizeLimitGivesAMessageNotADeath)
{
    // Output beyond `ulimit -f` (blocks of 512 bytes): the write fails with
    // the system's reason instead of the signal ending the program.
    QTemporaryDir dir;
    const Outcome r = runShell(QStringLiteral("ulimit -f 1; \"$0\" --to-record \"%1\" > out.txt")
                                   .arg(QStringLiteral(ZUNO_EXAMPLES_DIR "/ROAD1.PRJ")),
                               dir.path());
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, QByteArray("zunopad: cannot write the output: File too large\n"));
    EXPECT_EQ(QFile(dir.filePath(QStringLiteral("out.txt"))).size(), 0);
}

TEST(ProgramConverter, OutputWrittenToAFileIsTakenBackOnAFault)
{
    // Several megabytes of output are written before the fault at the end
    // is found: the file is left as it was, whether made or appended to.
    QTemporaryDir dir;
    QByteArray valid;
    while (valid.size() < 3'000'000)
        valid += "AC:1\r\nNM:NAME\r\nBG:2\r\nPL:1,2,3\r\n";
    QFile good(dir.filePath(QStringLiteral("good.lst")));
    QFile bad(dir.filePath(QStringLiteral("bad.lst")));
    ASSERT_TRUE(good.open(QIODevice::WriteOnly) && good.write(valid + "HT:1") > 0);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly) && bad.write(valid + "X Y") > 0);
    good.close();
    bad.close();

    const Outcome r = runShell(QStringLiteral("\"$0\" --to-record good.lst > made.rec; echo $? >> status; "
                                              "\"$0\" --to-record bad.lst > empty.rec; echo $? >> status; "
                                              "printf OLD > kept.rec; \"$0\" --to-record bad.lst >> kept.rec; "
                                              "echo $? >> status; \"$0\" --to-record good.lst"),
                               dir.path());
    const auto contentOf = [&](const char *name) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    };
    EXPECT_EQ(contentOf("status"), QByteArray("0\n1\n1\n"));
    EXPECT_GT(r.out.size(), 3'000'000);
    EXPECT_EQ(contentOf("made.rec"), r.out);
    EXPECT_EQ(contentOf("empty.rec"), QByteArray());
    EXPECT_EQ(contentOf("kept.rec"), QByteArray("OLD"));
}

TEST(ProgramConverter, EndlessStandardInputStopsAtTheLimit)
{
    // Standard input stays allowed, but reading stops past 512 MiB instead
    // of growing until memory runs out.
    QProcess process;
    process.setStandardInputFile(QStringLiteral("/dev/zero"));
    process.start(QStringLiteral(ZUNO_BINARY), {QStringLiteral("--to-record"), QStringLiteral("-")});
    ASSERT_TRUE(process.waitForStarted());
    ASSERT_TRUE(process.waitForFinished(60000)) << "still reading after 60 s";
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_EQ(process.readAllStandardError(),
              QByteArray("zunopad: cannot read standard input: Input too large (more than 512 MiB)\n"));
    EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
}

} // namespace
