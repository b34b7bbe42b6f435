#include "Fr3Reader.h"

#include "ChartView.h"
#include "LineView.h"
#include "MemoView.h"
#include "PictureView.h"
#include "RichView.h"
#include "ShapeView.h"
#include "SubreportView.h"
#include "TableView.h"
#include "TextDecoding.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

namespace tarvex::engine {

namespace {

// Deeper element nesting than any template has is refused rather than followed.
constexpr int kMaxDepth = 64;

QString stripDigits(const QString& name)
{
    QString s = name;
    while (!s.isEmpty() && s.back().isDigit())
        s.chop(1);
    return s;
}

// A view for the class `cls`, stored under the element name `typeName` (they differ for inherited objects).
std::unique_ptr<Object> viewFor(const QString& cls, const QString& typeName)
{
    if (cls == QLatin1String("TfrxMemoView") || cls == QLatin1String("TfrxSysMemoView")
        || cls == QLatin1String("TfrxDMPMemoView"))
        return std::make_unique<MemoView>(typeName);
    if (cls == QLatin1String("TfrxPictureView"))
        return std::make_unique<PictureView>(typeName);
    if (cls == QLatin1String("TfrxLineView") || cls == QLatin1String("TfrxDMPLineView"))
        return std::make_unique<LineView>(typeName);
    if (cls == QLatin1String("TfrxShapeView"))
        return std::make_unique<ShapeView>(typeName);
    if (cls == QLatin1String("TfrxRichView"))
        return std::make_unique<RichView>(typeName);
    if (cls == QLatin1String("TfrxChartView"))
        return std::make_unique<ChartView>(typeName);
    if (cls == QLatin1String("TfrxSubreport"))
        return std::make_unique<SubreportView>(typeName);
    if (cls == QLatin1String("TfrxTableObject"))
        return std::make_unique<TableView>(typeName);
    return nullptr;
}

void readStyles(Report& report, const Object& stylesElement, std::vector<Style>& out)
{
    (void)report;
    for (const auto& item : stylesElement.children()) {
        AttributeBag bag = item->extra;
        Style s;
        s.name = bag.takeString(QStringLiteral("Name"));
        if (bag.contains(QStringLiteral("Color"))) {
            s.fillColor = bag.takeColor(QStringLiteral("Color"), kColorNone);
            s.hasFill = true;
        } else if (bag.contains(QStringLiteral("Fill.BackColor"))) {
            s.fillColor = bag.takeColor(QStringLiteral("Fill.BackColor"), kColorNone);
            s.hasFill = true;
        }
        s.hasFont = View::readFont(bag, QStringLiteral("Font"), s.font);
        s.hasFrame = bag.contains(QStringLiteral("Frame.Typ")) || bag.contains(QStringLiteral("Frame.Color"));
        View::readFrame(bag, s.frame);
        if (!s.name.isEmpty())
            out.push_back(s);
    }
}

} // namespace

std::unique_ptr<Object> Fr3Reader::createObject(const QString& typeName, const QString& name, int depth,
                                                const Object* parent)
{
    QString effective = typeName;
    if (typeName == QLatin1String("inherited")) {
        // Inherited templates name the element only; its class comes from the parent template, which may
        // be absent. Guess from the usual component names.
        const QString base = stripDigits(name);
        if (depth == 1)
            effective = base == QLatin1String("Data") ? QString() : QStringLiteral("TfrxReportPage");
        else if (depth == 2 && parent && parent->kind() == ObjectKind::Page)
            effective = QStringLiteral("Tfrx") + base;
        else if (depth == 3 && parent && parent->kind() == ObjectKind::Band) {
            static const char* const views[][2] = {{"Memo", "TfrxMemoView"},       {"SysMemo", "TfrxSysMemoView"},
                                                   {"Picture", "TfrxPictureView"}, {"Line", "TfrxLineView"},
                                                   {"Shape", "TfrxShapeView"},     {"Rich", "TfrxRichView"},
                                                   {"Chart", "TfrxChartView"},     {"Subreport", "TfrxSubreport"}};
            for (const auto& v : views)
                if (base == QLatin1String(v[0]))
                    effective = QLatin1String(v[1]);
        }
    }
    std::unique_ptr<Object> obj;
    if (depth == 1 && effective == QLatin1String("TfrxReportPage")) {
        obj = std::make_unique<Page>(typeName);
    } else if (depth == 2 && parent && parent->kind() == ObjectKind::Page) {
        if (auto bk = Band::kindForTypeName(effective))
            obj = std::make_unique<Band>(typeName, *bk);
    } else if (depth >= 3 && parent && parent->kind() == ObjectKind::Band) {
        obj = viewFor(effective, typeName);
    } else if (parent && parent->kind() == ObjectKind::Table) {
        obj = TableView::createPart(typeName);
    } else if (parent && parent->kind() == ObjectKind::Other && parent->parent()
               && parent->parent()->kind() == ObjectKind::Table) {
        obj = TableView::createPart(typeName);
    }
    if (!obj)
        obj = std::make_unique<Object>(typeName, ObjectKind::Other);
    return obj;
}

bool Fr3Reader::read(Report& report, const QByteArray& bytes, LoadError* error)
{
    // Declared encodings other than UTF-8 are taken as Windows-1251, the only other one seen in templates.
    QString text;
    const QByteArray head = bytes.left(200);
    static const QRegularExpression encodingRe(QStringLiteral("encoding=[\"']([^\"']+)[\"']"));
    const auto m = encodingRe.match(QString::fromLatin1(head));
    const QString enc = m.hasMatch() ? m.captured(1).toLower() : QStringLiteral("utf-8");
    if (enc == QLatin1String("utf-8") || enc == QLatin1String("utf8")) {
        text = decodeLenientUtf8(bytes);
    } else {
        text.reserve(bytes.size());
        for (char c : bytes)
            text += decodeSingleByte(c, 1251);
    }

    QXmlStreamReader xml(text);
    std::vector<Object*> stack;
    Object* root = nullptr;
    auto setError = [&](const QString& msg, qint64 line, qint64 col) {
        if (error) {
            error->line = int(line);
            error->column = int(col);
            error->message = msg;
        }
    };
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QString typeName = xml.name().toString();
            AttributeBag bag;
            for (const auto& a : xml.attributes())
                bag.add(a.qualifiedName().toString(), a.value().toString());
            const int depth = int(stack.size());
            if (depth == 0) {
                if (typeName != QLatin1String("TfrxReport") && typeName != QLatin1String("inherited")) {
                    setError(QStringLiteral("not a report template: the root element is <%1>").arg(typeName),
                             xml.lineNumber(), xml.columnNumber());
                    return false;
                }
                root = report.root_.get();
                report.scriptText = bag.takeString(QStringLiteral("ScriptText.Text"));
                report.options.doublePass = bag.takeBool(QStringLiteral("EngineOptions.DoublePass"), false);
                report.options.printIfEmpty = bag.takeBool(QStringLiteral("EngineOptions.PrintIfEmpty"), true);
                report.root_->extra = bag;
                if (typeName != QLatin1String("TfrxReport")) {
                    auto fresh = std::make_unique<Object>(typeName, ObjectKind::Other);
                    fresh->extra = bag;
                    fresh->hasGeometry = false;
                    report.root_ = std::move(fresh);
                    root = report.root_.get();
                }
                stack.push_back(root);
                continue;
            }
            if (depth > kMaxDepth) {
                setError(QStringLiteral("elements nested too deeply"), xml.lineNumber(), xml.columnNumber());
                return false;
            }
            Object* parent = stack.back();
            // Variables: kept in the variable list; a marker keeps their place for writing.
            if (parent == root && typeName == QLatin1String("Variables")) {
                auto marker = std::make_unique<Object>(typeName, ObjectKind::Other);
                marker->hasGeometry = false;
                marker->extra = bag;
                stack.push_back(root->addChild(std::move(marker)));
                continue;
            }
            if (parent->typeName() == QLatin1String("Variables") && parent->parent() == root
                && typeName == QLatin1String("item")) {
                QString name = bag.takeString(QStringLiteral("Name"));
                if (name.isEmpty())
                    name = bag.takeString(QStringLiteral("InheritedName"));
                const QString value = bag.takeString(QStringLiteral("Value"));
                if (name.startsWith(QLatin1Char(' ')))
                    report.variables_.addCategory(name);
                else if (!name.isEmpty())
                    report.variables_.set(name, value);
                // Items are rebuilt from the variable list when writing; skip the element's content.
                xml.skipCurrentElement();
                continue;
            }
            if (auto* chart = dynamic_cast<ChartView*>(parent);
                chart && (bag.contains(QStringLiteral("Source1")) || bag.contains(QStringLiteral("Source2")))) {
                ChartSeries s;
                s.typeName = typeName;
                s.source1 = bag.takeString(QStringLiteral("Source1"));
                s.source2 = bag.takeString(QStringLiteral("Source2"));
                s.source3 = bag.takeString(QStringLiteral("Source3"));
                s.extra = bag;
                chart->series.push_back(s);
                xml.skipCurrentElement();
                continue;
            }
            const QString name = bag.value(QStringLiteral("Name")).value_or(QString());
            auto obj = createObject(typeName, name, depth, parent);
            if (obj->kind() == ObjectKind::Other) {
                // Uninterpreted elements keep every attribute as read; only the name and geometry are
                // looked at (an unknown object with a size is drawn as an empty frame).
                obj->name = name;
                obj->hasGeometry = bag.contains(QStringLiteral("Width")) && bag.contains(QStringLiteral("Height"));
                if (obj->hasGeometry) {
                    obj->left = AttributeBag::parseReal(bag.value(QStringLiteral("Left")).value_or(QString())).value_or(0);
                    obj->top = AttributeBag::parseReal(bag.value(QStringLiteral("Top")).value_or(QString())).value_or(0);
                    obj->width = AttributeBag::parseReal(*bag.value(QStringLiteral("Width"))).value_or(0);
                    obj->height = AttributeBag::parseReal(*bag.value(QStringLiteral("Height"))).value_or(0);
                    obj->visible = AttributeBag::parseBool(bag.value(QStringLiteral("Visible")).value_or(QStringLiteral("True"))).value_or(true);
                }
                obj->extra = bag;
            } else {
                obj->readAttributes(bag);
                obj->extra = bag;
            }
            stack.push_back(parent->addChild(std::move(obj)));
        } else if (token == QXmlStreamReader::EndElement) {
            if (!stack.empty())
                stack.pop_back();
        }
    }
    if (xml.hasError()) {
        setError(xml.errorString(), xml.lineNumber(), xml.columnNumber());
        return false;
    }
    if (!root) {
        setError(QStringLiteral("no report element"), 1, 1);
        return false;
    }
    for (const auto& c : root->children())
        if (c->typeName() == QLatin1String("Styles"))
            readStyles(report, *c, report.styles_);
    return true;
}

} // namespace tarvex::engine
