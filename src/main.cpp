// zunopad: the editor, or with an option the command-line converter.
#include "cli/CommandLine.h"
#include "editor/RunEditor.h"

#include <csignal>

int main(int argc, char **argv)
{
    // A write beyond the file-size limit (ulimit -f) then fails with "File
    // too large", which a save reports, instead of ending the program with
    // the unsaved text.
    std::signal(SIGXFSZ, SIG_IGN);
    if (auto status = zuno::runConverterCommand(argc, argv))
        return *status;
    return zuno::runEditor(argc, argv);
}
