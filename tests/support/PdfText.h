#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>

// The text of a PDF (pages separated by form feeds) as pdftotext reads it;
// empty when pdftotext is not installed.
inline QString PdfText(const QString& pdf)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return {};
    QProcess p;
    p.start(tool, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}
