#include "Report.h"

#include "Fr3Reader.h"
#include "Fr3Writer.h"
#include "MemoView.h"
#include "Preparer_p.h"
#include "PreparedReport.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace tarvex::engine {

namespace {

// Template files larger than this are refused: real ones are well under a few megabytes.
constexpr qint64 kMaxTemplateBytes = 256LL * 1024 * 1024;

void collectMemos(Object& o, std::vector<MemoView*>& out)
{
    if (o.kind() == ObjectKind::Memo)
        out.push_back(static_cast<MemoView*>(&o));
    for (const auto& c : o.children())
        collectMemos(*c, out);
}

} // namespace

QString LoadError::toString() const
{
    if (line > 0)
        return QStringLiteral("line %1, column %2: %3").arg(line).arg(column).arg(message);
    return message;
}

Report::Report() : root_(std::make_unique<Object>(QStringLiteral("TfrxReport"), ObjectKind::Other))
{
    root_->hasGeometry = false;
}

Report::~Report() = default;

void Report::clear()
{
    root_ = std::make_unique<Object>(QStringLiteral("TfrxReport"), ObjectKind::Other);
    root_->hasGeometry = false;
    variables_.clear();
    styles_.clear();
    scriptText.clear();
    options = EngineOptions();
    warnings_.clear();
}

bool Report::load(const QString& path, LoadError* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        clear();
        if (error)
            *error = LoadError{0, 0, QStringLiteral("cannot open %1: %2").arg(path, f.errorString())};
        return false;
    }
    if (f.size() > kMaxTemplateBytes) {
        clear();
        if (error)
            *error = LoadError{0, 0, QStringLiteral("%1 is too large for a template").arg(path)};
        return false;
    }
    return loadFromData(f.readAll(), error);
}

bool Report::loadFromData(const QByteArray& bytes, LoadError* error)
{
    clear();
    LoadError e;
    if (bytes.size() > kMaxTemplateBytes) {
        e.message = QStringLiteral("data too large for a template");
    } else if (Fr3Reader::read(*this, bytes, &e)) {
        if (error)
            *error = LoadError();
        return true;
    }
    clear();
    if (error)
        *error = e;
    return false;
}

bool Report::save(const QString& path, QString* error) const
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, f.errorString());
        return false;
    }
    f.write(saveToData());
    if (!f.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, f.errorString());
        return false;
    }
    return true;
}

QByteArray Report::saveToData() const
{
    return Fr3Writer::write(*this);
}

Object* Report::findObject(const QString& name) const
{
    if (name.isEmpty())
        return nullptr;
    return root_->findDescendant(name);
}

std::vector<Page*> Report::pages() const
{
    std::vector<Page*> out;
    for (const auto& c : root_->children())
        if (c->kind() == ObjectKind::Page)
            out.push_back(static_cast<Page*>(c.get()));
    return out;
}

Page* Report::addPage(const QString& name)
{
    auto p = std::make_unique<Page>();
    p->name = name;
    return static_cast<Page*>(root_->addChild(std::move(p)));
}

void Report::addDataSet(DataSet* dataSet)
{
    if (dataSet && std::find(dataSets_.begin(), dataSets_.end(), dataSet) == dataSets_.end())
        dataSets_.push_back(dataSet);
}

void Report::adoptDataSet(std::unique_ptr<DataSet> dataSet)
{
    if (!dataSet)
        return;
    addDataSet(dataSet.get());
    ownedDataSets_.push_back(std::move(dataSet));
}

void Report::removeDataSet(DataSet* dataSet)
{
    dataSets_.erase(std::remove(dataSets_.begin(), dataSets_.end(), dataSet), dataSets_.end());
    for (auto it = ownedDataSets_.begin(); it != ownedDataSets_.end(); ++it) {
        if (it->get() == dataSet) {
            ownedDataSets_.erase(it);
            break;
        }
    }
}

DataSet* Report::findDataSet(const QString& userName) const
{
    if (userName.isEmpty())
        return nullptr;
    for (DataSet* d : dataSets_)
        if (d->userName() == userName)
            return d;
    for (DataSet* d : dataSets_)
        if (d->userName().compare(userName, Qt::CaseInsensitive) == 0)
            return d;
    return nullptr;
}

QStringList Report::referencedDataSets() const
{
    QStringList out;
    // Fields named in memo texts: <DataSet."Field"> and DataSet."Field".
    static const QRegularExpression fieldRe(QStringLiteral("(?:<([^<>\"\\[\\]]+)|\\b([\\w]+))\\.\""));
    std::vector<const Object*> stack{root_.get()};
    while (!stack.empty()) {
        const Object* o = stack.back();
        stack.pop_back();
        if (o->kind() == ObjectKind::Band) {
            const QString n = static_cast<const Band*>(o)->boundDataSetName();
            if (!n.isEmpty() && !out.contains(n))
                out << n;
        } else if (o->kind() == ObjectKind::Memo) {
            auto it = fieldRe.globalMatch(static_cast<const MemoView*>(o)->text);
            while (it.hasNext()) {
                const auto m = it.next();
                const QString n = (m.captured(1).isEmpty() ? m.captured(2) : m.captured(1)).trimmed();
                if (!n.isEmpty() && !out.contains(n))
                    out << n;
            }
        }
        for (auto it = o->children().rbegin(); it != o->children().rend(); ++it)
            stack.push_back(it->get());
    }
    return out;
}

const Style* Report::findStyle(const QString& name) const
{
    for (const auto& s : styles_)
        if (s.name == name)
            return &s;
    return nullptr;
}

void Report::translateMemoLines(const std::function<std::optional<QString>(const QString&)>& translate)
{
    if (!translate)
        return;
    std::vector<MemoView*> memos;
    collectMemos(*root_, memos);
    for (MemoView* m : memos) {
        QStringList lines = m->text.split(QStringLiteral("\r\n"));
        bool changed = false;
        for (QString& line : lines) {
            if (auto t = translate(line.trimmed())) {
                line = *t;
                changed = true;
            }
        }
        if (changed)
            m->text = lines.join(QStringLiteral("\r\n"));
    }
}

bool Report::prepare(PreparedReport& out, QString* error)
{
    warnings_.clear();
    Preparer p(*this);
    return p.run(out, error);
}

void Report::addWarning(const QString& w)
{
    if (!warnings_.contains(w) && warnings_.size() < 1000)
        warnings_ << w;
}

} // namespace tarvex::engine
