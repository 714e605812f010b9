// The one entry of the editor's shared module: the program loads the module
// only when a window is wanted, so that the command line starts without
// Qt's GUI libraries.
#include "app/EditorModule.h"
#include "app/RunEditor.h"

extern "C" __attribute__((visibility("default"))) int zunopad_run_editor(int argc, char **argv)
{
    return zuno::runEditor(argc, argv);
}
