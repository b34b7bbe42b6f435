#pragma once
// Reading documents back through LibreOffice, as a user's word processor or spreadsheet would.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace office {

/// The LibreOffice program; empty when it is not installed.
inline QString find()
{
    for (const char* name : {"libreoffice", "soffice"}) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

/// CSV of the first sheet: UTF-8, comma-separated, cells as shown.
inline const QString kCsv = QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,1033,false,true,true,false,false");

/**
 * Converts `path` with the filter `to` (e.g. "txt:Text", kCsv, "html") into `outDir` and returns
 * the file it wrote (the one named like `path` with the filter's suffix); empty when LibreOffice
 * failed or wrote nothing. A private profile under `outDir` keeps parallel runs apart.
 */
inline QString convert(const QString& program, const QString& path, const QString& to, const QString& outDir)
{
    QProcess p;
    p.start(program, {QStringLiteral("--headless"), QStringLiteral("--norestore"),
                      QStringLiteral("-env:UserInstallation=file://") + QDir(outDir).filePath(QStringLiteral("lo-profile")),
                      QStringLiteral("--convert-to"), to, QStringLiteral("--outdir"), outDir, path});
    if (!p.waitForFinished(180000) || p.exitCode() != 0)
        return {};
    const QString suffix = to.section(QLatin1Char(':'), 0, 0);
    const QString base = QFileInfo(path).completeBaseName();
    // Spreadsheets converted to CSV may get the sheet name after the file name.
    const QStringList made = QDir(outDir).entryList({base + QStringLiteral("*.") + suffix}, QDir::Files);
    return made.isEmpty() ? QString() : QDir(outDir).filePath(made.front());
}

inline QString readText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

/// Rows of a CSV file: fields separated by commas, quoted fields with doubled quotes.
inline QList<QStringList> csvRows(const QString& path)
{
    QList<QStringList> rows;
    const QString text = readText(path);
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (quoted) {
            if (ch == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
                field += text[++i];
            else if (ch == QLatin1Char('"'))
                quoted = false;
            else
                field += ch;
        } else if (ch == QLatin1Char('"')) {
            quoted = true;
        } else if (ch == QLatin1Char(',')) {
            row << field;
            field.clear();
        } else if (ch == QLatin1Char('\n')) {
            rows << (row << field);
            row.clear();
            field.clear();
        } else if (ch != QLatin1Char('\r') && ch != QChar(0xFEFF)) {
            field += ch;
        }
    }
    if (!field.isEmpty() || !row.isEmpty())
        rows << (row << field);
    return rows;
}

/// The cells of a row without the empty ones, in order.
inline QStringList filled(const QStringList& row)
{
    QStringList out;
    for (const QString& c : row)
        if (!c.trimmed().isEmpty())
            out << c.trimmed();
    return out;
}

} // namespace office
