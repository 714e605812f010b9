#include "recovery/RecoveryData.h"

#include "textfile/FileNames.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace zuno {

namespace {

constexpr QByteArrayView Magic = "ZUNOPad recovery 1\n";

QString encodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8: return QStringLiteral("utf-8");
    case TextEncoding::Utf8Bom: return QStringLiteral("utf-8-bom");
    case TextEncoding::Latin1: return QStringLiteral("latin-1");
    }
    return QString();
}

TextEncoding encodingNamed(const QString &name)
{
    if (name == u"utf-8-bom")
        return TextEncoding::Utf8Bom;
    if (name == u"latin-1")
        return TextEncoding::Latin1;
    return TextEncoding::Utf8;
}

// Whole numbers go as text: a JSON number holds only 53 bits.
QString number(qint64 value) { return QString::number(value); }
qint64 numberOf(const QJsonValue &value) { return value.toString().toLongLong(); }

QJsonObject stampObject(const FileStamp &stamp)
{
    return QJsonObject{
        {QStringLiteral("device"), QString::number(stamp.device)},
        {QStringLiteral("inode"), QString::number(stamp.inode)},
        {QStringLiteral("size"), number(stamp.size)},
        {QStringLiteral("modifiedNs"), number(stamp.modifiedNs)},
        {QStringLiteral("changedNs"), number(stamp.changedNs)},
        {QStringLiteral("takenNs"), number(stamp.takenNs)},
        {QStringLiteral("digest"), QString::number(stamp.digest)},
        {QStringLiteral("mode"), QString::number(stamp.mode)},
        {QStringLiteral("owner"), QString::number(stamp.owner)},
        {QStringLiteral("group"), QString::number(stamp.group)},
    };
}

FileStamp stampFrom(const QJsonObject &object)
{
    FileStamp stamp;
    stamp.valid = true;
    stamp.device = object.value(QStringLiteral("device")).toString().toULongLong();
    stamp.inode = object.value(QStringLiteral("inode")).toString().toULongLong();
    stamp.size = numberOf(object.value(QStringLiteral("size")));
    stamp.modifiedNs = numberOf(object.value(QStringLiteral("modifiedNs")));
    stamp.changedNs = numberOf(object.value(QStringLiteral("changedNs")));
    stamp.takenNs = numberOf(object.value(QStringLiteral("takenNs")));
    stamp.digest = object.value(QStringLiteral("digest")).toString().toULongLong();
    stamp.mode = object.value(QStringLiteral("mode")).toString().toUInt();
    stamp.owner = object.value(QStringLiteral("owner")).toString().toUInt();
    stamp.group = object.value(QStringLiteral("group")).toString().toUInt();
    return stamp;
}

} // namespace

QByteArray recoveryHeader(const RecoveryData &data)
{
    return recoveryHeader(data, data.base == RecoveryBase::Text ? data.text.size() : 0);
}

QByteArray recoveryHeader(const RecoveryData &data, qint64 textBytes)
{
    QJsonObject header{
        // The name's bytes, whatever they are.
        {QStringLiteral("path"), QString::fromLatin1(fileNameBytes(data.path).toBase64())},
        {QStringLiteral("encoding"), encodingName(data.format.encoding)},
        {QStringLiteral("crlf"), data.format.lineEnding == LineEnding::CrLf},
        {QStringLiteral("record"), data.recordView},
        {QStringLiteral("caret"), number(data.caret)},
        {QStringLiteral("changedMs"), number(data.changedMs)},
        {QStringLiteral("textBytes"), number(textBytes)},
    };
    if (data.base != RecoveryBase::Text)
        header.insert(QStringLiteral("base"), data.base == RecoveryBase::File ? QStringLiteral("file")
                                                                              : QStringLiteral("empty"));
    if (data.stamp.valid)
        header.insert(QStringLiteral("stamp"), stampObject(data.stamp));
    return Magic.toByteArray() + QJsonDocument(header).toJson(QJsonDocument::Compact) + '\n';
}

Result<RecoveryData, RecoveryFormatError> parseRecovery(QByteArrayView bytes, bool headerOnly, qint64 *headerSize)
{
    if (!bytes.startsWith(Magic))
        return RecoveryFormatError{};
    const qsizetype end = bytes.indexOf('\n', Magic.size());
    if (end < 0)
        return RecoveryFormatError{};
    QJsonParseError error{};
    const QJsonDocument json =
        QJsonDocument::fromJson(bytes.sliced(Magic.size(), end - Magic.size()).toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !json.isObject())
        return RecoveryFormatError{};
    const QJsonObject header = json.object();

    RecoveryData data;
    data.path = fileNameFromBytes(QByteArray::fromBase64(header.value(QStringLiteral("path")).toString().toLatin1()));
    data.format.encoding = encodingNamed(header.value(QStringLiteral("encoding")).toString());
    data.format.lineEnding = header.value(QStringLiteral("crlf")).toBool(true) ? LineEnding::CrLf : LineEnding::Lf;
    data.recordView = header.value(QStringLiteral("record")).toBool();
    data.caret = numberOf(header.value(QStringLiteral("caret")));
    data.changedMs = numberOf(header.value(QStringLiteral("changedMs")));
    if (header.contains(QStringLiteral("stamp")))
        data.stamp = stampFrom(header.value(QStringLiteral("stamp")).toObject());
    const QString base = header.value(QStringLiteral("base")).toString();
    if (base == u"file" && !data.path.isEmpty() && data.stamp.valid)
        data.base = RecoveryBase::File;
    else if (base == u"empty")
        data.base = RecoveryBase::Empty;
    else if (!base.isEmpty())
        return RecoveryFormatError{};
    if (headerSize)
        *headerSize = end + 1;
    const qint64 textBytes = numberOf(header.value(QStringLiteral("textBytes")));
    const QByteArrayView rest = bytes.sliced(end + 1);
    if (headerOnly)
        return data;
    if (textBytes < 0 || rest.size() < textBytes)
        return RecoveryFormatError{};
    data.text = rest.first(textBytes).toByteArray();
    data.journal = rest.sliced(textBytes).toByteArray();
    return data;
}

} // namespace zuno
