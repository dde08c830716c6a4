#pragma once

#include <QLoggingCategory>

namespace zorvane {

// What image libraries say while decoding: hidden unless
// QT_LOGGING_RULES="zorvane.imagelibraries.debug=true" asks for it, which
// leaves standard error alone while pictures are decoded.
Q_DECLARE_LOGGING_CATEGORY(lcImageLibraries)

// Keeps what image libraries print straight to standard error while a
// picture is decoded or encoded off the program's own output: libtiff's
// messages go through handlers of ours (to the debug category), and
// whatever else reaches file descriptor 2 (libpng's default error handler
// writes there) is caught in a memory file and dropped. Standard error is
// restored when the last scope open on any thread ends. Other threads
// writing to standard error meanwhile are caught too, so scopes are kept to
// the decoding or encoding itself.
class ImageLibraryNoiseScope
{
public:
    ImageLibraryNoiseScope();
    ~ImageLibraryNoiseScope();

    ImageLibraryNoiseScope(const ImageLibraryNoiseScope&) = delete;
    ImageLibraryNoiseScope& operator=(const ImageLibraryNoiseScope&) = delete;

private:
    bool counted_ = false; // this scope shares the redirection
};

} // namespace zorvane
