#include <gtest/gtest.h>

#include "OutputTestSupport.h"

#include "JobEncoder.h"
#include "TMemoryWorker.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <cstring>

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QJsonObject readJobFile(const QString& name) {
    const QByteArray bytes = readFile(QStringLiteral(TARVEX_SOURCE_DIR "/") + name);
    EXPECT_FALSE(bytes.isEmpty()) << "missing job file " << name.toStdString();
    return QJsonDocument::fromJson(bytes).object();
}

void decodeJob(const QJsonObject& job, TestJob& out) {
    host::EncodedJob blocks;
    QString error;
    ASSERT_TRUE(host::encodeJob(job, &blocks, &error)) << error.toStdString();
    out.settings.assign(reinterpret_cast<const std::uint8_t*>(blocks.printSettings.constData()),
                        static_cast<std::size_t>(blocks.printSettings.size()));
    TMemoryBuffer buffer;
    buffer.resize(static_cast<std::size_t>(blocks.chromatogram.size()));
    std::memcpy(buffer.data(), blocks.chromatogram.constData(), static_cast<std::size_t>(blocks.chromatogram.size()));
    out.rec->SetHasAddCalcGraphs(out.settings.bPrint_AddCalcGraphs());
    ASSERT_TRUE(out.rec->DecodeChromatogram(buffer, true, true));
    for (int i = 0; i < 12; ++i)
        out.widths[static_cast<std::size_t>(i)] = out.settings.fPeakCol_Width(i) * 7.5;
    for (int i = 0; i < 10; ++i) {
        out.widths[static_cast<std::size_t>(12 + i)] = out.settings.fIdentCol_Width(i) * 7.5;
        out.widths[static_cast<std::size_t>(22 + i)] = out.settings.fGroupCol_Width(i) * 7.5;
    }
}

QLocale goldenLocale() {
    QLocale locale(QLocale::Russian, QLocale::Russia);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

TResultContext goldenContext() {
    TResultContext context;
    context.locale = goldenLocale();
    context.now = QDateTime(QDate(2025, 12, 11), QTime(9, 30, 15));
    return context;
}

::testing::AssertionResult matchesGolden(const QByteArray& actual, const QString& name) {
    const QString path = QStringLiteral(TARVEX_SOURCE_DIR "/tests/outputs/golden/") + name;
    if (qEnvironmentVariableIsSet("TARVEX_UPDATE_GOLDEN")) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(actual) != actual.size())
            return ::testing::AssertionFailure() << "cannot write " << path.toStdString();
        return ::testing::AssertionSuccess();
    }
    const QByteArray golden = readFile(path);
    if (golden == actual)
        return ::testing::AssertionSuccess();
    qsizetype at = 0;
    while (at < golden.size() && at < actual.size() && golden[at] == actual[at])
        ++at;
    const qsizetype lineStart = golden.lastIndexOf('\n', at - 1) + 1;
    return ::testing::AssertionFailure()
           << name.toStdString() << " differs at byte " << at << " (golden " << golden.size() << " bytes, actual "
           << actual.size() << ")\n golden: " << golden.mid(lineStart, at - lineStart + 40).toStdString()
           << "\n actual: " << actual.mid(lineStart, at - lineStart + 40).toStdString();
}

PromptRecorder::PromptRecorder() {
    auto recording = std::make_unique<tarvex::RecordingPrompt>();
    prompt = recording.get();
    previous_ = tarvex::setPrompt(std::move(recording));
}

PromptRecorder::~PromptRecorder() { tarvex::setPrompt(std::move(previous_)); }

QStringList PromptRecorder::errors() const {
    QStringList out;
    for (const auto& e : prompt->entries)
        if (e.kind == tarvex::RecordingPrompt::Kind::Error)
            out << e.text;
    return out;
}
