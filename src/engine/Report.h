#pragma once
// A report: the template (pages, bands, objects), its variables and data sets, and preparing it.

#include "DataSet.h"
#include "Object.h"
#include "Page.h"
#include "Variables.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tarvex::engine {

class PreparedReport;

/// Where and why a template could not be read. Line and column count from 1; 0 when not known.
struct LoadError {
    int line = 0;
    int column = 0;
    QString message;
    /// "line L, column C: message"
    QString toString() const;
};

/// Settings of the preparing run.
struct EngineOptions {
    bool doublePass = false;    ///< prepare twice so that TotalPages is known on every page
    bool printIfEmpty = true;   ///< keep the pages even when no data band printed a record
    int maxPages = 5000;        ///< preparing stops with an error beyond this many pages
    qint64 maxBandPrints = 5'000'000; ///< and beyond this many band printings (a data set that never ends)
    QChar decimalSeparator = QLatin1Char('.'); ///< for display formats that do not name one
};

/// A named look (font, fill, frame) that memos refer to by their Style attribute.
struct Style {
    QString name;
    FrColor fillColor = kColorNone;
    bool hasFill = false;
    Font font;
    bool hasFont = false;
    Frame frame;
    bool hasFrame = false;
};

/// A report template with its run-time bindings. Not copyable. Data sets added with addDataSet() are not
/// owned and must outlive every prepare(); adopted data sets are owned.
class Report {
public:
    Report();
    ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    /// Replaces the template with the one in `path`. On failure the report is left empty, false is
    /// returned and *error (when given) says where. Never throws.
    bool load(const QString& path, LoadError* error = nullptr);
    /// The same from the bytes of a template file.
    bool loadFromData(const QByteArray& bytes, LoadError* error = nullptr);
    /// Writes the template; attributes the engine does not interpret are written back as read.
    bool save(const QString& path, QString* error = nullptr) const;
    QByteArray saveToData() const;
    /// An empty template: no pages, no variables (bound data sets and hooks stay).
    void clear();

    /// The object (page, band or view) of that name anywhere in the template; null when absent.
    Object* findObject(const QString& name) const;
    template <class T> T* findObject(const QString& name) const { return dynamic_cast<T*>(findObject(name)); }
    /// Report pages in file order (sub-report pages included).
    std::vector<Page*> pages() const;
    /// Adds an empty report page and returns it (owned by the report).
    Page* addPage(const QString& name);
    /// The root element; its children are the pages and the elements kept for writing.
    Object& root() { return *root_; }

    Variables& variables() { return variables_; }
    const Variables& variables() const { return variables_; }
    /// Sets a variable: replaces its expression or appends it. `expression` is an expression, so a
    /// text must be quoted (quoteText()).
    void setVariable(const QString& name, const QString& expression) { variables_.set(name, expression); }

    QString scriptText; ///< kept and written back, never run
    EngineOptions options;

    /// Binds a data set (not owned). Templates find it by its user name.
    void addDataSet(DataSet* dataSet);
    /// Binds and owns a data set.
    void adoptDataSet(std::unique_ptr<DataSet> dataSet);
    void removeDataSet(DataSet* dataSet);
    const std::vector<DataSet*>& dataSets() const { return dataSets_; }
    /// The bound data set with that user name (exact match first, then without regard to case).
    DataSet* findDataSet(const QString& userName) const;
    /// Names of data sets the template itself refers to (bands and memos), in first-use order.
    QStringList referencedDataSets() const;

    const std::vector<Style>& styles() const { return styles_; }
    const Style* findStyle(const QString& name) const;

    /// Called for every band and object just before it is placed on a page. The object may be changed:
    /// visible, printable, width, text, picture ... take effect at once and stay changed.
    std::function<void(Object&)> onBeforePrint;

    /// Passes every line of every memo text through `translate` (the line trimmed); a returned value
    /// replaces the line, nullopt keeps it.
    void translateMemoLines(const std::function<std::optional<QString>(const QString& line)>& translate);

    /// Lays the report out into pages. Returns false with *error set when it cannot (a page limit was
    /// reached, no page to print); `out` then holds the pages made so far.
    bool prepare(PreparedReport& out, QString* error = nullptr);

    /// Warnings of the last load and prepare (expressions that could not be evaluated, data sets not
    /// found, objects not drawn), each once.
    const QStringList& warnings() const { return warnings_; }
    void addWarning(const QString& w);

private:
    friend class Fr3Reader;
    friend class Fr3Writer;
    std::unique_ptr<Object> root_;
    Variables variables_;
    std::vector<Style> styles_;
    std::vector<DataSet*> dataSets_;
    std::vector<std::unique_ptr<DataSet>> ownedDataSets_;
    QStringList warnings_;
};

} // namespace tarvex::engine
