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

// The folder the picture file dialog opens in: that of the last picture
// chosen, else the pictures folder, else home; the first of them that is
// there. A dialog given no folder would open in the working directory,
// which for a program started from a menu is nowhere the user keeps
// pictures.
QString pictureDialogFolder(const QString& lastPicturePath, const QString& picturesFolder,
                            const QString& homeFolder);
// The same with the user's own pictures folder and home.
QString pictureDialogFolder(const QString& lastPicturePath);

// Asks for a picture file, starting in the given folder; the chosen path,
// or an empty text on cancel.
QString askForPictureFile(QWidget* parent, const QString& folder = QString());

} // namespace zorvane
