#include "format/ConversionMessages.h"

#include <QCoreApplication>

namespace zuno {

namespace {

// The context of this file's texts for Qt's translation tools.
class ConversionMessages {
    Q_DECLARE_TR_FUNCTIONS(ConversionMessages)
};

} // namespace

QString conversionWarning(const ConversionFault &fault)
{
    switch (fault.kind) {
    case ConversionFault::Kind::UnexpectedData:
        return ConversionMessages::tr("Unexpected data '%1'.").arg(quotedLine(fault.line));
    case ConversionFault::Kind::InvalidItem:
        break;
    }
    return ConversionMessages::tr("Invalid ZUNO Data Item '%1' on line %2").arg(quotedLine(fault.line), QString::number(fault.lineNumber + 1));
}

QString conversionWarningTitle()
{
    return ConversionMessages::tr("Invalid File");
}

QString roundTripWarning(const RoundTripChange &change)
{
    using Consequence = RoundTripChange::Consequence;
    QString consequence;
    switch (change.consequence) {
    case Consequence::ItemAdded:
        consequence = ConversionMessages::tr("the item '%1' would be added after it").arg(visibleControls(change.item));
        break;
    case Consequence::ConversionStops:
        consequence = ConversionMessages::tr("saving from the Record view would stop with the warning \"%1\"")
                          .arg(conversionWarning(change.stop));
        break;
    case Consequence::SplitIntoItems:
        consequence = ConversionMessages::tr("it would come back as several items");
        break;
    case Consequence::ComesBackAs:
        consequence = ConversionMessages::tr("it would come back as '%1'").arg(visibleControls(change.item));
        break;
    case Consequence::Lost:
        consequence = ConversionMessages::tr("it would be lost");
        break;
    }
    if (change.holdsTwoSpaces)
        consequence = ConversionMessages::tr("it holds two spaces in a row, which the List layout reads as the gap between two "
                         "items, so %1")
                          .arg(consequence);
    QString message = ConversionMessages::tr("The data item '%1' on line %2 would not come back unchanged from the Record view: %3")
                          .arg(quotedLine(change.line), QString::number(change.lineNumber + 1), consequence);
    // A quoted warning brings its own full stop.
    if (!message.endsWith(u'.') && !message.endsWith(u".\""))
        message += u'.';
    return message;
}

QString visibleControls(QStringView text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t unit = ch.unicode();
        if (unit == u'\t' || (ch.category() != QChar::Other_Control && unit != 0x2028 && unit != 0x2029)) {
            shown += ch;
        } else if (unit == u'\r') {
            shown += u"\\r";
        } else if (unit == u'\n') {
            shown += u"\\n";
        } else if (unit <= 0xFF) {
            shown += QStringLiteral("\\x%1").arg(uint(unit), 2, 16, QLatin1Char('0'));
        } else {
            shown += QStringLiteral("\\u%1").arg(uint(unit), 4, 16, QLatin1Char('0'));
        }
    }
    return shown;
}

QString quotedLine(QStringView line)
{
    qsizetype length = std::min(line.size(), QuotedLineLimit);
    // Never half of a character that takes two units.
    if (length < line.size() && length > 0 && line[length - 1].isHighSurrogate())
        --length;
    QString quoted = visibleControls(line.first(length));
    if (length < line.size())
        quoted += u'\u2026';
    return quoted;
}

} // namespace zuno
