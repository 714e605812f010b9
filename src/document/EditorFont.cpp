#include "document/EditorFont.h"

#include "document/EditorShell.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <algorithm>
#include <cmath>

namespace zuno {

namespace {

const QString FontSection = QStringLiteral("Font");
const QString FamilyKey = QStringLiteral("Family");
const QString SizeKey = QStringLiteral("Size");
const QString ZoomKey = QStringLiteral("Zoom");
const QString WeightKey = QStringLiteral("Weight");
const QString ItalicKey = QStringLiteral("Italic");

constexpr double SmallestPoints = 4;
constexpr double LargestPoints = 72;

QFont fixedFont(const EditorFontChoice &choice, double points)
{
    QFont font(choice.family);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamily(QFontInfo(font).family());
    font.setPointSizeF(points);
    font.setWeight(QFont::Weight(std::clamp(choice.weight, 100, 900)));
    font.setItalic(choice.italic);
    return font;
}

} // namespace

QFont chosenFont(const EditorFontChoice &choice)
{
    return fixedFont(choice, choice.pointSize);
}

QFont shownFont(const EditorFontChoice &choice)
{
    return fixedFont(choice, std::clamp(choice.pointSize + choice.zoom, SmallestPoints, LargestPoints));
}

EditorFontChoice zoomedBy(EditorFontChoice choice, int steps)
{
    const int least = int(std::ceil(SmallestPoints - choice.pointSize));
    const int most = int(std::floor(LargestPoints - choice.pointSize));
    choice.zoom = std::clamp(choice.zoom + steps, std::min(least, 0), std::max(most, 0));
    return choice;
}

EditorFontChoice choiceOf(const QFont &font, EditorFontChoice choice)
{
    choice.family = font.family();
    if (font.pointSizeF() > 0)
        choice.pointSize = std::clamp(font.pointSizeF(), SmallestPoints, LargestPoints);
    choice.weight = font.weight();
    choice.italic = font.italic();
    choice.zoom = 0;
    return choice;
}

EditorFontChoice readFontChoice(const ISettingsStore &settings)
{
    EditorFontChoice choice;
    const QString family = settings.read(SettingsApplication, FontSection, FamilyKey, QString()).trimmed();
    if (!family.isEmpty())
        choice.family = family;
    bool ok = false;
    const double size = settings.read(SettingsApplication, FontSection, SizeKey, QString()).toDouble(&ok);
    if (ok && size >= SmallestPoints && size <= LargestPoints)
        choice.pointSize = size;
    const int weight = settings.read(SettingsApplication, FontSection, WeightKey, QString()).toInt(&ok);
    if (ok && weight >= 100 && weight <= 900)
        choice.weight = weight;
    choice.italic = settings.read(SettingsApplication, FontSection, ItalicKey, QString()) == u"1";
    const int zoom = settings.read(SettingsApplication, FontSection, ZoomKey, QString()).toInt(&ok);
    if (ok)
        choice = zoomedBy(choice, zoom);
    return choice;
}

void writeFontChoice(ISettingsStore &settings, const EditorFontChoice &choice)
{
    settings.write(SettingsApplication, FontSection, FamilyKey, choice.family);
    settings.write(SettingsApplication, FontSection, SizeKey, QString::number(choice.pointSize));
    settings.write(SettingsApplication, FontSection, ZoomKey, QString::number(choice.zoom));
    settings.write(SettingsApplication, FontSection, WeightKey, QString::number(choice.weight));
    settings.write(SettingsApplication, FontSection, ItalicKey, choice.italic ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace zuno
