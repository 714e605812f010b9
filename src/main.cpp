// zunopad: the editor, or with an option the command-line converter.
#include "cli/CommandLine.h"
#include "editor/RunEditor.h"

int main(int argc, char **argv)
{
    if (auto status = zuno::runConverterCommand(argc, argv))
        return *status;
    return zuno::runEditor(argc, argv);
}
