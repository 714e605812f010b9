#pragma once
// The command-line converter: turns ZUNO data files from one layout into the
// other, or checks them, without a display.
//
//   zunopad --to-record FILE   List layout -> Record layout, on standard output
//   zunopad --to-list FILE     Record layout -> List layout, on standard output
//   zunopad --check FILE...    every problem of each file (or of the data
//                              files in a folder), as the editor marks them
//                              (see CheckCommand.h)
//   zunopad --lsp              the language server (src/lsp), started by main
//   zunopad --help | --version
//
// "--" ends the options, before a FILE (or the editor's FILE) that begins
// with "-".
//
// FILE may be "-" for standard input; otherwise it must be a regular file
// (a named pipe or a device is refused). Input of more than 512 MiB is
// refused (see MaxTextFileBytes). The converted text is written in the
// input's encoding and line-ending convention, with nothing after its last
// line. Exit status: 0 success; 1 invalid data (the warning on standard
// error, nothing on standard output); 2 a file that cannot be read, output
// that cannot be written, or a wrong command.

#include <QIODevice>
#include <QStringList>
#include <optional>

namespace zuno {

// The exit status when the arguments (argv[1] on) begin with an option ("--"
// and anything after it); std::nullopt when the program should start the
// editor. Creates no application object.
std::optional<int> runConverterCommand(int argc, char **argv);

// The converter on given arguments (without the program name; the first one
// is the option) and streams; returns the exit status.
int runConverter(const QStringList &args, QIODevice &in, QIODevice &out, QIODevice &err);

} // namespace zuno
