#pragma once
// The editor lives in a shared module of its own (zunopad-editor.so) beside
// the program or in the program's library folder; the program itself holds
// the command line and links only Qt Core, so that a conversion starts in a
// few milliseconds.
namespace zuno {

// Loads the editor's module and runs the editor; when the module cannot be
// loaded, says why on standard error and returns 2.
int runEditorModule(int argc, char **argv);

} // namespace zuno

extern "C" int zunopad_run_editor(int argc, char **argv);
