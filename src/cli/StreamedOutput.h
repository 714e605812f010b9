#pragma once
// Standard output written while a conversion goes on, where what was
// written can be taken back when the conversion fails: a regular file
// written at its end (as "> FILE" and ">> FILE" leave it), cut back to its
// old size, or /dev/null. Anything else (a pipe, a terminal, a file written
// in its middle, the input file itself) gets the whole output at once, once
// the input has been found valid.
//
// While it is open, an interrupt, a hang-up, a termination, any other
// signal that would end the process and can be caught, or an input cut
// short (SIGBUS) cuts the file back before the process ends. A file is cut
// back only while its end is still what this output wrote: what another
// writer appended meanwhile is never removed.

#include <QByteArray>
#include <QByteArrayView>

#include <memory>
#include <sys/types.h>

namespace zuno {

class StreamedOutput {
public:
    // An output on `fd`, or null where it could not be taken back or is the
    // file `inputName` (its bytes) itself.
    static std::unique_ptr<StreamedOutput> open(int fd, const QByteArray &inputName);
    ~StreamedOutput();
    StreamedOutput(const StreamedOutput &) = delete;
    StreamedOutput &operator=(const StreamedOutput &) = delete;

    // Writes a piece; after a failed write, writes nothing more.
    void write(QByteArrayView piece);
    // Whether every piece was written; the system's reason when not.
    bool ok() const { return m_error == 0; }
    int error() const { return m_error; }
    // Cuts the file back to what it held before; false when it could not
    // (another writer has appended to it meanwhile, or the system refused).
    bool takeBack();

private:
    StreamedOutput(int fd, off_t start, bool regularFile);
    int m_fd;
    off_t m_start;
    bool m_regularFile;
    int m_error = 0;
    off_t m_written = 0;
};

// Ends the process at once with `status` after cutting an open
// StreamedOutput back; safe in a signal handler.
[[noreturn]] void exitTakingOutputBack(int status);

} // namespace zuno
