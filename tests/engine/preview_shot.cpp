// preview_shot REPORT.fp3 ru|en OUT.png [FIND]: opens the preview of a prepared-report file with the
// engine's texts of that language, optionally finds a text, and saves a picture of the window.

#include "PreparedReportIo.h"
#include "PreviewWindow.h"
#include "UiStrings.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: preview_shot REPORT.fp3 ru|en OUT.png [FIND]\n");
        return 2;
    }
    const QString language = QString::fromLocal8Bit(argv[2]);
    QFile strings(QStringLiteral(TARVEX_SOURCE_DIR "/src/templates/engine-strings-%1.txt").arg(language));
    if (!strings.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "no string table for %s\n", argv[2]);
        return 2;
    }
    QHash<QString, QString> table;
    for (const QString& line : QString::fromUtf8(strings.readAll()).split(QLatin1Char('\n'))) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && !line.startsWith(QLatin1Char('=')))
            table.insert(line.left(eq), line.mid(eq + 1));
    }
    tarvex::engine::setUiStrings(table);
    tarvex::engine::PreparedReport report;
    QString error;
    if (!tarvex::engine::loadPreparedReport(QString::fromLocal8Bit(argv[1]), report, &error)) {
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        return 1;
    }
    tarvex::engine::PreviewSettings settings;
    settings.title = QStringLiteral("CommonReport");
    settings.error = [](const QString& e) { std::fprintf(stderr, "%s\n", e.toUtf8().constData()); };
    tarvex::engine::PreviewWindow window(std::move(report), std::move(settings));
    window.resize(1100, 820);
    window.show();
    const QString out = QString::fromLocal8Bit(argv[3]);
    const QString find = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QString();
    QTimer::singleShot(800, &window, [&] {
        if (!find.isEmpty())
            window.findNext(find);
        QTimer::singleShot(400, &window, [&] {
            if (!window.grab().save(out))
                std::fprintf(stderr, "cannot write %s\n", out.toUtf8().constData());
            window.close();
            app.quit();
        });
    });
    return app.exec();
}
