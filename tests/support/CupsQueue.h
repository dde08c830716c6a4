#pragma once

#include <QSet>
#include <QString>

// The CUPS queue that writes its jobs as PDF files (scripts/cups-test-queue.sh).
namespace cupsqueue {

// The directory where the queue writes its jobs: given by the script that
// set the queue up, else the backend's own configuration; empty if unknown.
QString outputDir();
// Why the queue cannot be used for a test; empty when it can.
QString whyUnusable();
QSet<QString> pdfsIn(const QString& dir);
// Waits for the queue to write a new, complete PDF; empty after a timeout.
QString awaitNewPdf(const QString& dir, const QSet<QString>& before);

} // namespace cupsqueue
