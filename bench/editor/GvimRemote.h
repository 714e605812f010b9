#pragma once
// gvim for the key-to-screen benchmark: started on a file with a script of
// the benchmark's, and driven through Vim's client-server interface for
// everything but the keys measured.
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <thread>
#include <unistd.h>

namespace zuno::bench {

class Gvim {
public:
    Gvim(const QString &path, const QTemporaryDir &dir) : server_(QStringLiteral("ZUNOKEYS%1").arg(getpid()))
    {
        const QString script = dir.filePath(QStringLiteral("keys.vim"));
        QFile file(script);
        if (file.open(QIODevice::WriteOnly))
            file.write("set nocompatible backspace=indent,eol,start noswapfile\n"
                       "let g:ks = []\n"
                       "function! KsTake()\n"
                       "  let l:r = join(g:ks, \"\\n\")\n"
                       "  let g:ks = []\n"
                       "  return l:r\n"
                       "endfunction\n"
                       "set guicursor+=a:blinkon0 columns=80 lines=24\n"
                       "autocmd SafeState * call add(g:ks, b:changedtick . ' ' . reltimestr(reltime()))\n");
        file.close();
        process_.start(QStringLiteral("gvim"), {QStringLiteral("-f"), QStringLiteral("-u"), QStringLiteral("NONE"),
                                                QStringLiteral("-U"), QStringLiteral("NONE"), QStringLiteral("-i"),
                                                QStringLiteral("NONE"), QStringLiteral("-n"),
                                                QStringLiteral("--servername"), server_, QStringLiteral("-S"),
                                                script, path});
    }
    ~Gvim()
    {
        if (process_.state() != QProcess::NotRunning) {
            send(QStringLiteral("<Esc>:qa!<CR>"));
            if (!process_.waitForFinished(10'000))
                process_.kill();
            process_.waitForFinished(5'000);
        }
    }
    // Waits, up to `limitMs`, until the file is loaded and the server answers.
    bool ready(int limitMs)
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < limitMs && process_.state() != QProcess::NotRunning) {
            if (!expr(QStringLiteral("line('$')")).isEmpty())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        return false;
    }
    // Polls, up to `limitMs`, until the Vim expression is true.
    bool until(const QString &expression, int limitMs)
    {
        QElapsedTimer waited;
        waited.start();
        while (expr(expression).trimmed() != QLatin1String("1")) {
            if (waited.elapsed() > limitMs)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }
    QString expr(const QString &expression)
    {
        return remote({QStringLiteral("--remote-expr"), expression}).trimmed();
    }
    void send(const QString &keys) { remote({QStringLiteral("--remote-send"), keys}); }
    // The process's CPU time so far, in milliseconds.
    double cpuMs() const
    {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(process_.processId()));
        if (!stat.open(QIODevice::ReadOnly))
            return 0;
        const QList<QByteArray> fields = stat.readAll().split(')').value(1).split(' ');
        // After the name: state is field 3, utime 14 and stime 15.
        const double ticks = fields.value(12).toDouble() + fields.value(13).toDouble();
        return ticks * 1000.0 / double(sysconf(_SC_CLK_TCK));
    }

private:
    QString remote(QStringList arguments)
    {
        QProcess client;
        arguments.prepend(server_);
        arguments.prepend(QStringLiteral("--servername"));
        client.start(QStringLiteral("gvim"), arguments);
        if (!client.waitForFinished(30'000)) {
            client.kill();
            client.waitForFinished(5'000);
            return QString();
        }
        return QString::fromUtf8(client.readAllStandardOutput());
    }
    QString server_;
    QProcess process_;
};

} // namespace zuno::bench
