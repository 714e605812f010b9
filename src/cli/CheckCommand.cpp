#include "cli/CheckCommand.h"

#include "cli/CheckReport.h"
#include "cli/FolderWalk.h"
#include "format/ConversionMessages.h"
#include "textfile/FileNames.h"
#include "textfile/TextFile.h"
#include "Version.h"

#include <QCoreApplication>
#include <QFileDevice>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include <sched.h>

namespace zuno {

namespace {

class CheckCommand {
    Q_DECLARE_TR_FUNCTIONS(CheckCommand)
};

constexpr int ExitOk = 0;
constexpr int ExitProblems = 1;
constexpr int ExitTrouble = 2;

const QString FormatOption = QStringLiteral("--format=");

struct CheckRequest {
    bool verbose = false;
    bool warningsAsErrors = false;
    ReportFormat format = ReportFormat::Text;
    QStringList files;
};

std::optional<ReportFormat> formatNamed(QStringView name)
{
    if (name == u"text")
        return ReportFormat::Text;
    if (name == u"json")
        return ReportFormat::Json;
    if (name == u"sarif")
        return ReportFormat::Sarif;
    return std::nullopt;
}

// The options may stand before or after the files, as with other tools;
// "--" ends them, so that a file may be named like one.
std::optional<CheckRequest> parse(const QStringList &arguments, QString &error)
{
    CheckRequest request;
    bool options = true;
    for (const QString &argument : arguments) {
        if (options && argument == u"--") {
            options = false;
        } else if (options && argument == u"--verbose") {
            request.verbose = true;
        } else if (options && argument == u"--warnings-as-errors") {
            request.warningsAsErrors = true;
        } else if (options && argument.startsWith(FormatOption)) {
            const auto format = formatNamed(QStringView(argument).sliced(FormatOption.size()));
            if (!format) {
                error = CheckCommand::tr("unknown report format '%1' (text, json or sarif)")
                            .arg(argument.sliced(FormatOption.size()));
                return std::nullopt;
            }
            request.format = *format;
        } else {
            // Anything else is a FILE (also a name that begins with "--",
            // as before these options were known).
            request.files.append(argument);
        }
    }
    if (request.files.isEmpty()) {
        error = CheckCommand::tr("--check needs at least one FILE");
        return std::nullopt;
    }
    return request;
}

QString shownName(const QString &file)
{
    // A byte of the name that is not UTF-8 shows as U+FFFD.
    return file == u"-" ? CheckCommand::tr("(standard input)") : displayedFileName(file);
}

FileReport checkFile(const QString &file, QIODevice &in)
{
    FileReport report;
    report.name = shownName(file);
    const bool standardInput = file == u"-";
    const auto content = standardInput ? readTextStream(in) : readTextOnly(file);
    if (!content.ok()) {
        report.read = false;
        report.readError = standardInput
            ? CheckCommand::tr("cannot read standard input: %1").arg(content.error().message)
            : CheckCommand::tr("cannot read '%1': %2").arg(visibleControls(report.name), content.error().message);
        return report;
    }
    // A file on disk is in the List layout, as the editor opens it.
    report.problems = fileProblems(content.value().text, false);
    return report;
}

// Checks the files on `threads` threads and hands each report to `done` in
// the files' order, as soon as it and all before it are ready.
void checkInOrder(const QStringList &files, QIODevice &in, int threads,
                  const std::function<void(FileReport &)> &done)
{
    const qsizetype count = files.size();
    if (threads <= 1 || count <= 1) {
        for (const QString &file : files) {
            FileReport report = checkFile(file, in);
            done(report);
        }
        return;
    }
    // Standard input is read by whichever thread reaches it; only one does.
    std::vector<std::optional<FileReport>> reports(static_cast<size_t>(count));
    std::mutex mutex;
    std::condition_variable ready;
    std::atomic<qsizetype> next{0};
    const auto work = [&] {
        for (qsizetype i = next++; i < count; i = next++) {
            FileReport report = checkFile(files[i], in);
            std::lock_guard lock(mutex);
            reports[size_t(i)] = std::move(report);
            ready.notify_all();
        }
    };
    std::vector<std::thread> pool;
    for (qsizetype t = 0; t < std::min<qsizetype>(count, threads); ++t)
        pool.emplace_back(work);
    // This thread writes the reports while the pool checks.
    std::unique_lock lock(mutex);
    for (qsizetype reported = 0; reported < count; ++reported) {
        ready.wait(lock, [&] { return reports[size_t(reported)].has_value(); });
        FileReport report = std::move(*reports[size_t(reported)]);
        reports[size_t(reported)].reset();
        lock.unlock();
        done(report);
        lock.lock();
    }
    lock.unlock();
    for (std::thread &thread : pool)
        thread.join();
}

// The cores this process may run on.
int usableCores()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0)
        return std::max(1, CPU_COUNT(&set));
    return std::max(1, QThread::idealThreadCount());
}

bool writeAll(QIODevice &out, QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return true;
    bool ok = out.write(bytes.data(), bytes.size()) == bytes.size();
    if (auto *file = qobject_cast<QFileDevice *>(&out))
        ok = file->flush() && ok && file->error() == QFileDevice::NoError;
    return ok;
}

} // namespace

bool isCheckOption(const QString &argument)
{
    return argument == u"--verbose" || argument == u"--warnings-as-errors" || argument.startsWith(FormatOption);
}

int runCheck(const QStringList &arguments, QIODevice &in, QIODevice &out,
             const std::function<void(const QString &)> &complain, int threads)
{
    QString error;
    const auto request = parse(arguments, error);
    if (!request) {
        complain(CheckCommand::tr("%1\nTry 'zunopad --help' for more information.").arg(error));
        return ExitTrouble;
    }
    const WalkedFiles walked = walkArguments(request->files);
    bool trouble = !walked.errors.isEmpty();
    for (const QString &message : walked.errors)
        complain(message);

    bool errors = false;
    bool warnings = false;
    bool written = true;
    QList<FileReport> kept;
    checkInOrder(walked.files, in, threads > 0 ? threads : usableCores(),
                 [&](FileReport &report) {
                     if (!report.read) {
                         trouble = true;
                         complain(report.readError);
                     }
                     for (const FileProblem &problem : report.problems)
                         (problem.kind == ProblemKind::Error ? errors : warnings) = true;
                     if (request->format == ReportFormat::Text)
                         written = written && writeAll(out, textReport(report, request->verbose));
                     else
                         kept.append(std::move(report));
                 });
    if (request->format == ReportFormat::Json)
        written = writeAll(out, jsonReport(kept));
    else if (request->format == ReportFormat::Sarif)
        written = writeAll(out, sarifReport(kept, versionNumber()));
    if (!written) {
        complain(CheckCommand::tr("cannot write the output: %1").arg(out.errorString()));
        return ExitTrouble;
    }
    if (trouble)
        return ExitTrouble;
    return errors || (warnings && request->warningsAsErrors) ? ExitProblems : ExitOk;
}

} // namespace zuno
