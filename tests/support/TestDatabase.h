#pragma once

#include "store/Database.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtGlobal>

// The folder holding the built program files (master.gen, help pages); the
// test runner passes it in ORVEL_PROGRAM_FOLDER.
inline QString programFolder()
{
    return qEnvironmentVariable("ORVEL_PROGRAM_FOLDER");
}

// Puts a fresh copy of the template database as "orvel2.mdb" into folder and
// returns the connection string for it; empty when the template is missing.
inline QString copyTemplateTo(const QString &folder)
{
    const QString target = QDir(folder).filePath(QStringLiteral("orvel2.mdb"));
    QFile::remove(target);
    if (!QFile::copy(QDir(programFolder()).filePath(QStringLiteral("master.gen")), target))
        return {};
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    return Database::connectionString(QDir::toNativeSeparators(folder));
}

// A fingerprint of a file's bytes, to show that something left it untouched;
// empty when the file cannot be read.
inline QByteArray fileDigest(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// A file's bytes; empty when it cannot be read.
inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Makes bytes the whole of a file; false when it cannot be written.
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
