#pragma once
// Saving a result file whole: the old file is replaced only once the new one is complete, and
// a file that cannot be written is told to the user.

#include <QByteArray>
#include <QSaveFile>
#include <QString>

/// The text told when `fileName` cannot be written: the picked access message and the name.
QString FileAccessMessage(const QString& fileName);

/**
 * A result file being written. Bytes go to a temporary file beside the target, which replaces
 * the target on commit(); a writer that gives up (or is destroyed) leaves the old file as it
 * was. Where the directory does not allow a temporary file, the target is written directly.
 */
class TOutputFile {
public:
    explicit TOutputFile(const QString& fileName);
    TOutputFile(const TOutputFile&) = delete;
    TOutputFile& operator=(const TOutputFile&) = delete;

    /// Opens for writing; on failure tells the user (prompt layer) and returns false.
    bool open();
    /// Appends bytes; on failure tells the user once and returns false.
    bool write(const char* data, qint64 size);
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    /// Finishes the file; on failure tells the user and returns false.
    bool commit();

private:
    bool fail();

    QString fileName_;
    QSaveFile file_;
    bool failed_ = false;
};

/// Writes `bytes` as the whole of `fileName` (created or replaced). False after telling the user.
bool SaveWholeFile(const QString& fileName, const QByteArray& bytes);
