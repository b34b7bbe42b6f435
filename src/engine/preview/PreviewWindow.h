#pragma once
// The preview window: prepared pages on screen, with zoom, page navigation, search, outline,
// page setup, saving and loading prepared reports, export to every format the engine writes,
// and printing.

#include "PreparedReport.h"
#include "Render.h"

#include <QDialog>

#include <functional>
#include <memory>

class QAction;
class QPrinter;

namespace tarvex::engine {

/// The buttons a preview may offer; a report lists those it allows.
enum PreviewButton : unsigned {
    PreviewPrint = 1u << 0,
    PreviewLoad = 1u << 1,
    PreviewSave = 1u << 2,
    PreviewExport = 1u << 3,
    PreviewZoom = 1u << 4,
    PreviewFind = 1u << 5,
    PreviewOutline = 1u << 6,
    PreviewPageSetup = 1u << 7,
    PreviewTools = 1u << 8,
    PreviewEdit = 1u << 9,
    PreviewNavigator = 1u << 10,
    PreviewExportQuick = 1u << 11,
    PreviewAllButtons = (1u << 12) - 1,
};

/// File formats the preview exports to.
enum class PreviewFormat { Pdf, Rtf, SpreadsheetXml, Xlsx, Html, Png, Jpeg, Bmp, PreparedReport };

struct PreviewSettings {
    QString title;
    unsigned buttons = PreviewAllButtons; ///< PreviewButton bits
    RenderOptions render;                 ///< monochrome
    /// Sets up the printer of this report (its name, paper, copies ...) before the page setup or
    /// print dialog shows it. May be empty: the system's default printer as it is.
    std::function<void(QPrinter&)> setupPrinter;
    /// Tells the user that something failed (an export, a file that could not be read). Required.
    std::function<void(const QString&)> error;
};

/**
 * A modal window over the pages of one prepared report. Its texts come from the engine's string
 * table (setUiStrings). Closing it ends the preview; nothing else does.
 */
class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    PreviewWindow(PreparedReport report, PreviewSettings settings, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    const PreparedReport& report() const;
    /// The page shown, from 0.
    int currentPage() const;
    void goToPage(int page);
    /// The action of a button; null when the window does not offer it.
    QAction* action(PreviewButton button) const;
    /// Screen pixels per report unit.
    double zoomScale() const;
    void zoomToFitWidth();
    void zoomToWholePage();
    void zoomToPercent(int percent);

    /// Looks for `text` (any letter case) after the last find, wrapping round to the first page.
    /// Marks and shows it; false when the report does not hold it.
    bool findNext(const QString& text);
    /// The page and rectangle of the last text found (page -1 when none).
    std::pair<int, QRectF> lastFound() const;

    /// Replaces the pages with a prepared-report file; false (told through settings.error) when
    /// it cannot be read, and the pages shown stay.
    bool loadFile(const QString& path);
    /// Writes the pages in `format`, showing progress; false (told through settings.error) on failure.
    bool exportTo(PreviewFormat format, const QString& path);
    /// Prints on `printer` as set up, showing progress.
    bool printTo(QPrinter& printer);

private:
    struct Ui;
    void buildUi();
    void pageChanged(int page);
    void showOutline();
    void askExport(PreviewFormat format);
    void askLoad();
    void pageSetup();
    void print();
    QPrinter& printer();
    bool progress(int done, int total);

    std::unique_ptr<Ui> ui_;
};

} // namespace tarvex::engine
