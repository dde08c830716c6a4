#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSettings>

namespace zorvane {

// The store's INI files, laid out exactly as QSettings lays out its own INI
// format, so files written by either read back in the other. The one
// difference is on reading: values are only ever text, numbers and lists of
// text. A typed value ("@Variant(...)", "@ByteArray(...)", "@Rect(...)" and
// the like) is never written by this program; Qt would deserialize it into
// any registered type, which a damaged or planted file can turn into a
// multi-gigabyte allocation or a crash. Such values read as missing.

// A store file larger than this is not ours: it is read as empty.
inline constexpr qint64 maxStoreFileBytes = 4 * 1024 * 1024;

// Keys are "Section/key" (and "Section/group/key"); keys outside any
// section sit under "[General]", as in QSettings.
QSettings::SettingsMap readIniText(QByteArrayView text);
QByteArray writeIniText(const QSettings::SettingsMap& values);

// The QSettings format that reads and writes through the two functions
// above; registered on first use.
QSettings::Format storeIniFormat();

} // namespace zorvane
