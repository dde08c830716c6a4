#include "PictureFileDialog.h"

#include "picture/PictureHolder.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace zorvane {

QStringList pictureFileFilters()
{
    QStringList everyFormat;
    for (const QByteArray& format : PictureHolder::readableFormats())
        everyFormat.append(u"*."_s + QString::fromLatin1(format));
    return {u"ﾋﾟｸﾁｬﾌｧｲﾙ(*.BMP, *.JPG, *.GIF) "
            u"(*.[bB][mM][pP] *.[jJ][pP][gG] *.[jJ][pP][eE][gG] *.[gG][iI][fF])"_s,
            u"すべての画像 ("_s + everyFormat.join(u' ') + u')'};
}

QStringList patternsOfFilter(const QString& filter)
{
    // The dialog takes the patterns from the last parentheses of an entry.
    static const QRegularExpression lastParentheses(u"\\(([^()]*)\\)\\s*$"_s);
    const QRegularExpressionMatch match = lastParentheses.match(filter);
    return match.hasMatch() ? match.captured(1).split(u' ', Qt::SkipEmptyParts) : QStringList();
}

QString pictureDialogFolder(const QString& lastPicturePath, const QString& picturesFolder,
                            const QString& homeFolder)
{
    if (!lastPicturePath.isEmpty()) {
        const QString folder = QFileInfo(lastPicturePath).absolutePath();
        if (QFileInfo(folder).isDir())
            return folder;
    }
    if (!picturesFolder.isEmpty() && QFileInfo(picturesFolder).isDir())
        return picturesFolder;
    return homeFolder;
}

QString pictureDialogFolder(const QString& lastPicturePath)
{
    return pictureDialogFolder(lastPicturePath,
                               QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
                               QDir::homePath());
}

QString askForPictureFile(QWidget* parent, const QString& folder)
{
    return QFileDialog::getOpenFileName(parent, QString(), folder,
                                        pictureFileFilters().join(u";;"_s), nullptr,
                                        QFileDialog::HideNameFilterDetails);
}

} // namespace zorvane
