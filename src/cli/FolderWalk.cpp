#include "cli/FolderWalk.h"

#include "format/ConversionMessages.h"
#include "textfile/FileNames.h"

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <sys/stat.h>

namespace zuno {

namespace {

class FolderWalk {
    Q_DECLARE_TR_FUNCTIONS(FolderWalk)
};

constexpr QStringView Extensions[] = {u".PRJ", u".CTL", u".PAC", u".CAL", u".EDI", u".ALI", u".PRO", u".SUP"};

struct Entry {
    QByteArray name;
    unsigned char type; // DT_REG, DT_DIR, DT_LNK, ... or DT_UNKNOWN
    bool operator<(const Entry &other) const { return name < other.name; }
};

// The folder's entries by their names' bytes (as `ls` sorts in the C
// locale), without "." and "..".
bool listFolder(const QByteArray &folder, QList<Entry> &names, int &error)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir) {
        error = errno;
        return false;
    }
    errno = 0;
    while (const dirent *entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.append(Entry{QByteArray(entry->d_name), entry->d_type});
    }
    error = errno;
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return error == 0;
}

void walkFolder(const QByteArray &folder, WalkedFiles &walked)
{
    QList<Entry> names;
    int error = 0;
    if (!listFolder(folder, names, error)) {
        walked.errors.append(FolderWalk::tr("cannot read the folder '%1': %2")
                                 .arg(visibleControls(displayedFileName(fileNameFromBytes(folder))),
                                      QString::fromLocal8Bit(std::strerror(error))));
        // What was listed before the failure is still checked.
    }
    const QByteArray prefix = folder.endsWith('/') ? folder : folder + '/';
    for (const Entry &entry : names) {
        const QByteArray path = prefix + entry.name;
        // The listing tells most entries' types; others are asked for.
        unsigned char type = entry.type;
        if (type == DT_UNKNOWN) {
            struct stat link {};
            if (::lstat(path.constData(), &link) != 0)
                continue;
            type = S_ISDIR(link.st_mode) ? DT_DIR : S_ISLNK(link.st_mode) ? DT_LNK : DT_REG;
        }
        if (type == DT_DIR) {
            walkFolder(path, walked);
            continue;
        }
        const QString file = fileNameFromBytes(path);
        if (!hasDataFileExtension(file))
            continue;
        // A link is checked when it leads to a file, not when it leads to a
        // folder (which could lead back up the tree).
        struct stat target {};
        if (type == DT_LNK && ::stat(path.constData(), &target) == 0 && S_ISDIR(target.st_mode))
            continue;
        walked.files.append(file);
    }
}

} // namespace

bool hasDataFileExtension(QStringView name)
{
    return std::any_of(std::begin(Extensions), std::end(Extensions),
                       [&](QStringView extension) { return name.endsWith(extension, Qt::CaseInsensitive); });
}

WalkedFiles walkArguments(const QStringList &arguments)
{
    WalkedFiles walked;
    for (const QString &argument : arguments) {
        const QByteArray bytes = fileNameBytes(argument);
        struct stat info {};
        if (argument != u"-" && ::stat(bytes.constData(), &info) == 0 && S_ISDIR(info.st_mode))
            walkFolder(bytes, walked);
        else
            walked.files.append(argument);
    }
    return walked;
}

} // namespace zuno
