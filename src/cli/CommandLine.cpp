#include "cli/CommandLine.h"
#include "cli/CheckCommand.h"
#include "cli/PieceConvert.h"
#include "cli/StreamedOutput.h"

#include <QCoreApplication>

#include "format/ConversionMessages.h"
#include "textfile/FileNames.h"
#include "textfile/PosixIo.h"
#include "textfile/TextFile.h"
#include "Version.h"

#include <QFile>
#include <QFileDevice>
#include <algorithm>
#include <cstdio>

#include <signal.h>
#include <unistd.h>

namespace zuno {

namespace {

constexpr int ExitOk = 0;
constexpr int ExitInvalidData = 1;
constexpr int ExitTrouble = 2;

const QString StandardInputName = QStringLiteral("-");
const QString EndOfOptions = QStringLiteral("--");

QString usageText()
{
    return QCoreApplication::translate("Converter",
        "Usage: zunopad [--] [FILE...]\n"
        "       zunopad --to-record [--] FILE\n"
        "       zunopad --to-list [--] FILE\n"
        "       zunopad --check [--verbose] [--warnings-as-errors] [--format=FORM] [--] FILE...\n"
        "       zunopad --lsp\n"
        "       zunopad --help | --version\n"
        "\n"
        "Without an option, opens FILE (or an empty document) in the editor. The words\n"
        "of the command line are joined with single blanks and every double quote is\n"
        "removed; when that names a file, it is the one FILE. Otherwise each argument\n"
        "is a FILE: the first opens in this window, each further one in a window of\n"
        "its own. A FILE that another ZUNOPad window holds brings that window forward\n"
        "(over the session bus; without one it is opened read-only). The editor's keys\n"
        "stand beside its menu entries; see zunopad(1).\n"
        "\n"
        "  --to-record FILE  print FILE, a ZUNO data file in the List layout, in the\n"
        "                    Record layout\n"
        "  --to-list FILE    print FILE, text in the Record layout, in the List layout\n"
        "  --check FILE...   list every problem of each FILE as the editor marks it in\n"
        "                    the List view, one a line: FILE:LINE:COLUMN: error: MESSAGE\n"
        "                    (a line that is not a data item) or ...: warning: MESSAGE\n"
        "                    (one that would not come back unchanged from the Record\n"
        "                    layout). A FILE that is a folder stands for the ZUNO data\n"
        "                    files in it and below it, checked on every core.\n"
        "    --verbose             also print FILE: OK for a file without problems\n"
        "    --warnings-as-errors  exit with status 1 on warnings too\n"
        "    --format=FORM         text (the default), json or sarif (SARIF 2.1.0)\n"
        "  --lsp             serve the Language Server Protocol on standard input and\n"
        "                    output, for other editors: the problems, the records, the\n"
        "                    folding of records and what each item is\n"
        "  --help            show this help and exit\n"
        "  --version         show the version and exit\n"
        "  --                end the options: a FILE may then begin with -\n"
        "\n"
        "FILE may be - for standard input; otherwise it must be a regular file, not a\n"
        "pipe or a device. Input of more than 512 MiB is refused. The output keeps the\n"
        "input's encoding and line endings. Exit status: 0 on success, 1 when the data\n"
        "is invalid (--check: an error was found), 2 when a file cannot be read, the\n"
        "output cannot be written or the command is wrong.\n");
}

class Converter {
    Q_DECLARE_TR_FUNCTIONS(Converter)

public:
    Converter(QIODevice &in, QIODevice &out, QIODevice &err) : m_in(in), m_out(out), m_err(err) {}

    int run(QStringList args)
    {
        // --check's own options may come before it.
        const qsizetype check = args.indexOf(QStringLiteral("--check"));
        if (check > 0 && std::all_of(args.begin(), args.begin() + check, isCheckOption))
            args.move(check, 0);
        const QString &option = args.value(0);
        QStringList files = args.mid(1);
        // "--" ends the options: what follows is a FILE, whatever it looks like.
        if (files.value(0) == EndOfOptions)
            files.removeFirst();
        if (option == u"--help")
            return writeOut(usageText().toUtf8());
        if (option == u"--version")
            return writeOut((aboutText() + u'\n').toUtf8());
        if (option == u"--to-record" || option == u"--to-list") {
            if (files.size() != 1)
                return usageError(tr("%1 needs exactly one FILE").arg(option));
            return convert(files.first(), option == u"--to-record");
        }
        if (option == u"--check")
            return runCheck(args.mid(1), m_in, m_out, [this](const QString &message) { complain(message); });
        return usageError(tr("unknown option '%1'").arg(option));
    }

private:
    int convert(const QString &file, bool toRecord)
    {
        auto content = read(file);
        if (!content.ok())
            return ExitTrouble;
        const TextFileFormat format = content.value().format;
        // A UTF-8 text with "\r\n" line breaks is its own output, which
        // is written as it is made.
        if (format == TextFileFormat{}) {
            if (auto stream = openStream(file))
                return convertStreamed(*stream, content.value().text, toRecord);
            return convertToUnsure(content.value().text, toRecord);
        }
        const ConversionResult<QByteArray> result = toRecord ? convertToRecordLayout(content.value().text)
                                                             : convertToListLayout(content.value().text);
        // The input is no longer needed.
        content.value().text = QByteArray();
        content.value().storage.reset();
        if (!result.ok()) {
            complain(conversionWarning(result.error()));
            return ExitInvalidData;
        }
        return writeOut(encodeText(result.value(), format));
    }

    std::unique_ptr<StreamedOutput> openStream(const QString &file)
    {
        auto *out = qobject_cast<QFile *>(&m_out);
        if (!out || out->pos() != 0)
            return nullptr;
        return StreamedOutput::open(out->handle(), file == StandardInputName ? QByteArray() : fileNameBytes(file));
    }

    int convertStreamed(StreamedOutput &stream, QByteArrayView text, bool toRecord)
    {
        const ConversionSink sink = [&stream](QByteArrayView piece) { stream.write(piece); };
        const auto done = convertForOutput(text, toRecord, sink);
        if (!done.ok() || !stream.ok())
            stream.takeBack();
        if (!done.ok()) {
            complain(conversionWarning(done.error()));
            return ExitInvalidData;
        }
        if (!stream.ok()) {
            complain(tr("cannot write the output: %1").arg(textfile::systemReason(stream.error())));
            return ExitTrouble;
        }
        return ExitOk;
    }

    // Into an output that cannot be taken back: written only once the
    // whole text is known to convert, as it is converted again.
    int convertToUnsure(QByteArrayView text, bool toRecord)
    {
        bool written = true;
        const auto done = convertCheckedFirst(text, toRecord, [&](QByteArrayView piece) {
            written = written && m_out.write(piece.data(), piece.size()) == piece.size();
        });
        if (!done.ok()) {
            complain(conversionWarning(done.error()));
            return ExitInvalidData;
        }
        if (auto *file = qobject_cast<QFileDevice *>(&m_out))
            written = file->flush() && written && file->error() == QFileDevice::NoError;
        if (!written) {
            complain(tr("cannot write the output: %1").arg(m_out.errorString()));
            return ExitTrouble;
        }
        return ExitOk;
    }

    static QString displayName(const QString &file)
    {
        // A byte of the name that is not UTF-8 shows as U+FFFD.
        return file == StandardInputName ? tr("(standard input)") : displayedFileName(file);
    }

    // Says why a file cannot be read, and answers that it could not.
    Result<TextFileContent, TextFileError> read(const QString &file)
    {
        // Standard input is read up to the size limit, a FILE only when it
        // is a regular file of at most that size.
        const bool standardInput = file == StandardInputName;
        auto result = standardInput ? readTextStream(m_in) : readTextOnly(file);
        if (!result.ok()) {
            complain(standardInput ? tr("cannot read standard input: %1").arg(result.error().message)
                                   : tr("cannot read '%1': %2").arg(displayName(file), result.error().message));
        }
        return result;
    }

    int writeOut(QByteArrayView bytes)
    {
        bool ok = m_out.write(bytes.data(), bytes.size()) == bytes.size();
        if (auto *file = qobject_cast<QFileDevice *>(&m_out))
            ok = file->flush() && ok && file->error() == QFileDevice::NoError;
        if (!ok) {
            complain(tr("cannot write the output: %1").arg(m_out.errorString()));
            return ExitTrouble;
        }
        return ExitOk;
    }

    int usageError(const QString &message)
    {
        complain(tr("%1\nTry 'zunopad --help' for more information.").arg(message));
        return ExitTrouble;
    }

    void complain(const QString &message)
    {
        m_err.write((tr("zunopad: %1").arg(message) + u'\n').toUtf8());
        if (auto *file = qobject_cast<QFileDevice *>(&m_err))
            file->flush();
    }

    QIODevice &m_in;
    QIODevice &m_out;
    QIODevice &m_err;
};

// A FILE is read mapped into memory: one that someone else cuts short
// while it is read ends the command with this message, not a crash.
QByteArray g_cutShortMessage;

extern "C" void onCutShort(int)
{
    const ssize_t written = ::write(STDERR_FILENO, g_cutShortMessage.constData(), size_t(g_cutShortMessage.size()));
    (void)written;
    exitTakingOutputBack(ExitTrouble);
}

void reportFilesCutShort()
{
    g_cutShortMessage = (QCoreApplication::translate("Converter", "zunopad: %1")
                             .arg(QCoreApplication::translate("Converter", "cannot read the input: it was cut short while being read"))
                         + u'\n')
                            .toUtf8();
    struct sigaction action {};
    action.sa_handler = onCutShort;
    ::sigaction(SIGBUS, &action, nullptr);
}

} // namespace

int runConverter(const QStringList &args, QIODevice &in, QIODevice &out, QIODevice &err)
{
    return Converter(in, out, err).run(args);
}

std::optional<int> runConverterCommand(int argc, char **argv)
{
    // A FILE's name keeps its bytes, UTF-8 or not.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(fileNameFromBytes(argv[i]));
    // "--" first: the editor, with the FILE that follows.
    if (args.isEmpty() || !args.first().startsWith(EndOfOptions) || args.first() == EndOfOptions)
        return std::nullopt;

    reportFilesCutShort();
    QFile in;
    QFile out;
    QFile err;
    in.open(stdin, QIODevice::ReadOnly);
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly);
    return runConverter(args, in, out, err);
}

} // namespace zuno
