#pragma once

#include <QByteArray>
#include <QString>

// The whole content of a file; empty when it cannot be read.
QByteArray readFile(const QString &path);
// Writes `bytes` as the whole file, creating its folder; fails the running test when it cannot.
void writeFile(const QString &path, const QByteArray &bytes);
