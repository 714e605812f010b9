// A small program around the text-file layer for the tests that need a
// process of their own: writing as another (unprivileged) user, and saves
// that are killed part way.
//
//   textfile_driver write PATH TEXT [FSIZE_LIMIT]
//       writes TEXT to PATH; with FSIZE_LIMIT, files may grow to that many
//       bytes only (a full disk, as any user)
//   textfile_driver copy PATH SOURCE READY
//       reads SOURCE, creates the file READY, then writes SOURCE's text to
//       PATH in SOURCE's format
//
// Prints "ok", or "error: <reason>" and, when the reason concerns a folder,
// "folder: <folder>". Exit status 0, 1 on a failed write, 2 on bad use.
#include "textfile/TextFile.h"

#include <QFile>
#include <QString>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>

namespace {

int report(const zuno::TextFileError *error)
{
    if (!error) {
        std::puts("ok");
        return 0;
    }
    std::printf("error: %s\n", error->message.toUtf8().constData());
    if (!error->folder.isEmpty())
        std::printf("folder: %s\n", error->folder.toUtf8().constData());
    return 1;
}

int report(const zuno::Result<zuno::WrittenText, zuno::TextFileError> &written)
{
    return report(written.ok() ? nullptr : &written.error());
}

} // namespace

int main(int argc, char **argv)
{
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (command == u"write" && (argc == 4 || argc == 5)) {
        if (argc == 5) {
            std::signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit {};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = rlim_t(QByteArray(argv[4]).toLongLong());
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                return 2;
        }
        return report(zuno::writeTextFile(QString::fromLocal8Bit(argv[2]), argv[3], {}));
    }
    if (command == u"copy" && argc == 5) {
        auto source = zuno::readTextFile(QString::fromLocal8Bit(argv[3]));
        if (!source.ok())
            return report(&source.error());
        const auto &content = source.value();
        QFile ready(QString::fromLocal8Bit(argv[4]));
        if (!ready.open(QIODevice::WriteOnly))
            return 2;
        ready.close();
        return report(zuno::writeTextFile(QString::fromLocal8Bit(argv[2]), content.text, content.format));
    }
    std::fputs("usage: textfile_driver write PATH TEXT [FSIZE_LIMIT] | copy PATH SOURCE READY\n", stderr);
    return 2;
}
