#include "format/PieceConversion.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace zuno {

namespace {

bool startsWith(const char *p, const char *end, const char *prefix)
{
    const size_t length = std::strlen(prefix);
    return size_t(end - p) >= length && std::memcmp(p, prefix, length) == 0;
}

// Whether a line `[begin, end)` may follow a cut, and whether the line
// before it allows one.
bool mayStartPiece(const char *begin, const char *end, ConversionDirection direction)
{
    if (direction == ConversionDirection::ToRecord) {
        if (!startsWith(begin, end, "AC:"))
            return false;
        return !(end - begin == 5 && (startsWith(begin, end, "AC:OS") || startsWith(begin, end, "AC:PR")));
    }
    while (begin < end && *begin == ' ')
        ++begin;
    return !startsWith(begin, end, "PL:");
}

bool mayEndPiece(const char *begin, const char *end, ConversionDirection direction)
{
    if (direction == ConversionDirection::ToRecord)
        return begin < end && !startsWith(begin, end, "PL:");
    while (begin < end && *begin == ' ')
        ++begin;
    return begin < end;
}

// The end of the line that begins at `p` (its "\r\n", or the text's end).
const char *lineEnd(const char *p, const char *end)
{
    while (p < end) {
        p = static_cast<const char *>(std::memchr(p, '\r', size_t(end - p)));
        if (!p || end - p < 2)
            return end;
        if (p[1] == '\n')
            return p;
        ++p;
    }
    return end;
}

qsizetype lineBreaksBefore(QByteArrayView text, qsizetype at)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i + 1 < at; ++i) {
        if (text[i] == '\r' && text[i + 1] == '\n')
            ++count;
    }
    return count;
}

} // namespace

int conversionThreads()
{
    return std::clamp(int(std::thread::hardware_concurrency()), 1, 4);
}

QList<qsizetype> conversionCuts(QByteArrayView text, ConversionDirection direction, qsizetype pieceSize)
{
    QList<qsizetype> cuts{0};
    const char *const begin = text.data();
    const char *const end = begin + text.size();
    qsizetype from = pieceSize;
    while (from < text.size()) {
        // The line that holds `from`, then the lines after it.
        const char *line = lineEnd(begin + from, end);
        if (line == end)
            break;
        const char *previousStart = nullptr; // unknown for the first
        {
            // The start of the line that ends at `line`.
            const char *p = line;
            while (p > begin && !(p - begin >= 2 && p[-2] == '\r' && p[-1] == '\n'))
                --p;
            previousStart = p;
        }
        const char *previousEnd = line;
        bool cut = false;
        while (previousEnd < end) {
            const char *start = previousEnd + 2;
            const char *finish = lineEnd(start, end);
            if (mayEndPiece(previousStart, previousEnd, direction) && mayStartPiece(start, finish, direction)) {
                cuts.append(start - begin);
                cut = true;
                break;
            }
            previousStart = start;
            previousEnd = finish;
        }
        if (!cut)
            break;
        from = cuts.last() + pieceSize;
    }
    return cuts;
}

namespace {

ConversionResult<QByteArray> convertPiece(QByteArrayView piece, ConversionDirection direction, bool first)
{
    if (direction == ConversionDirection::ToList)
        return first ? convertToListLayout(piece) : convertToListLayoutFollowing(piece);
    Q_UNUSED(first);
    return convertToRecordLayout(piece);
}

} // namespace

Result<void, ConversionFault> convertInPieces(QByteArrayView text, ConversionDirection direction,
                                              const ConversionSink &sink, int threads, qsizetype pieceSize)
{
    QList<qsizetype> cuts = conversionCuts(text, direction, pieceSize);
    const qsizetype count = cuts.size();
    cuts.append(text.size() + 2); // as though a line break followed the text
    if (count == 1 || threads < 2) {
        return direction == ConversionDirection::ToRecord ? convertToRecordLayout(text, sink)
                                                          : convertToListLayout(text, sink);
    }

    // The results of the pieces converted and not yet handed over.
    std::vector<std::optional<ConversionResult<QByteArray>>> results(static_cast<size_t>(count));
    std::mutex mutex;
    std::condition_variable changed;
    qsizetype next = 0;   // the next piece to convert
    qsizetype handed = 0; // the pieces handed to the sink
    bool stop = false;
    // Pieces converted ahead of the sink, at most.
    const qsizetype ahead = threads;

    // Converts the piece `index` with the lock released.
    auto convertOne = [&](std::unique_lock<std::mutex> &lock, qsizetype index) {
        lock.unlock();
        const QByteArrayView piece = text.sliced(cuts[index], cuts[index + 1] - 2 - cuts[index]);
        auto converted = convertPiece(piece, direction, index == 0);
        lock.lock();
        results[size_t(index)].emplace(std::move(converted));
        changed.notify_all();
    };
    auto work = [&] {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return stop || next >= count || next < handed + ahead; });
            if (stop || next >= count)
                return;
            convertOne(lock, next++);
        }
    };
    std::vector<std::thread> helpers;
    for (int i = 1; i < threads; ++i)
        helpers.emplace_back(work);

    std::optional<ConversionFault> fault;
    {
        std::unique_lock lock(mutex);
        while (handed < count && !fault) {
            // The calling thread converts too while the next piece is not done.
            if (!results[size_t(handed)] && next < count && next < handed + ahead) {
                convertOne(lock, next++);
                continue;
            }
            changed.wait(lock, [&] { return results[size_t(handed)].has_value(); });
            ConversionResult<QByteArray> done = std::move(*results[size_t(handed)]);
            results[size_t(handed)].reset();
            if (!done.ok()) {
                ConversionFault located = done.error();
                located.lineNumber += lineBreaksBefore(text, cuts[handed]);
                fault = located;
                stop = true;
                changed.notify_all();
                break;
            }
            lock.unlock();
            // To the Record layout, the line being built before a cut ends
            // there with a line break.
            if (direction == ConversionDirection::ToRecord && handed > 0)
                sink(QByteArrayView("\r\n"));
            sink(done.value());
            lock.lock();
            ++handed;
            changed.notify_all();
        }
        stop = true;
        changed.notify_all();
    }
    for (std::thread &helper : helpers)
        helper.join();
    if (fault)
        return *fault;
    return {};
}

} // namespace zuno
