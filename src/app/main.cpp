// zunopad: the editor, or with an option the command-line converter or the
// language server.
#include "cli/CommandLine.h"
#include "app/EditorModule.h"
#include "platform/LargeBlocks.h"
#include "lsp/LspServer.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <new>

int main(int argc, char **argv)
{
    // A file-size limit makes a write fail with its reason, not end the
    // program.
    std::signal(SIGXFSZ, SIG_IGN);
    // The language server for other editors, without a display.
    if (argc == 2 && std::strcmp(argv[1], "--lsp") == 0)
        return zuno::lsp::runLanguageServer();
    // The converter's pieces reuse the memory of those before them.
    zuno::keepLargeBlocksForReuse();
    try {
        if (auto status = zuno::runConverterCommand(argc, argv))
            return *status;
    } catch (const std::bad_alloc &) {
        // A file too large for the memory there is: said plainly, with the
        // status of a file that cannot be read.
        const QString message = QCoreApplication::translate("CommandLine", "Not enough memory to convert the file.");
        std::fprintf(stderr, "zunopad: %s\n", message.toLocal8Bit().constData());
        return 2;
    }
    return zuno::runEditorModule(argc, argv);
}
