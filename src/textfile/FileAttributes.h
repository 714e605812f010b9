#pragma once
// A file's owner, group, permissions and extended attributes (ACLs among
// them), handed on to the file that replaces it (internal to the text-file
// layer).

#include "textfile/TextFileTypes.h"

#include <sys/stat.h>

namespace zuno::textfile {

// Gives the new file the old one's extended attributes, and only those.
// False when that cannot be done.
bool copyAttributes(int oldFd, int newFd);

// Makes the file `fd` the old one (status `old`, open as `oldFd`) in all
// but its bytes: owner and group, permissions, extended attributes. False
// when that cannot be done.
bool takeOverAttributes(const struct stat &old, int oldFd, int fd);

// Gives a new file that stands in for one that vanished the permissions
// (and, where allowed, the owner and group) that one had, as far as the
// system lets us; a file the system will not change keeps its own.
void takeOverVanished(const FileStamp &was, int fd);

} // namespace zuno::textfile
