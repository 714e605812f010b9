#include "app/QmFile.h"

#include <QHash>

#include <cstring>

namespace zuno {

namespace {

constexpr unsigned char Magic[16] = {0x3c, 0xb8, 0x64, 0x18, 0xca, 0xef, 0x9c, 0x95,
                                     0xcd, 0x21, 0x1c, 0xbf, 0x60, 0xa1, 0xbd, 0xdd};

// The sections of a .qm file, by their tags.
enum Section : quint8 { Contexts = 0x2f, Hashes = 0x42, Messages = 0x69, NumerusRules = 0x88, Dependencies = 0x96,
                        Language = 0xa7 };
// The fields of a message.
enum Field : quint8 { End = 1, SourceText16 = 2, Translation = 3, Context16 = 4, Obsolete1 = 5, SourceText = 6,
                      Context = 7, Comment = 8, Obsolete2 = 9 };

quint32 read32(const uchar *p) { return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3]; }
quint16 read16(const uchar *p) { return quint16(p[0] << 8 | p[1]); }

using Block = QByteArrayView;

// Every message that the hash table points at ends within its section.
bool messageSound(Block messages, quint32 offset)
{
    const auto *p = reinterpret_cast<const uchar *>(messages.data());
    const quint64 end = quint64(messages.size());
    quint64 at = offset;
    for (;;) {
        if (at >= end)
            return false;
        switch (p[at++]) {
        case End:
            return true;
        case Obsolete1:
        case Obsolete2:
            break;
        case Translation:
        case SourceText16:
        case Context16:
        case SourceText:
        case Context:
        case Comment: {
            if (at + 4 > end)
                return false;
            const quint32 length = read32(p + at);
            at += 4;
            if (length == 0xffffffffu)
                break; // a null text
            if (length > end - at)
                return false;
            at += length;
            break;
        }
        default:
            return false;
        }
    }
}

bool hashesSound(Block hashes, Block messages)
{
    if (hashes.size() % 8 != 0)
        return false;
    const auto *p = reinterpret_cast<const uchar *>(hashes.data());
    for (qsizetype i = 0; i < hashes.size(); i += 8) {
        if (!messageSound(messages, read32(p + i + 4)))
            return false;
    }
    return true;
}

bool contextsSound(Block contexts)
{
    if (contexts.isEmpty())
        return true;
    const auto *p = reinterpret_cast<const uchar *>(contexts.data());
    const quint64 end = quint64(contexts.size());
    if (end < 2)
        return false;
    const quint64 tableSize = read16(p);
    const quint64 table = 2 + 2 * tableSize;
    if (tableSize == 0 || table > end)
        return false;
    for (quint64 i = 0; i < tableSize; ++i) {
        const quint64 offset = read16(p + 2 + 2 * i);
        if (offset == 0)
            continue;
        quint64 at = table + 2 * offset;
        for (;;) {
            if (at >= end)
                return false;
            const quint8 length = p[at++];
            if (length == 0)
                break;
            if (length > end - at)
                return false;
            at += length;
        }
    }
    return true;
}

} // namespace

bool isSoundQmFile(const QByteArray &bytes)
{
    if (bytes.size() < qsizetype(sizeof Magic) || std::memcmp(bytes.constData(), Magic, sizeof Magic) != 0)
        return false;
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    const quint64 end = quint64(bytes.size());
    QHash<quint8, Block> sections;
    quint64 at = sizeof Magic;
    while (at + 5 <= end) {
        const quint8 tag = p[at];
        const quint32 length = read32(p + at + 1);
        at += 5;
        if (length > end - at || sections.contains(tag))
            return false;
        switch (tag) {
        case Contexts:
        case Hashes:
        case Messages:
        case NumerusRules:
        case Language:
            break;
        default:
            return false; // dependencies, or something unknown
        }
        sections.insert(tag, Block(bytes.constData() + at, qsizetype(length)));
        at += length;
    }
    return at == end && hashesSound(sections.value(Hashes), sections.value(Messages))
           && contextsSound(sections.value(Contexts));
}

} // namespace zuno
