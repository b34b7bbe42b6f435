#include "Fr3Writer.h"

#include "ChartView.h"

#include <QBuffer>
#include <QXmlStreamWriter>

namespace tarvex::engine {

namespace {

void writeBag(QXmlStreamWriter& w, const AttributeBag& bag)
{
    for (const auto& it : bag.items())
        w.writeAttribute(it.first, it.second);
}

void writeObject(QXmlStreamWriter& w, const Object& o)
{
    w.writeStartElement(o.typeName());
    if (o.kind() == ObjectKind::Other) {
        writeBag(w, o.extra);
    } else {
        AttributeBag bag;
        o.writeAttributes(bag);
        for (const auto& it : o.extra.items())
            if (!bag.contains(it.first))
                bag.add(it.first, it.second);
        writeBag(w, bag);
    }
    if (const auto* chart = dynamic_cast<const ChartView*>(&o)) {
        for (const auto& s : chart->series) {
            w.writeStartElement(s.typeName);
            writeBag(w, s.extra);
            w.writeAttribute(QStringLiteral("Source1"), s.source1);
            w.writeAttribute(QStringLiteral("Source2"), s.source2);
            w.writeAttribute(QStringLiteral("Source3"), s.source3);
            w.writeEndElement();
        }
    }
    for (const auto& c : o.children())
        writeObject(w, *c);
    w.writeEndElement();
}

void writeVariables(QXmlStreamWriter& w, const Variables& vars, const AttributeBag& attrs)
{
    w.writeStartElement(QStringLiteral("Variables"));
    writeBag(w, attrs);
    for (const auto& v : vars.items()) {
        w.writeStartElement(QStringLiteral("item"));
        w.writeAttribute(QStringLiteral("Name"), v.name);
        if (!v.isCategory())
            w.writeAttribute(QStringLiteral("Value"), v.expression);
        w.writeEndElement();
    }
    w.writeEndElement();
}

} // namespace

QByteArray Fr3Writer::write(const Report& report)
{
    QByteArray out("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\n");
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly | QIODevice::Append);
    QXmlStreamWriter w(&buf);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    auto& root = const_cast<Report&>(report).root();
    w.writeStartElement(root.typeName());
    AttributeBag attrs = root.extra;
    attrs.set(QStringLiteral("ScriptText.Text"), report.scriptText);
    if (report.options.doublePass)
        attrs.set(QStringLiteral("EngineOptions.DoublePass"), QStringLiteral("True"));
    if (!report.options.printIfEmpty)
        attrs.set(QStringLiteral("EngineOptions.PrintIfEmpty"), QStringLiteral("False"));
    writeBag(w, attrs);
    bool variablesWritten = false;
    for (const auto& c : root.children()) {
        if (c->typeName() == QLatin1String("Variables")) {
            writeVariables(w, report.variables(), c->extra);
            variablesWritten = true;
            continue;
        }
        if (!variablesWritten && !report.variables().items().empty() && c->kind() == ObjectKind::Page) {
            writeVariables(w, report.variables(), AttributeBag());
            variablesWritten = true;
        }
        writeObject(w, *c);
    }
    if (!variablesWritten && !report.variables().items().empty())
        writeVariables(w, report.variables(), AttributeBag());
    w.writeEndElement();
    buf.close();
    out.append('\n');
    return out;
}

} // namespace tarvex::engine
