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
    QJsonObject header{
        // The name's bytes, whatever they are.
        {QStringLiteral("path"), QString::fromLatin1(fileNameBytes(data.path).toBase64())},
        {QStringLiteral("encoding"), encodingName(data.format.encoding)},
        {QStringLiteral("crlf"), data.format.lineEnding == LineEnding::CrLf},
        {QStringLiteral("record"), data.recordView},
        {QStringLiteral("caret"), number(data.caret)},
        {QStringLiteral("changedMs"), number(data.changedMs)},
        {QStringLiteral("textBytes"), number(data.text.size())},
    };
    if (data.stamp.valid)
        header.insert(QStringLiteral("stamp"), stampObject(data.stamp));
    return Magic.toByteArray() + QJsonDocument(header).toJson(QJsonDocument::Compact) + '\n';
}

Result<RecoveryData, RecoveryFormatError> parseRecovery(QByteArrayView bytes, bool headerOnly)
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
    const qint64 textBytes = numberOf(header.value(QStringLiteral("textBytes")));
    const QByteArrayView text = bytes.sliced(end + 1);
    if (headerOnly)
        return data;
    if (text.size() != textBytes)
        return RecoveryFormatError{};
    data.text = text.toByteArray();
    return data;
}

} // namespace zuno
