#include "PictureFileDialog.h"

#include "picture/HeifPicture.h"
#include "picture/PictureHolder.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace zorvane {

namespace {

// A pattern matching the suffix in any case, as phones write IMG_0001.HEIC,
// for dialogs whose patterns match case by case.
QString anyCasePattern(const QByteArray& suffix)
{
    QString pattern = u"*."_s;
    for (const char letter : suffix) {
        const QChar lower = QChar::fromLatin1(letter).toLower();
        pattern += u'[' + lower + lower.toUpper() + u']';
    }
    return pattern;
}

} // namespace

QStringList pictureFileFilters()
{
    QStringList everyFormat;
    for (const QByteArray& format : PictureHolder::readableFormats())
        everyFormat.append(u"*."_s + QString::fromLatin1(format));
    for (const QByteArray& suffix : heifFileSuffixes())
        everyFormat.append(anyCasePattern(suffix));
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
