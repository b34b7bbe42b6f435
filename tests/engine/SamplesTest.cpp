// Real templates from unrelated projects: each loads, prepares, exports to PDF, and its static texts
// are in the PDF's text.

#include "EngineTestSupport.h"

#include "MemoView.h"
#include "Render.h"
#include "UserDataSet.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace tarvex::engine;

namespace {

// Records of data sets the test does not have: every field is empty.
class BlankDataSet : public UserDataSet {
public:
    using UserDataSet::UserDataSet;
    std::optional<Value> fieldValue(const QString&) const override { return Value(); }
};

void collectStatic(const Object& o, bool inPrintedBand, QStringList& out)
{
    if (!o.visible)
        return;
    if (const auto* m = dynamic_cast<const MemoView*>(&o); m && inPrintedBand) {
        const QString t = m->text.trimmed();
        // Static texts: no expression, one line, a word of letters; long or tiny memos may be cut.
        if (!t.isEmpty() && !t.contains(QLatin1Char('[')) && !t.contains(QLatin1Char('\n')) && t.size() >= 3 && t.size() <= 25
            && m->width > 60 && m->height >= 10 && m->font.height <= -8 && m->rotation == 0)
            out << t;
    }
    for (const auto& c : o.children())
        collectStatic(*c, inPrintedBand || o.kind() == ObjectKind::Band, out);
}

QString squash(QString s)
{
    static const QRegularExpression ws(QStringLiteral("\\s+"));
    return s.replace(ws, QString());
}

} // namespace

TEST(Samples, EveryTemplateRendersWithItsStaticTexts)
{
    const QDir dir(QStringLiteral(TARVEX_SOURCE_DIR "/tests/engine/fr3-samples"));
    const QStringList files = dir.entryList({QStringLiteral("*.fr3")}, QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 10);
    QTemporaryDir out;
    for (const QString& f : files) {
        SCOPED_TRACE(f.toStdString());
        Report r;
        LoadError e;
        ASSERT_TRUE(r.load(dir.filePath(f), &e)) << e.toString().toStdString();
        ASSERT_FALSE(r.pages().empty());
        for (const QString& name : r.referencedDataSets()) {
            auto ds = std::make_unique<BlankDataSet>(name);
            ds->setRangeEndCount(1);
            r.adoptDataSet(std::move(ds));
        }
        PreparedReport p;
        QString error;
        ASSERT_TRUE(r.prepare(p, &error)) << error.toStdString();
        ASSERT_GE(p.pageCount(), 1);
        const QString pdf = out.filePath(f + QStringLiteral(".pdf"));
        ASSERT_TRUE(exportPdf(p, pdf, &error)) << error.toStdString();
        const QString text = squash(enginetest::pdfText(pdf));
        ASSERT_FALSE(text.isEmpty());
        QStringList statics;
        for (const Page* page : r.pages())
            collectStatic(*page, false, statics);
        int found = 0;
        QStringList missing;
        for (const QString& s : statics) {
            if (text.contains(squash(s)))
                ++found;
            else
                missing << s;
        }
        // Texts in bands that do not print (pages of dialog forms, bands of unbound groups) are allowed
        // to be absent, but nearly all must be there.
        EXPECT_GE(found, statics.size() * 9 / 10) << "missing: " << missing.join(QStringLiteral(" | ")).toStdString();
    }
}
