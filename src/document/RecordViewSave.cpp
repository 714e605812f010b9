#include "document/RecordViewSave.h"

#include "format/PieceConversion.h"

#include <cstring>

namespace zuno {

ListLayoutSave saveListLayout(const ITextFiles &files, const QString &path, QByteArrayView recordText,
                              const TextFileFormat &format, const FileStamp &was)
{
    std::optional<ConversionFault> fault;
    RecordComingBack back;
    auto written = files.write(
        path,
        [&](const ByteSink &sink) {
            auto converted = convertToListComingBack(recordText, sink, conversionThreads());
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

} // namespace zuno
