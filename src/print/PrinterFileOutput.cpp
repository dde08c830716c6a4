#include "PrinterFileOutput.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

namespace zorvane {

PrinterFileOutput::PrinterFileOutput(QPrinter& printer) : printer_(printer)
{
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
        return;
    target_ = printer.outputFileName();
    QTemporaryFile reserved(target_ + QStringLiteral(".XXXXXX"));
    reserved.setAutoRemove(false);
    if (!reserved.open())
        return;
    temporary_ = reserved.fileName();
    reserved.close();
    printer.setOutputFileName(temporary_);
}

PrinterFileOutput::~PrinterFileOutput()
{
    if (!temporary_.isEmpty())
        QFile::remove(temporary_);
    restoreName();
}

void PrinterFileOutput::restoreName()
{
    if (active() && printer_.outputFileName() != target_)
        printer_.setOutputFileName(target_);
}

bool isCompletePdf(const QByteArray& pdf)
{
    const QByteArray end = pdf.trimmed();
    if (!end.endsWith("%%EOF"))
        return false;
    const qsizetype startxref = end.lastIndexOf("startxref");
    if (startxref < 0)
        return false;
    bool ok = false;
    const qint64 offset =
        end.mid(startxref + 9, end.size() - 5 - startxref - 9).trimmed().toLongLong(&ok);
    return ok && offset >= 0 && offset < startxref && pdf.mid(offset, 4) == "xref";
}

bool PrinterFileOutput::commit()
{
    if (!ready())
        return false;
    QFile written(temporary_);
    if (!written.open(QIODevice::ReadWrite) || !isCompletePdf(written.readAll()) ||
        ::fsync(written.handle()) != 0)
        return false;
    written.close();
    // The permissions a new file of ours would get, not the temporary's.
    const QFileInfo previous(target_);
    written.setPermissions(previous.exists() ? previous.permissions()
                                             : QFile::ReadOwner | QFile::WriteOwner |
                                                   QFile::ReadGroup | QFile::ReadOther);
    // rename() replaces the target in one step, as QSaveFile does.
    if (std::rename(QFile::encodeName(temporary_).constData(),
                    QFile::encodeName(target_).constData()) != 0)
        return false;
    temporary_.clear();
    restoreName();
    return true;
}

} // namespace zorvane
