#pragma once
#include "platform/FileDialogs.h"

#include <QList>

namespace zuno {

// Answers each dialog with the next queued path (an empty path cancels) and
// records the settings each dialog was shown with.
class FakeFileDialogs : public IFileDialogs {
public:
    bool showOpen(FileDialogSettings &settings, FileDialogChoice &choice) override
    {
        return answer(settings, choice, openShown);
    }
    bool showSave(FileDialogSettings &settings, FileDialogChoice &choice) override
    {
        return answer(settings, choice, saveShown);
    }

    QList<QString> answers;
    QList<FileDialogSettings> openShown;
    QList<FileDialogSettings> saveShown;

private:
    bool answer(FileDialogSettings &settings, FileDialogChoice &choice, QList<FileDialogSettings> &log)
    {
        log.append(settings);
        const QString path = answers.isEmpty() ? QString() : answers.takeFirst();
        if (path.isEmpty())
            return false;
        settings.fileName = path;
        if (settings.filterIndex == 0)
            settings.filterIndex = 1;
        choice.path = path;
        choice.fileTitle = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
        return true;
    }
};

} // namespace zuno
