#pragma once
// The open and save file dialogs. The program keeps one set of dialog
// settings for both (a setting a command does not make keeps its last
// value), so the settings travel with every call.
#include "Result.h"

#include <QFlags>
#include <QString>

namespace zuno {

// What a dialog asks of the file chosen.
enum class FileDialogOption {
    ConfirmOverwrite = 0x1, // a save dialog asks before an existing file is chosen
    FileMustExist = 0x2,    // an open dialog takes only a file that exists
};
Q_DECLARE_FLAGS(FileDialogOptions, FileDialogOption)

struct FileDialogSettings {
    QString title;
    // "Description|pattern|Description|pattern..."
    QString filter;
    int filterIndex = 0;          // 1-based; 0 = none chosen yet
    QString defaultExtension;     // ".PRJ", or empty
    QString fileName;             // initial name; the chosen path afterwards
    QString folder;               // where the dialog starts; empty: its own choice
    FileDialogOptions options;
};

struct FileDialogChoice {
    QString path;      // full path
    QString fileTitle; // the name without its folder
};

// The user closed the dialog without choosing a file.
struct FileDialogCancelled {};

using FileDialogResult = Result<FileDialogChoice, FileDialogCancelled>;

class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    // The file the user chose. When one is chosen, `settings.fileName` and
    // `settings.filterIndex` hold the choice too.
    virtual FileDialogResult showOpen(FileDialogSettings &settings) = 0;
    virtual FileDialogResult showSave(FileDialogSettings &settings) = 0;
};

} // namespace zuno

Q_DECLARE_OPERATORS_FOR_FLAGS(zuno::FileDialogOptions)
