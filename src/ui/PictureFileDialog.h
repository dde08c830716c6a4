#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace zorvane {

// The name filters of the picture file dialog: the familiar picture entry,
// whose patterns match BMP, JPEG (.jpg and .jpeg) and GIF names in any case,
// then an entry for every format the program can read.
QStringList pictureFileFilters();

// The patterns of a filter entry, as the file dialog takes them.
QStringList patternsOfFilter(const QString& filter);

// Asks for a picture file; the chosen path, or an empty text on cancel.
QString askForPictureFile(QWidget* parent);

} // namespace zorvane
