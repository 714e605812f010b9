#include "text/Utf8Text.h"

#include "text/TextScan.h"

#include <QStringDecoder>

#include <algorithm>

namespace zuno {

namespace {

QStringDecoder decoder()
{
    return QStringDecoder(QStringDecoder::Utf8,
                          QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
}

bool isContinuation(unsigned char byte, unsigned char low = 0x80, unsigned char high = 0xBF)
{
    return byte >= low && byte <= high;
}

} // namespace

QString utf8ToText(QByteArrayView bytes)
{
    QStringDecoder utf8 = decoder();
    return utf8.decode(bytes);
}

QChar *utf8ToTextAt(QChar *out, QByteArrayView bytes)
{
    QStringDecoder utf8 = decoder();
    return utf8.appendToBuffer(out, bytes);
}

int utf8SequenceLength(const char *p, qsizetype n)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    if (n <= 0)
        return 0;
    const unsigned char lead = u[0];
    if (lead < 0x80)
        return 1;
    // The second byte's range depends on the lead: no overlong forms, no
    // surrogates, nothing beyond U+10FFFF.
    int length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (n < length || !isContinuation(u[1], low, high))
        return 0;
    for (int i = 2; i < length; ++i) {
        if (!isContinuation(u[i]))
            return 0;
    }
    return length;
}

qsizetype utf16Length(QByteArrayView bytes)
{
    qsizetype units = 0;
    const char *p = bytes.data();
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype ascii = scan::plainAsciiRun(p + i, bytes.size() - i);
        if (ascii > 0) {
            i += ascii;
            units += ascii;
            continue;
        }
        const int length = utf8SequenceLength(p + i, bytes.size() - i);
        i += std::max(length, 1);
        units += length == 4 ? 2 : 1;
    }
    return units;
}

qsizetype Utf8Walker::positionOf(qint64 units)
{
    const char *p = m_bytes.data();
    const qsizetype size = m_bytes.size();
    while (m_units < units && m_position < size) {
        const qsizetype ascii = std::min<qint64>(scan::plainAsciiRun(p + m_position, size - m_position), units - m_units);
        if (ascii > 0) {
            m_position += ascii;
            m_units += ascii;
            continue;
        }
        const int length = utf8SequenceLength(p + m_position, size - m_position);
        m_position += std::max(length, 1);
        m_units += length == 4 ? 2 : 1;
    }
    return m_position;
}

qsizetype utf8PositionOf(QByteArrayView bytes, qint64 units)
{
    return Utf8Walker(bytes).positionOf(units);
}

} // namespace zuno
