#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Database files that must not open, made for the tests of opening and
// start-up: "missing", "empty" (zero length), "random" (random bytes),
// "wrongkey" (a good database keyed with another password), "notable" (a
// good database without the table trnTarget), "truncated" (a good database
// cut short), "cut100" and "firstpage" (cut inside and after the first
// page), "plain" (an unencrypted SQLite database of another program) and
// "folder" (a folder in place of the file).
namespace BadFiles {
QStringList kinds();
void make(const QString& kind, const QString& path);
// SHA-256 of the file's bytes; empty when it cannot be read.
QByteArray hash(const QString& path);
} // namespace BadFiles
