#pragma once
// zunopad --check [--verbose] [--warnings-as-errors] [--format=FORM] FILE...
//
// Every problem of every file, as the editor marks it in the List view, in
// file and line order; a FILE that is a folder stands for its data files
// (FolderWalk.h). The files are read and checked on a pool of threads, one
// for each core, and reported in the order of a single thread.
//
// Exit status: 2 when a file or folder cannot be read, the output cannot be
// written or the command is wrong; else 1 when an error was found (or a
// warning, with --warnings-as-errors); else 0.

#include <QIODevice>
#include <QStringList>

#include <functional>

namespace zuno {

// Whether `argument` is one of --check's own options.
bool isCheckOption(const QString &argument);

// `arguments` are those after --check. `threads` 0: one for each core.
// `complain` writes a message to standard error.
int runCheck(const QStringList &arguments, QIODevice &in, QIODevice &out,
             const std::function<void(const QString &)> &complain, int threads = 0);

} // namespace zuno
