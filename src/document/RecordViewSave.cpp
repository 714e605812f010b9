#include "document/RecordViewSave.h"

#include "format/PieceConversion.h"

#include <cstring>

#include <sys/resource.h>
#include <unistd.h>

namespace zuno {

ListLayoutSave saveListLayout(const ITextFiles &files, const QString &path, QByteArrayView recordText,
                              const TextFileFormat &format, const FileStamp &was, const KnownPieces &known)
{
    std::optional<ConversionFault> fault;
    RecordComingBack back;
    auto written = files.write(
        path,
        [&](const ByteSink &sink) {
            auto converted = convertToListComingBack(recordText, sink, conversionThreads(), known);
            if (!converted.ok()) {
                fault = converted.error();
                return false;
            }
            back = std::move(converted).value();
            return true;
        },
        format, was);
    return ListLayoutSave{std::move(written), std::move(fault), std::move(back)};
}

ListLayoutSave saveListLayout(const ITextFiles &files, const QString &path, IEditControl &editor,
                              RecordViewPieces &pieces, const TextFileFormat &format, const FileStamp &was)
{
    editor.textLength(); // every change told
    ListLayoutSave save = saveListLayout(files, path, editor.utf8Text(), format, was, pieces.known());
    if (save.written.ok())
        pieces.keep(std::move(save.back.cameBack));
    return save;
}

ConversionResult<std::optional<QByteArray>> recordLayoutUnlessShown(QByteArrayView listText, QByteArrayView shown)
{
    qsizetype same = 0; // bytes made that match `shown`
    bool differs = false;
    QByteArray built;
    const auto converted = convertInPieces(listText, ConversionDirection::ToRecord, [&](QByteArrayView piece) {
        if (!differs) {
            if (shown.size() - same >= piece.size() && std::memcmp(shown.data() + same, piece.data(), size_t(piece.size())) == 0) {
                same += piece.size();
                return;
            }
            differs = true;
            built.reserve(shown.size() + shown.size() / 8 + 64);
            built.append(shown.first(same));
        }
        built.append(piece);
    }, conversionThreads());
    if (!converted.ok())
        return converted.error();
    if (!differs && same == shown.size())
        return std::optional<QByteArray>();
    // A Record text that stops short of the one shown is its beginning.
    if (!differs)
        built = shown.first(same).toByteArray();
    return std::optional<QByteArray>(std::move(built));
}

RecordViewPieces::~RecordViewPieces()
{
    stop();
}

void RecordViewPieces::textAboutToChange()
{
    stop();
}

void RecordViewPieces::textChanged(const TextChange &change)
{
    stop();
    if (change.wholeText)
        m_known.reset(-1);
    else
        m_known.edited(change.position, change.removedBytes, change.insertedBytes);
}

void RecordViewPieces::find(QByteArrayView text, std::shared_ptr<const void> pin)
{
    stop();
    if (!m_following)
        return;
    m_pin = std::move(pin);
    m_stop = false;
    m_found = m_known;
    const quint64 generation = ++m_generation;
    m_thread = std::thread([this, text, generation] {
        // Behind the window and whatever else the machine does.
        ::setpriority(PRIO_PROCESS, ::gettid(), 19);
        findPiecesComingBack(text, m_found, [this] { return m_stop.load(std::memory_order_relaxed); });
        if (m_stop)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, generation] {
                if (generation == m_generation)
                    stop();
            },
            Qt::QueuedConnection);
    });
}

void RecordViewPieces::stop()
{
    if (!m_thread.joinable())
        return;
    m_stop = true;
    m_thread.join();
    m_pin.reset();
    ++m_generation;
    // Found of the text as it still is: its changes stop the search first.
    m_known = std::move(m_found);
}

const KnownPieces &RecordViewPieces::known()
{
    stop();
    return m_known;
}

void RecordViewPieces::keep(KnownPieces known)
{
    stop();
    if (m_following)
        m_known = std::move(known);
}

} // namespace zuno
