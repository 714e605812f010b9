#include "platform/qt/QtFileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include "textfile/FileNames.h"

#include <QFileInfo>

namespace zuno {

QStringList QtFileDialogs::nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts[i];
        const QString &pattern = parts[i + 1];
        // Make sure the pattern is in the text QFileDialog parses.
        result << (description.contains(pattern) ? description
                                                 : description + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    return result;
}

FileDialogResult QtFileDialogs::showOpen(FileDialogSettings &settings)
{
    return run(settings, false);
}

FileDialogResult QtFileDialogs::showSave(FileDialogSettings &settings)
{
    return run(settings, true);
}

FileDialogResult QtFileDialogs::run(FileDialogSettings &settings, bool save)
{
    QFileDialog dialog(m_parent, settings.title);
    dialog.setObjectName(QStringLiteral("cdlEditor"));
    // The desktop's own dialog where the platform theme offers one.
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save) {
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite,
                         !settings.options.testFlag(FileDialogOption::ConfirmOverwrite));
    } else {
        dialog.setFileMode(settings.options.testFlag(FileDialogOption::FileMustExist) ? QFileDialog::ExistingFile
                                                                   : QFileDialog::AnyFile);
    }
    const QStringList filters = nameFilters(settings.filter);
    dialog.setNameFilters(filters);
    if (settings.filterIndex >= 1 && settings.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[settings.filterIndex - 1]);
    QString suffix = settings.defaultExtension;
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    const QFileInfo info(settings.fileName);
    if (!settings.folder.isEmpty() && QDir(settings.folder).exists())
        dialog.setDirectory(settings.folder);
    else if (!settings.fileName.isEmpty() && !info.path().isEmpty() && info.dir().exists())
        dialog.setDirectory(info.dir());
    // The last name is offered again only in its own folder.
    if (!settings.fileName.isEmpty()
        && (settings.folder.isEmpty() || QDir(settings.folder) == info.dir()))
        dialog.selectFile(info.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return FileDialogCancelled{};

    // A name that is not UTF-8 is listed with U+FFFD: its own bytes are
    // looked up.
    const QString path = fileNameAsListed(QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath());
    settings.fileName = path;
    const qsizetype index = filters.indexOf(dialog.selectedNameFilter());
    if (index >= 0)
        settings.filterIndex = int(index) + 1;
    return FileDialogChoice{path, displayedFileName(QFileInfo(path).fileName())};
}

} // namespace zuno
