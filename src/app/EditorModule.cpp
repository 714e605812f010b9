#include "app/EditorModule.h"

#include <QCoreApplication>
#include <QString>

#include <climits>
#include <cstdio>
#include <string>

#include <dlfcn.h>
#include <unistd.h>

namespace zuno {

namespace {

constexpr const char *ModuleName = "zunopad-editor.so";

// The folder of the running program, with its final '/'.
std::string programFolder()
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return std::string();
    std::string folder(path, size_t(length));
    return folder.substr(0, folder.rfind('/') + 1);
}

} // namespace

int runEditorModule(int argc, char **argv)
{
    // Beside the program in the build tree; in the library folder once
    // installed (ZUNO_EDITOR_MODULE_DIR is relative to the program's folder).
    const std::string folder = programFolder();
    const std::string places[] = {folder + ModuleName, folder + ZUNO_EDITOR_MODULE_DIR "/" + ModuleName};
    QString reason;
    for (const std::string &place : places) {
        if (::access(place.c_str(), F_OK) != 0)
            continue;
        // Bound at once, as the program was when it held the editor itself.
        void *module = ::dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
        auto *run = module ? reinterpret_cast<decltype(&zunopad_run_editor)>(::dlsym(module, "zunopad_run_editor"))
                           : nullptr;
        if (run)
            return run(argc, argv);
        const char *error = ::dlerror();
        reason = QString::fromLocal8Bit(error ? error : place.c_str());
        break;
    }
    if (reason.isEmpty())
        reason = QCoreApplication::translate("EditorModule", "%1 was not found").arg(QString::fromLatin1(ModuleName));
    const QString message = QCoreApplication::translate("EditorModule", "cannot start the editor: %1").arg(reason);
    std::fprintf(stderr, "zunopad: %s\n", message.toLocal8Bit().constData());
    return 2;
}

} // namespace zuno
