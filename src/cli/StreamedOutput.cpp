#include "cli/StreamedOutput.h"

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace zuno {

namespace {

// The file to cut back, and its size before, while an output is open; read
// by the signal handlers.
volatile sig_atomic_t g_fd = -1;
off_t g_start = 0;
// How many bytes have been written to it: the file's end is still ours
// when its size is g_start + g_written (see cutBack).
volatile off_t g_written = 0;

// Cuts the file back to `start` when its end is what `written` bytes from
// there made it: a file another writer appended to meanwhile is left as it
// is (cutting it back would remove their lines). Safe in a signal handler.
bool cutBack(int fd, off_t start, off_t written)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size != start + written)
        return false;
    return ::ftruncate(fd, start) == 0;
}

// Every signal that ends a process by default and can be caught.
constexpr int InterruptingSignals[] = {SIGINT, SIGHUP, SIGTERM, SIGQUIT, SIGALRM, SIGUSR1,
                                       SIGUSR2, SIGVTALRM, SIGPROF, SIGXCPU};

extern "C" void onInterrupt(int signal)
{
    if (g_fd >= 0)
        (void)cutBack(g_fd, g_start, g_written);
    // Ends as the signal would have ended the process.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    ::_exit(128 + signal);
}

bool isNullDevice(const struct stat &info)
{
    return S_ISCHR(info.st_mode) && major(info.st_rdev) == 1 && minor(info.st_rdev) == 3;
}

} // namespace

std::unique_ptr<StreamedOutput> StreamedOutput::open(int fd, const QByteArray &inputName)
{
    struct stat out {};
    if (fd < 0 || ::fstat(fd, &out) != 0)
        return nullptr;
    if (isNullDevice(out))
        return std::unique_ptr<StreamedOutput>(new StreamedOutput(fd, 0, false));
    if (!S_ISREG(out.st_mode))
        return nullptr;
    // Only at the file's end: cutting back a file written in its middle
    // would lose what followed.
    const int flags = ::fcntl(fd, F_GETFL);
    const off_t at = ::lseek(fd, 0, SEEK_CUR);
    if (flags < 0 || (!(flags & O_APPEND) && at != out.st_size))
        return nullptr;
    // The input is read in place while the output is written.
    struct stat in {};
    if (!inputName.isEmpty() && ::stat(inputName.constData(), &in) == 0 && in.st_dev == out.st_dev
        && in.st_ino == out.st_ino)
        return nullptr;
    return std::unique_ptr<StreamedOutput>(new StreamedOutput(fd, out.st_size, true));
}

StreamedOutput::StreamedOutput(int fd, off_t start, bool regularFile)
    : m_fd(fd), m_start(start), m_regularFile(regularFile)
{
    if (!m_regularFile)
        return;
    g_start = m_start;
    g_written = 0;
    g_fd = m_fd;
    for (const int signal : InterruptingSignals) {
        struct sigaction action {};
        action.sa_handler = onInterrupt;
        ::sigaction(signal, &action, nullptr);
    }
}

StreamedOutput::~StreamedOutput()
{
    if (!m_regularFile)
        return;
    for (const int signal : InterruptingSignals)
        ::signal(signal, SIG_DFL);
    g_fd = -1;
}

void StreamedOutput::write(QByteArrayView piece)
{
    const char *p = piece.data();
    qsizetype left = piece.size();
    while (m_error == 0 && left > 0) {
        const ssize_t written = ::write(m_fd, p, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            m_error = written < 0 ? errno : ENOSPC;
            break;
        }
        p += written;
        left -= written;
        m_written += written;
        if (m_regularFile)
            g_written = m_written;
    }
}

bool StreamedOutput::takeBack()
{
    return !m_regularFile || m_written == 0 || cutBack(m_fd, m_start, m_written);
}

void exitTakingOutputBack(int status)
{
    if (g_fd >= 0)
        (void)cutBack(g_fd, g_start, g_written);
    ::_exit(status);
}

} // namespace zuno
