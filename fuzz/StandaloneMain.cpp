// A main for the fuzz targets without libFuzzer, so that the ordinary build
// runs them as a test: every file of the seed folder, then inputs made from
// them by random changes (bytes flipped, inserted, removed, runs copied)
// until the time is up. Not guided by coverage as libFuzzer is
// (scripts/fuzz); it keeps the targets alive and catches the plain faults.
//
//   fuzz_TARGET_run SEED_FOLDER SECONDS
#include <QByteArray>
#include <QDir>
#include <QFile>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

void run(const QByteArray &input)
{
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(input.constData()), size_t(input.size()));
}

QByteArray mutated(QByteArray input, std::mt19937 &rng)
{
    const auto below = [&](qsizetype n) { return qsizetype(std::uniform_int_distribution<qint64>(0, n - 1)(rng)); };
    static const char interesting[] = {'\r', '\n', ' ', ',', ':', 'P', 'L', 'A', '\0', '\xEF', '\xBB', '\xBF', '\xC3', '\xFF'};
    const int changes = 1 + int(below(8));
    for (int i = 0; i < changes; ++i) {
        const char byte = below(2) ? interesting[below(sizeof interesting)] : char(below(256));
        switch (below(4)) {
        case 0:
            if (!input.isEmpty())
                input[below(input.size())] = byte;
            break;
        case 1:
            input.insert(below(input.size() + 1), byte);
            break;
        case 2:
            if (!input.isEmpty())
                input.remove(below(input.size()), 1 + below(4));
            break;
        default:
            if (!input.isEmpty() && input.size() < 8192) {
                const qsizetype from = below(input.size());
                input.insert(below(input.size() + 1), input.mid(from, 1 + below(32)));
            }
            break;
        }
    }
    return input;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fputs("usage: fuzz_TARGET_run SEED_FOLDER SECONDS\n", stderr);
        return 2;
    }
    std::vector<QByteArray> seeds;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (const QString &name : folder.entryList(QDir::Files, QDir::Name)) {
        QFile file(folder.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            seeds.push_back(file.readAll());
    }
    if (seeds.empty())
        seeds.push_back(QByteArray("\0AC:1\r\nPL:1,2", 13));
    for (const QByteArray &seed : seeds)
        run(seed);

    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(std::atof(argv[2]));
    std::mt19937 rng(std::random_device{}());
    long runs = 0;
    while (std::chrono::steady_clock::now() < end) {
        QByteArray input = seeds[size_t(rng() % seeds.size())];
        for (int i = 0; i < 64; ++i, ++runs)
            run(input = mutated(input, rng));
    }
    std::printf("%ld inputs, all held\n", runs + long(seeds.size()));
    return 0;
}
