#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

// What a program prints on its standard output; empty when it fails.
inline QString commandOutput(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The pages of a PDF as poppler's pdftotext lays them out, runs of blanks
// collapsed to one.
inline QStringList pdfPages(const QString &pdftotext, const QString &fileName)
{
    QStringList pages = commandOutput(pdftotext, {QStringLiteral("-layout"), fileName, QStringLiteral("-")})
                            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    for (QString &page : pages)
        page.replace(blanks, QStringLiteral(" "));
    return pages;
}
