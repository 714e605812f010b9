// The files the desktop reads agree with the program: the file types with the
// file dialogs' list, the desktop entry and the metainfo with the file types,
// and the installed icons with the window's icon.
#include "app/AppIcon.h"
#include "document/EditorShell.h"

#include <QFile>
#include <QImage>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

QString readAll(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(file.readAll());
}

struct MimeType {
    QString comment;
    QStringList parents;
    QStringList globs;
    QStringList globCaseSensitive;
};

QMap<QString, MimeType> readMimeTypes()
{
    QMap<QString, MimeType> types;
    QXmlStreamReader xml(readAll(QStringLiteral(ZUNO_SOURCE_DIR "/data/zunopad-mime.xml")));
    QString current;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto attribute = [&](const char *name) {
            return xml.attributes().value(QLatin1String(name)).toString();
        };
        if (xml.name() == u"mime-type") {
            current = attribute("type");
            types[current];
        } else if (xml.name() == u"comment") {
            types[current].comment = xml.readElementText();
        } else if (xml.name() == u"sub-class-of") {
            types[current].parents << attribute("type");
        } else if (xml.name() == u"glob") {
            types[current].globs << attribute("pattern");
            types[current].globCaseSensitive << attribute("case-sensitive");
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return types;
}

// The value of KEY in the desktop entry.
QString desktopEntryValue(const QString &key)
{
    const QStringList lines = readAll(QStringLiteral(ZUNO_SOURCE_DIR "/data/zunopad.desktop"))
                                  .split(QLatin1Char('\n'));
    for (const QString &line : lines)
        if (line.startsWith(key + QLatin1Char('=')))
            return line.mid(key.size() + 1);
    return {};
}

QSet<QString> toSet(const QStringList &list) { return {list.begin(), list.end()}; }

} // namespace

TEST(DesktopFiles, EveryFileDialogTypeIsAMimeTypeWithTheDialogsDescription)
{
    const QMap<QString, MimeType> types = readMimeTypes();
    const QStringList filter = zuno::zunoFileFilter().split(QLatin1Char('|'));
    ASSERT_EQ(filter.size(), 16);
    ASSERT_EQ(types.size(), 8);
    for (qsizetype i = 0; i < filter.size(); i += 2) {
        const QString &description = filter[i];
        const QString &pattern = filter[i + 1];
        // The dialog shows "ZUNO Project File (*.PRJ)"; the type's comment is
        // the description without the pattern.
        const QString comment = description.chopped(pattern.size() + 3);
        ASSERT_EQ(description, comment + QStringLiteral(" (") + pattern + u')');
        const auto found = std::find_if(types.begin(), types.end(), [&](const MimeType &type) {
            return type.globs.contains(pattern);
        });
        ASSERT_NE(found, types.end()) << "no type for " << pattern.toStdString();
        EXPECT_EQ(found->comment, comment);
        EXPECT_EQ(found->globs, QStringList{pattern});
        EXPECT_EQ(found->globCaseSensitive, QStringList{QStringLiteral("false")});
        EXPECT_EQ(found->parents, QStringList{QStringLiteral("text/plain")});
        EXPECT_TRUE(found.key().startsWith(QStringLiteral("application/x-zuno-")));
    }
    EXPECT_TRUE(types.contains(QStringLiteral("application/x-zuno-project")));
}

TEST(DesktopFiles, TheDesktopEntryAndTheMetainfoNameEveryFileType)
{
    const QSet<QString> types = toSet(readMimeTypes().keys());
    QStringList entryTypes = desktopEntryValue(QStringLiteral("MimeType")).split(QLatin1Char(';'));
    ASSERT_EQ(entryTypes.takeLast(), QString()); // the list ends in ";"
    EXPECT_EQ(entryTypes.size(), 8);
    EXPECT_EQ(toSet(entryTypes), types);
    EXPECT_EQ(desktopEntryValue(QStringLiteral("Exec")), QStringLiteral("zunopad %f"));
    EXPECT_EQ(desktopEntryValue(QStringLiteral("Icon")), QStringLiteral("zunopad"));

    const QString metainfo = readAll(QStringLiteral(ZUNO_METAINFO));
    QStringList mediaTypes;
    const QRegularExpression mediaType(QStringLiteral("<mediatype>([^<]*)</mediatype>"));
    for (const QRegularExpressionMatch &match : mediaType.globalMatch(metainfo))
        mediaTypes << match.captured(1);
    EXPECT_EQ(toSet(mediaTypes), types);
    EXPECT_TRUE(metainfo.contains(QStringLiteral("<launchable type=\"desktop-id\">zunopad.desktop</launchable>")));
}

TEST(DesktopFiles, TheInstalledIconsAreTheWindowsIconAtEverySize)
{
    const QList<int> sizes = zuno::appIconSizes();
    EXPECT_EQ(sizes, (QList<int>{16, 32, 48, 64, 128, 256}));
    EXPECT_EQ(zuno::makeAppIcon().availableSizes().size(), sizes.size());
    for (int size : sizes) {
        const QString path = QStringLiteral(ZUNO_ICON_DIR "/%1x%1/apps/zunopad.png").arg(size);
        const QImage installed(path);
        ASSERT_FALSE(installed.isNull()) << path.toStdString();
        EXPECT_EQ(installed.size(), QSize(size, size));
        const QImage window = zuno::renderAppIcon(size).convertToFormat(QImage::Format_ARGB32);
        EXPECT_TRUE(installed.convertToFormat(QImage::Format_ARGB32) == window) << "differs at " << size;
        // A drawing, not a blank square: the sheet's middle is opaque.
        EXPECT_EQ(qAlpha(window.pixel(size / 2, size / 2)), 255) << size;
    }
}
