#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QProcess>

namespace enginetest {

namespace {

// Text measuring needs a GUI application object; one is created for the whole test program.
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "engine_tests";
        static char* argv[] = {name, nullptr};
        if (!QGuiApplication::instance())
            app_ = new QGuiApplication(argc, argv);
    }
    void TearDown() override
    {
        delete app_;
        app_ = nullptr;
    }

private:
    QGuiApplication* app_ = nullptr;
};

const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

} // namespace

QByteArray templateXml(const QString& pageBody, const QString& head, const QString& pageAttrs)
{
    const QString xml = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<TfrxReport Version=\"4.12\" ScriptLanguage=\"PascalScript\">\n%1\n"
        "<TfrxReportPage Name=\"Page1\" PaperWidth=\"210\" PaperHeight=\"297\" PaperSize=\"9\" LeftMargin=\"10\" "
        "RightMargin=\"10\" TopMargin=\"10\" BottomMargin=\"10\" %3>\n%2\n</TfrxReportPage>\n</TfrxReport>\n")
                            .arg(head, pageBody, pageAttrs);
    return xml.toUtf8();
}

void load(tarvex::engine::Report& report, const QByteArray& xml)
{
    tarvex::engine::LoadError e;
    ASSERT_TRUE(report.loadFromData(xml, &e)) << e.toString().toStdString();
}

tarvex::engine::PreparedReport prepare(tarvex::engine::Report& report)
{
    tarvex::engine::PreparedReport out;
    QString error;
    EXPECT_TRUE(report.prepare(out, &error)) << error.toStdString();
    return out;
}

QStringList texts(const tarvex::engine::PreparedReport& r, int page)
{
    return r.pageTexts(page);
}

QString pdfText(const QString& pdfPath)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdfPath, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace enginetest
