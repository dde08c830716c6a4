#include "ImageLibraryNoise.h"

#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace zorvane {

Q_LOGGING_CATEGORY(lcImageLibraries, "zorvane.imagelibraries", QtWarningMsg)

namespace {

void logTiffMessage(const char* module, const char* format, va_list arguments)
{
    if (!lcImageLibraries().isDebugEnabled())
        return;
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    qCDebug(lcImageLibraries, "libtiff: %s: %s", module ? module : "", text);
}

// libtiff's handlers are global to the process; the TIFF plugin shares the
// one libtiff with us, so setting them once here covers it.
void installTiffHandlers()
{
    static const bool installed = [] {
        TIFFSetErrorHandler(logTiffMessage);
        TIFFSetWarningHandler(logTiffMessage);
        return true;
    }();
    Q_UNUSED(installed);
}

// A file in memory, so catching needs no disk and works on a full one;
// what it catches is dropped with it.
int memoryFile()
{
    const int fd = memfd_create("zorvane-image-library-messages", MFD_CLOEXEC);
    return fd >= 0 ? fd : ::open("/dev/null", O_WRONLY | O_CLOEXEC);
}

} // namespace

// Standard error belongs to the process, and pictures are decoded on more
// than one thread: the first scope in redirects it, the last one out puts
// it back, and scopes in between share the redirection.
struct Redirection
{
    std::mutex mutex;
    int scopes = 0;
    int savedStandardError = -1;
    int capture = -1;
};

Redirection& redirection()
{
    static Redirection shared;
    return shared;
}

ImageLibraryNoiseScope::ImageLibraryNoiseScope()
{
    installTiffHandlers();
    // Asked for, the libraries' words reach standard error as they are
    // written, and so does anything else said meanwhile (a sanitizer's or
    // a fuzzer's report of a fault inside a decoder).
    if (lcImageLibraries().isDebugEnabled())
        return;
    counted_ = true;
    Redirection& shared = redirection();
    const std::lock_guard lock(shared.mutex);
    if (shared.scopes++ > 0)
        return;
    std::fflush(stderr);
    shared.capture = memoryFile();
    shared.savedStandardError = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    if (shared.capture < 0 || shared.savedStandardError < 0 ||
        ::dup2(shared.capture, STDERR_FILENO) < 0) {
        if (shared.savedStandardError >= 0)
            ::close(shared.savedStandardError);
        shared.savedStandardError = -1;
    }
}

ImageLibraryNoiseScope::~ImageLibraryNoiseScope()
{
    if (!counted_)
        return;
    Redirection& shared = redirection();
    const std::lock_guard lock(shared.mutex);
    if (--shared.scopes > 0)
        return;
    std::fflush(stderr);
    if (shared.savedStandardError >= 0) {
        ::dup2(shared.savedStandardError, STDERR_FILENO);
        ::close(shared.savedStandardError);
        shared.savedStandardError = -1;
    }
    if (shared.capture >= 0) {
        ::close(shared.capture);
        shared.capture = -1;
    }
}

} // namespace zorvane
