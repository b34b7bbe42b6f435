#pragma once
// A print-job record and a data module for the chromatogram report's tests: the job is written
// by the host stand-in's encoder from JSON and decoded by the program's decoder.

#include "Bilingual.h"
#include "ChromReport.h"
#include "JobEncoder.h"
#include "Prompt.h"
#include "TChromModule.h"
#include "TDataModule1.h"
#include "TMemoryWorker.h"
#include "ValueFormat.h"

#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace chromtest {

/// A number as the report writes it: "." stands for the regional decimal separator.
inline QString num(const char* text) {
    return QString::fromLatin1(text).replace(QLatin1Char('.'), ReportNumberLocale().decimalPoint());
}

/// `job` with `field` of its `area` object set (or, for a non-object area, the area replaced).
inline QJsonObject with(QJsonObject job, const char* area, const char* field, const QJsonValue& value) {
    QJsonObject a = job.value(QLatin1String(area)).toObject();
    a.insert(QLatin1String(field), value);
    job.insert(QLatin1String(area), a);
    return job;
}
inline QJsonObject with(QJsonObject job, const char* area, const QJsonValue& value) {
    job.insert(QLatin1String(area), value);
    return job;
}

class ChromTables : public ::testing::Test {
protected:
    void SetUp() override {
        auto recording = std::make_unique<tarvex::RecordingPrompt>();
        prompt_ = recording.get();
        previous_ = tarvex::setPrompt(std::move(recording));
        tarvex::setLanguageIndex(1);
    }
    void TearDown() override {
        tarvex::setLanguageIndex(1);
        tarvex::setPrompt(std::move(previous_));
    }

    /// A fresh record and data module holding `job`, with the chromatogram sources installed.
    void load(const QJsonObject& job) {
        host::EncodedJob blocks;
        QString error;
        ASSERT_TRUE(host::encodeJob(job, &blocks, &error)) << error.toStdString();
        data_.reset();
        chrom_ = std::make_unique<TChromModule>();
        data_ = std::make_unique<TDataModule1>();
        TMemoryBuffer buffer;
        buffer.resize(static_cast<std::size_t>(blocks.chromatogram.size()));
        std::memcpy(buffer.data(), blocks.chromatogram.constData(), static_cast<std::size_t>(blocks.chromatogram.size()));
        data_->printSettings.assign(reinterpret_cast<const std::uint8_t*>(blocks.printSettings.constData()),
                                    static_cast<std::size_t>(blocks.printSettings.size()));
        // As the dispatch does: the print settings say whether block 1 carries graphs.
        chrom_->SetHasAddCalcGraphs(data_->printSettings.bPrint_AddCalcGraphs());
        ASSERT_TRUE(chrom_->DecodeChromatogram(buffer, true, true));
        data_->chromMode = true;
        InstallChromatogramSources(*data_, *chrom_);
    }

    /// Replaces CommonReport's template by one page holding `bands`.
    void useTemplate(const QString& bands) {
        const QString xml = QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<TfrxReport Version=\"4.0\"><TfrxReportPage Name=\"Page1\" "
            "PaperWidth=\"210\" PaperHeight=\"297\" LeftMargin=\"10\" RightMargin=\"10\" TopMargin=\"10\" "
            "BottomMargin=\"10\">%1</TfrxReportPage></TfrxReport>").arg(bands);
        ASSERT_TRUE(data_->SetBuiltInTemplate(data_->CommonReport(), xml.toUtf8()));
    }

    /// The text a report variable holds (its quoted expression read back).
    QString var(const char* name) const {
        const QString* expression = data_->CommonReport().variables().expression(QLatin1String(name));
        if (!expression)
            return QStringLiteral("<unset>");
        QString text = *expression;
        if (text.size() >= 2 && text.startsWith(QLatin1Char('\'')) && text.endsWith(QLatin1Char('\'')))
            text = text.mid(1, text.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
        return text;
    }

    int rows(const char* source) const { return data_->rowSource(QLatin1String(source))->rangeEndCount(); }

    /// Moves a row source to `index` through its Next handler, as the engine steps.
    void moveTo(void (TDataModule1::*next)(), const char* source, int index) {
        data_->rowIndex(QLatin1String(source)) = index - 1;
        ((*data_).*next)();
    }

    tarvex::RecordingPrompt* prompt_ = nullptr;
    std::unique_ptr<tarvex::Prompt> previous_;
    std::unique_ptr<TChromModule> chrom_;
    std::unique_ptr<TDataModule1> data_;
};

} // namespace chromtest
