// report-render: lets template authors check a template without the host. Loads a .fr3 file, binds
// variables and CSV data sets given on the command line, prepares the report and writes a PDF or one
// picture per page.

#include "Render.h"
#include "Report.h"
#include "TableDataSet.h"
#include "UserDataSet.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

using namespace tarvex::engine;

namespace {

// Stands in for a data set the template uses but the command line did not give: its records are
// empty, so every field prints as nothing.
class BlankDataSet : public UserDataSet {
public:
    using UserDataSet::UserDataSet;
    std::optional<Value> fieldValue(const QString&) const override { return Value(); }
};

void err(const QString& s)
{
    std::fprintf(stderr, "%s\n", s.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char** argv)
{
    // Drawing needs fonts but no screen: run headless unless a display is there.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("report-render"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARVEX_VERSION));

    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral(
        "Prepares a .fr3 report template and writes it as PDF or as one picture per page.\n"
        "Data sets the template uses and no --data option gives print --missing-rows empty records."));
    cli.addHelpOption();
    cli.addVersionOption();
    cli.addPositionalArgument(QStringLiteral("TEMPLATE.fr3"), QStringLiteral("The report template."));
    const QCommandLineOption varOpt(QStringLiteral("var"),
                                    QStringLiteral("Set a report variable; the value is an expression, so texts need quotes: --var \"Title='Run 5'\"."),
                                    QStringLiteral("name=expression"));
    const QCommandLineOption dataOpt(QStringLiteral("data"),
                                     QStringLiteral("Bind a CSV file (first line: field names) as the data set of that name."),
                                     QStringLiteral("name=file.csv"));
    const QCommandLineOption outOpt(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Output file: .pdf, or .png/.jpg/.bmp for one picture per page (out-1.png, out-2.png ...)."),
                                    QStringLiteral("file"));
    const QCommandLineOption missingOpt(QStringLiteral("missing-rows"),
                                        QStringLiteral("Records of each data set not given with --data (default 1; 0 hides those bands)."),
                                        QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption dpiOpt(QStringLiteral("dpi"), QStringLiteral("Resolution of page pictures (default 96)."),
                                    QStringLiteral("dpi"), QStringLiteral("96"));
    const QCommandLineOption monoOpt(QStringLiteral("mono"), QStringLiteral("Draw in shades of grey."));
    const QCommandLineOption warnOpt(QStringLiteral("quiet"), QStringLiteral("Do not list warnings."));
    cli.addOptions({varOpt, dataOpt, outOpt, missingOpt, dpiOpt, monoOpt, warnOpt});
    cli.process(app);

    const QStringList args = cli.positionalArguments();
    if (args.size() != 1 || !cli.isSet(outOpt)) {
        err(QStringLiteral("usage: report-render TEMPLATE.fr3 [--var name=expression] [--data name=file.csv] -o out.pdf|out.png"));
        return 1;
    }
    Report report;
    LoadError loadError;
    if (!report.load(args[0], &loadError)) {
        err(QStringLiteral("%1: %2").arg(args[0], loadError.toString()));
        return 2;
    }
    for (const QString& v : cli.values(varOpt)) {
        const qsizetype eq = v.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            err(QStringLiteral("--var needs name=expression: %1").arg(v));
            return 1;
        }
        report.setVariable(v.left(eq), v.mid(eq + 1));
    }
    for (const QString& d : cli.values(dataOpt)) {
        const qsizetype eq = d.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            err(QStringLiteral("--data needs name=file.csv: %1").arg(d));
            return 1;
        }
        auto ds = std::make_unique<TableDataSet>(d.left(eq));
        QString e;
        if (!ds->loadCsv(d.mid(eq + 1), &e)) {
            err(e);
            return 2;
        }
        report.adoptDataSet(std::move(ds));
    }
    bool ok = false;
    const int missing = cli.value(missingOpt).toInt(&ok);
    if (!ok || missing < 0 || missing > 100000) {
        err(QStringLiteral("--missing-rows must be a number from 0 to 100000"));
        return 1;
    }
    for (const QString& name : report.referencedDataSets()) {
        if (!report.findDataSet(name)) {
            auto ds = std::make_unique<BlankDataSet>(name);
            ds->setRangeEndCount(missing);
            report.adoptDataSet(std::move(ds));
        }
    }

    PreparedReport prepared;
    QString error;
    const bool preparedOk = report.prepare(prepared, &error);
    if (!cli.isSet(warnOpt))
        for (const QString& w : report.warnings())
            err(QStringLiteral("warning: %1").arg(w));
    if (!preparedOk) {
        err(QStringLiteral("%1: %2").arg(args[0], error));
        return 3;
    }
    RenderOptions options;
    options.monochrome = cli.isSet(monoOpt);
    const QString out = cli.value(outOpt);
    const QString suffix = QFileInfo(out).suffix().toLower();
    if (suffix == QLatin1String("pdf")) {
        if (!exportPdf(prepared, out, &error, options)) {
            err(error);
            return 4;
        }
        std::printf("%s: %d page(s)\n", out.toLocal8Bit().constData(), prepared.pageCount());
        return 0;
    }
    const int dpi = cli.value(dpiOpt).toInt(&ok);
    if (!ok || dpi < 10 || dpi > 1200) {
        err(QStringLiteral("--dpi must be from 10 to 1200"));
        return 1;
    }
    const QStringList files = exportImages(prepared, out, suffix, dpi, &error, options);
    if (files.isEmpty()) {
        err(error.isEmpty() ? QStringLiteral("nothing written") : error);
        return 4;
    }
    for (const QString& f : files)
        std::printf("%s\n", f.toLocal8Bit().constData());
    return 0;
}
