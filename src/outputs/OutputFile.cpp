#include "OutputFile.h"

#include "Bilingual.h"
#include "Prompt.h"

#include <QDir>

QString FileAccessMessage(const QString& fileName) {
    return tarvex::Pick(QStringLiteral("Невозможно получить доступ к файлу\r\nIt is impossible to get access to file")) +
           QLatin1Char(' ') + QDir::toNativeSeparators(fileName);
}

TOutputFile::TOutputFile(const QString& fileName) : fileName_(fileName), file_(fileName) {
    file_.setDirectWriteFallback(true);
}

bool TOutputFile::fail() {
    if (!failed_) {
        failed_ = true;
        file_.cancelWriting();
        tarvex::prompt().error(FileAccessMessage(fileName_));
    }
    return false;
}

bool TOutputFile::open() {
    if (fileName_.isEmpty() || !file_.open(QIODevice::WriteOnly))
        return fail();
    return true;
}

bool TOutputFile::write(const char* data, qint64 size) {
    if (failed_)
        return false;
    qint64 done = 0;
    while (done < size) {
        const qint64 n = file_.write(data + done, size - done);
        if (n <= 0)
            return fail();
        done += n;
    }
    return true;
}

bool TOutputFile::commit() {
    if (failed_)
        return false;
    if (!file_.commit())
        return fail();
    return true;
}

bool SaveWholeFile(const QString& fileName, const QByteArray& bytes) {
    TOutputFile file(fileName);
    return file.open() && file.write(bytes) && file.commit();
}
