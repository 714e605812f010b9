// The command-line converter as a whole process: zunopad --to-record and
// --to-list on a generated List file of about 50 MB (and its Record layout),
// beside the floors measured in the same run on the same file: cat FILE >
// /dev/null, wc -l FILE, and a line splitter that maps the file and finds
// each "\r\n" with memchr (this program itself, called with --split FILE).
// Every command writes to /dev/null. For each: the best wall-clock time of
// five runs, its MB/s (1 MB = 10^6 bytes of the input), its CPU time, and
// the peak resident memory of the process against the input's size.
// Targets: 500 MB/s whole process, peak within 2x the input.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr qsizetype TargetSize = 50'000'000;

// The lines of the file, split on "\r\n" with memchr; prints their count.
int split(const char *path)
{
    const int fd = ::open(path, O_RDONLY);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0)
        return 2;
    const size_t size = size_t(info.st_size);
    const char *p = static_cast<const char *>(::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0));
    if (p == MAP_FAILED)
        return 2;
    const char *const end = p + size;
    long lines = 1;
    while (p < end) {
        const auto *cr = static_cast<const char *>(std::memchr(p, '\r', size_t(end - p)));
        if (!cr)
            break;
        lines += cr + 1 < end && cr[1] == '\n';
        p = cr + 1;
    }
    std::printf("%ld\n", lines);
    return 0;
}

// A List file of ZUNO-like records: names, line starts, point lists of all
// lengths cut over several lines, other items.
QByteArray listText(qsizetype size)
{
    std::mt19937 rng(42);
    const auto uniform = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    QByteArray text;
    text.reserve(size + 4096);
    const auto item = [&](const QByteArray &line) {
        if (!text.isEmpty())
            text += "\r\n";
        text += line;
    };
    int record = 1000;
    while (text.size() < size) {
        item("AC:" + QByteArray::number(++record));
        item("NM:CHAIN " + QByteArray::number(record) + " STAGE " + QByteArray::number(uniform(1, 4)));
        item("BG:C" + QByteArray::number(uniform(1, 99)));
        const int kind = uniform(1, 10);
        const int count = kind <= 6 ? uniform(3, 12) : kind <= 9 ? uniform(13, 40) : uniform(41, 200);
        QByteArray values = "PL:";
        int point = uniform(1000, 90000);
        for (int i = 0; i < count; ++i) {
            values += (i ? "," : "") + QByteArray::number(point);
            point += uniform(1, 3);
        }
        while (values.size() > 80) {
            const qsizetype comma = values.lastIndexOf(',', 79);
            item(values.left(comma + 1));
            values = "PL:" + values.mid(comma + 1);
        }
        item(values);
        item("HT:" + QByteArray::number(uniform(80, 140)) + '.' + QByteArray::number(uniform(100, 999)));
    }
    return text;
}

struct Measure {
    double wall = 1e9; // s, best run
    double cpu = 0;    // s, user + system of that run
    long peakKb = 0;   // the largest of all runs
    int status = 0;
};

Measure measure(const std::vector<std::string> &command, int runs = 5)
{
    Measure m;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = ::fork();
        if (child == 0) {
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, STDOUT_FILENO);
            std::vector<char *> argv;
            for (const std::string &word : command)
                argv.push_back(const_cast<char *>(word.c_str()));
            argv.push_back(nullptr);
            ::execvp(argv[0], argv.data());
            ::_exit(127);
        }
        int status = 0;
        struct rusage usage {};
        ::wait4(child, &status, 0, &usage);
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        m.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        m.peakKb = std::max(m.peakKb, usage.ru_maxrss);
        if (wall < m.wall) {
            m.wall = wall;
            m.cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
                + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        }
    }
    return m;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--split") == 0)
        return split(argv[2]);

    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("BIG.PRJ"));
    const QString record = dir.filePath(QStringLiteral("BIG.REC"));
    {
        QFile file(list);
        if (!file.open(QIODevice::WriteOnly) || file.write(listText(TargetSize)) < 0)
            return 2;
    }
    {
        // The Record layout, made by the program itself.
        const std::string command = std::string(ZUNO_BINARY) + " --to-record '" + list.toStdString() + "' > '"
            + record.toStdString() + "'";
        if (std::system(command.c_str()) != 0)
            return 2;
    }
    const double listMb = double(QFile(list).size()) / 1e6;
    const double recordMb = double(QFile(record).size()) / 1e6;
    const std::string l = list.toStdString();
    const std::string r = record.toStdString();
    std::printf("List file %.1f MB, its Record layout %.1f MB; best of 5 runs, output to /dev/null\n", listMb,
                recordMb);
    std::printf("%-28s %8s %9s %8s %9s %7s\n", "command", "wall ms", "MB/s", "cpu ms", "peak MB", "x input");
    struct Row {
        const char *name;
        std::vector<std::string> command;
        double mb;
        bool target;
    };
    const Row rows[] = {
        {"cat FILE", {"cat", l}, listMb, false},
        {"wc -l FILE", {"wc", "-l", l}, listMb, false},
        {"memchr line splitter", {argv[0], "--split", l}, listMb, false},
        {"zunopad --to-record", {ZUNO_BINARY, "--to-record", l}, listMb, true},
        {"zunopad --to-list", {ZUNO_BINARY, "--to-list", r}, recordMb, true},
        {"zunopad --check", {ZUNO_BINARY, "--check", l}, listMb, false},
    };
    bool met = true;
    for (const Row &row : rows) {
        const Measure m = measure(row.command);
        const double speed = row.mb / m.wall;
        const double peak = double(m.peakKb) * 1024 / 1e6;
        std::printf("%-28s %8.0f %9.0f %8.0f %9.1f %7.2f%s\n", row.name, m.wall * 1e3, speed, m.cpu * 1e3, peak,
                    peak / row.mb, m.status == 0 ? "" : "  (failed)");
        if (row.target)
            met = met && speed >= 500 && peak <= 2 * row.mb && m.status == 0;
    }
    std::printf("Targets for --to-record and --to-list: >= 500 MB/s, peak <= 2x the input: %s\n",
                met ? "met" : "MISSED");
    return 0;
}
