#pragma once

#include <QMap>
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

// Whether this process can read the scheduler's access log, where every
// request leaves one line.
bool accessLogReadable();
// Where the access log ends now, to count the requests logged after it.
qint64 accessLogEnd();
// The Create-Job requests logged after the given end.
int createJobsLoggedSince(qint64 end);
// Every job the scheduler keeps, done or not: its id and its owner (the
// CUPS_USER of the program that sent it).
QMap<QString, QString> jobOwners();
// Whether a job of the owner still waits or prints.
bool hasUnfinishedJobs(const QString& owner);

} // namespace cupsqueue
