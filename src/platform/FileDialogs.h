#pragma once
// The open and save file dialogs. The program keeps one set of dialog
// settings for both (a setting a command does not make keeps its last
// value), so the settings travel with every call.
#include <QString>

namespace zuno {

// Flag values of the settings, as the dialogs understand them.
enum FileDialogFlag : int {
    DialogOverwritePrompt = 2,
    DialogHideReadOnly = 4,
    DialogPathMustExist = 2048,
    DialogFileMustExist = 4096,
};

struct FileDialogSettings {
    QString title;
    // "Description|pattern|Description|pattern..."
    QString filter;
    int filterIndex = 0;          // 1-based; 0 = none chosen yet
    QString defaultExtension;     // ".PRJ", or empty
    QString fileName;             // initial name; the chosen path afterwards
    int flags = 0;
};

struct FileDialogChoice {
    QString path;      // full path
    QString fileTitle; // the name without its folder
};

class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    // Return false when the user cancels. On success `settings.fileName`
    // and `settings.filterIndex` hold what the user chose.
    virtual bool showOpen(FileDialogSettings &settings, FileDialogChoice &choice) = 0;
    virtual bool showSave(FileDialogSettings &settings, FileDialogChoice &choice) = 0;
};

} // namespace zuno
