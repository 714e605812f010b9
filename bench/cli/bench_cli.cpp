// The command-line converter as a whole process: zunopad --to-record and
// --to-list on a generated List file of about 50 MB (and its Record layout),
// beside the floors measured in the same run on the same file: cat FILE >
// /dev/null, wc -l FILE, and a line splitter that maps the file and finds
// each "\r\n" with memchr (this program itself, called with --split FILE).
// The converter writes to /dev/null, to a new file and to a pipe that this
// program reads; the start-up is measured on an empty file. For each: the
// best wall-clock time of five runs, its MB/s (1 MB = 10^6 bytes of the
// input), its CPU time, and the peak resident memory of the process against
// the input's size. Targets: start-up below 10 ms, 1 GB/s to a file, peak
// within 1.5x the input everywhere.
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

// Where a command's standard output goes.
enum class Output { Null, File, Pipe };

Measure measure(const std::vector<std::string> &command, Output output = Output::Null, int runs = 5,
                const std::string &outputFile = std::string())
{
    Measure m;
    for (int run = 0; run < runs; ++run) {
        // A new file each run, as "> FILE" makes it.
        if (output == Output::File)
            ::unlink(outputFile.c_str());
        int pipeFds[2] = {-1, -1};
        if (output == Output::Pipe && ::pipe(pipeFds) != 0)
            return m;
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = ::fork();
        if (child == 0) {
            const int out = output == Output::Pipe ? pipeFds[1]
                : output == Output::File          ? ::open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)
                                                  : ::open("/dev/null", O_WRONLY);
            ::dup2(out, STDOUT_FILENO);
            if (output == Output::Pipe)
                ::close(pipeFds[0]);
            std::vector<char *> argv;
            for (const std::string &word : command)
                argv.push_back(const_cast<char *>(word.c_str()));
            argv.push_back(nullptr);
            ::execvp(argv[0], argv.data());
            ::_exit(127);
        }
        if (output == Output::Pipe) {
            // Read as `cat > /dev/null` would.
            ::close(pipeFds[1]);
            static char buffer[1 << 16];
            while (::read(pipeFds[0], buffer, sizeof buffer) > 0) {
            }
            ::close(pipeFds[0]);
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
    const std::string out = dir.filePath(QStringLiteral("OUT")).toStdString();
    const std::string empty = dir.filePath(QStringLiteral("EMPTY.PRJ")).toStdString();
    QFile(QString::fromStdString(empty)).open(QIODevice::WriteOnly);

    // Start-up: the whole process on an empty file, best of 20 runs.
    std::printf("Start-up on an empty file, best of 20 runs, output to /dev/null\n");
    std::printf("%-36s %8s %8s %9s\n", "command", "wall ms", "cpu ms", "peak MB");
    bool met = true;
    for (const auto &row : {std::pair<const char *, std::vector<std::string>>{"cat EMPTY", {"cat", empty}},
                            {"zunopad --to-record EMPTY", {ZUNO_BINARY, "--to-record", empty}}}) {
        const Measure m = measure(row.second, Output::Null, 20);
        std::printf("%-36s %8.1f %8.1f %9.1f\n", row.first, m.wall * 1e3, m.cpu * 1e3, double(m.peakKb) / 1024);
        if (row.second.front() == ZUNO_BINARY)
            met = met && m.wall < 0.010 && m.status == 0;
    }

    std::printf("\nList file %.1f MB, its Record layout %.1f MB; best of 5 runs\n", listMb, recordMb);
    std::printf("%-36s %8s %9s %8s %9s %7s\n", "command", "wall ms", "MB/s", "cpu ms", "peak MB", "x input");
    struct Row {
        const char *name;
        std::vector<std::string> command;
        double mb;
        Output output;
        bool target; // >= 1 GB/s
    };
    const Row rows[] = {
        {"cat FILE > /dev/null", {"cat", l}, listMb, Output::Null, false},
        {"cat FILE > OUT", {"cat", l}, listMb, Output::File, false},
        {"cat FILE | (pipe)", {"cat", l}, listMb, Output::Pipe, false},
        {"wc -l FILE", {"wc", "-l", l}, listMb, Output::Null, false},
        {"memchr line splitter", {argv[0], "--split", l}, listMb, Output::Null, false},
        {"zunopad --to-record > /dev/null", {ZUNO_BINARY, "--to-record", l}, listMb, Output::Null, false},
        {"zunopad --to-record > OUT", {ZUNO_BINARY, "--to-record", l}, listMb, Output::File, true},
        {"zunopad --to-record | (pipe)", {ZUNO_BINARY, "--to-record", l}, listMb, Output::Pipe, false},
        {"zunopad --to-list > /dev/null", {ZUNO_BINARY, "--to-list", r}, recordMb, Output::Null, false},
        {"zunopad --to-list > OUT", {ZUNO_BINARY, "--to-list", r}, recordMb, Output::File, true},
        {"zunopad --to-list | (pipe)", {ZUNO_BINARY, "--to-list", r}, recordMb, Output::Pipe, false},
        {"zunopad --check", {ZUNO_BINARY, "--check", l}, listMb, Output::Null, false},
    };
    for (const Row &row : rows) {
        const Measure m = measure(row.command, row.output, 5, out);
        const double speed = row.mb / m.wall;
        const double peak = double(m.peakKb) * 1024 / 1e6;
        std::printf("%-36s %8.0f %9.0f %8.0f %9.1f %7.2f%s\n", row.name, m.wall * 1e3, speed, m.cpu * 1e3, peak,
                    peak / row.mb, m.status == 0 ? "" : "  (failed)");
        const bool converter = row.command.front() == ZUNO_BINARY && row.command[1] != "--check";
        if (converter)
            met = met && peak <= 1.5 * row.mb && m.status == 0;
        if (row.target)
            met = met && speed >= 1000;
    }
    ::unlink(out.c_str());
    std::printf("Targets: start-up below 10 ms; --to-record and --to-list >= 1000 MB/s to a file, "
                "peak <= 1.5x the input to a file, to /dev/null and to a pipe: %s\n",
                met ? "met" : "MISSED");
    return 0;
}
