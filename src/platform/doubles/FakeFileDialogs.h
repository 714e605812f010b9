#pragma once
#include "platform/FileDialogs.h"

#include <QList>

namespace zuno {

// Answers each dialog with the next queued path (an empty path cancels) and
// records the settings each dialog was shown with.
class FakeFileDialogs : public IFileDialogs {
public:
    FileDialogResult showOpen(FileDialogSettings &settings) override { return answer(settings, openShown); }
    FileDialogResult showSave(FileDialogSettings &settings) override { return answer(settings, saveShown); }

    QList<QString> answers;
    QList<FileDialogSettings> openShown;
    QList<FileDialogSettings> saveShown;

private:
    FileDialogResult answer(FileDialogSettings &settings, QList<FileDialogSettings> &log)
    {
        log.append(settings);
        const QString path = answers.isEmpty() ? QString() : answers.takeFirst();
        if (path.isEmpty())
            return FileDialogCancelled{};
        settings.fileName = path;
        if (settings.filterIndex == 0)
            settings.filterIndex = 1;
        return FileDialogChoice{path, path.mid(path.lastIndexOf(QLatin1Char('/')) + 1)};
    }
};

} // namespace zuno
