#include "ImageLibraryNoise.h"

#include <QByteArray>

#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <fcntl.h>
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

// A file in memory, so catching needs no disk and works on a full one.
int memoryFile()
{
    const int fd = memfd_create("zorvane-image-library-messages", MFD_CLOEXEC);
    return fd >= 0 ? fd : ::open("/dev/null", O_WRONLY | O_CLOEXEC);
}

void passOnCaught(int fd)
{
    if (!lcImageLibraries().isDebugEnabled() || ::lseek(fd, 0, SEEK_SET) != 0)
        return;
    QByteArray caught;
    char buffer[4096];
    constexpr qsizetype maxCaught = 64 * 1024;
    for (ssize_t got; caught.size() < maxCaught && (got = ::read(fd, buffer, sizeof buffer)) > 0;)
        caught.append(buffer, got);
    for (const QByteArray& line : caught.split('\n')) {
        if (!line.isEmpty())
            qCDebug(lcImageLibraries, "%s", line.constData());
    }
}

} // namespace

ImageLibraryNoiseScope::ImageLibraryNoiseScope()
{
    installTiffHandlers();
    std::fflush(stderr);
    capture_ = memoryFile();
    savedStandardError_ = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    if (capture_ < 0 || savedStandardError_ < 0 || ::dup2(capture_, STDERR_FILENO) < 0) {
        if (savedStandardError_ >= 0)
            ::close(savedStandardError_);
        savedStandardError_ = -1;
    }
}

ImageLibraryNoiseScope::~ImageLibraryNoiseScope()
{
    std::fflush(stderr);
    if (savedStandardError_ >= 0) {
        ::dup2(savedStandardError_, STDERR_FILENO);
        ::close(savedStandardError_);
    }
    if (capture_ >= 0) {
        // Passed on only now that standard error is back, so a debug log
        // written there is seen.
        passOnCaught(capture_);
        ::close(capture_);
    }
}

} // namespace zorvane
