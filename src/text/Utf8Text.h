#pragma once
// UTF-8 bytes to a QString, every character kept: a byte-order mark at the
// start too (QString::fromUtf8 drops it). Malformed bytes become U+FFFD.
// For the few places that need the text as Qt's widgets hold it.
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

namespace zuno {

inline QString utf8ToText(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

} // namespace zuno
