#pragma once
namespace zuno {
// Starts the editor: the main window with the file named by the arguments.
int runEditor(int argc, char **argv);
} // namespace zuno
