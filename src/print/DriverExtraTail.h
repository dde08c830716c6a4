#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace zorvane {

// What the device-mode record has no field for, carried in its
// driver-private tail as UTF-8 "key=value" lines. '%', line breaks and NUL
// in a value are percent-encoded, so any printer name or path survives.
struct DriverExtraTail
{
    QString printerName; // the full name; the public field holds 31 bytes
    bool pdfFile = false;
    QString outputFile;
    QStringList cupsOptions; // name, value, name, value, ...

    // Lines that would not fit into the capacity are left out, least
    // important first: the printer name always goes in first.
    QByteArray encode(int capacity) const;
    static DriverExtraTail decode(QByteArrayView tail);
};

} // namespace zorvane
