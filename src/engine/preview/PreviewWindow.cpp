#include "PreviewWindow.h"

#include "ExportHtml.h"
#include "ExportRtf.h"
#include "ExportSpreadsheetXml.h"
#include "ExportXlsx.h"
#include "PageView.h"
#include "PreparedReportIo.h"
#include "PrintPages.h"
#include "UiStrings.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QScreen>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardPaths>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tarvex::engine {

namespace {

struct FormatInfo {
    PreviewFormat format;
    const char* id;
    const char* english;
    const char* suffix;
};

const FormatInfo kFormats[] = {
    {PreviewFormat::Pdf, "preview.format.pdf", "PDF document", "pdf"},
    {PreviewFormat::Rtf, "preview.format.rtf", "Rich text document", "rtf"},
    {PreviewFormat::SpreadsheetXml, "preview.format.xml", "XML spreadsheet", "xml"},
    {PreviewFormat::Xlsx, "preview.format.xlsx", "Excel workbook", "xlsx"},
    {PreviewFormat::Html, "preview.format.html", "HTML document", "html"},
    {PreviewFormat::Png, "preview.format.png", "PNG pictures", "png"},
    {PreviewFormat::Jpeg, "preview.format.jpeg", "JPEG pictures", "jpg"},
    {PreviewFormat::Bmp, "preview.format.bmp", "BMP pictures", "bmp"},
    {PreviewFormat::PreparedReport, "preview.format.fp3", "Prepared report", kPreparedReportSuffix},
};

const FormatInfo& info(PreviewFormat f)
{
    for (const FormatInfo& i : kFormats)
        if (i.format == f)
            return i;
    return kFormats[0];
}

QString formatName(const FormatInfo& i) { return uiText(i.id, i.english); }
QString formatFilter(const FormatInfo& i)
{
    return formatName(i) + QStringLiteral(" (*.") + QString::fromLatin1(i.suffix) + QLatin1Char(')');
}

const int kZoomPercents[] = {25, 50, 75, 100, 125, 150, 200, 300, 400};

} // namespace

struct PreviewWindow::Ui {
    PreparedReport report;
    PreviewSettings settings;
    PageView* view = nullptr;
    QToolBar* toolbar = nullptr;
    QTreeWidget* outline = nullptr;
    QWidget* findBar = nullptr;
    QLineEdit* findText = nullptr;
    QLabel* findStatus = nullptr;
    QComboBox* zoom = nullptr;
    QSpinBox* pageBox = nullptr;
    QLabel* pageCountLabel = nullptr;
    QLabel* status = nullptr;
    QProgressBar* progress = nullptr;
    QToolButton* cancel = nullptr;
    QHash<unsigned, QAction*> actions;
    std::unique_ptr<QPrinter> printer;
    bool cancelRequested = false;
    bool working = false;
    // The last find: its text, page and element.
    QString foundText;
    int foundPage = -1;
    int foundElement = -1;
    QRectF foundRect;
};

PreviewWindow::PreviewWindow(PreparedReport report, PreviewSettings settings, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui>())
{
    ui_->report = std::move(report);
    ui_->settings = std::move(settings);
    buildUi();
    ui_->view->setReport(&ui_->report, ui_->settings.render);
    showOutline();
    pageChanged(0);
}

PreviewWindow::~PreviewWindow() = default;

const PreparedReport& PreviewWindow::report() const { return ui_->report; }
int PreviewWindow::currentPage() const { return ui_->view->currentPage(); }
void PreviewWindow::goToPage(int page) { ui_->view->showPage(page); }
QAction* PreviewWindow::action(PreviewButton button) const { return ui_->actions.value(button, nullptr); }
double PreviewWindow::zoomScale() const { return ui_->view->scale(); }
std::pair<int, QRectF> PreviewWindow::lastFound() const { return {ui_->foundPage, ui_->foundRect}; }

void PreviewWindow::zoomToFitWidth()
{
    ui_->view->setZoom(PageView::ZoomMode::FitWidth);
    ui_->zoom->setCurrentIndex(0);
}

void PreviewWindow::zoomToWholePage()
{
    ui_->view->setZoom(PageView::ZoomMode::WholePage);
    ui_->zoom->setCurrentIndex(1);
}

void PreviewWindow::zoomToPercent(int percent)
{
    ui_->view->setZoom(PageView::ZoomMode::Percent, percent / 100.0);
    const int index = ui_->zoom->findData(percent);
    if (index >= 0)
        ui_->zoom->setCurrentIndex(index);
    else
        ui_->zoom->setEditText(QStringLiteral("%1%").arg(percent));
}

void PreviewWindow::buildUi()
{
    const unsigned buttons = ui_->settings.buttons;
    setWindowTitle(ui_->settings.title.isEmpty() ? uiText("preview.title", "Preview")
                                                 : uiText("preview.title", "Preview") + QStringLiteral(" - ") +
                                                       ui_->settings.title);
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ui_->toolbar = new QToolBar(this);
    ui_->toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ui_->toolbar->setIconSize(QSize(16, 16));
    layout->addWidget(ui_->toolbar);

    auto addAction = [&](unsigned button, const QString& text, QStyle::StandardPixmap icon, const QKeySequence& key,
                         auto slot) {
        auto* a = ui_->toolbar->addAction(style()->standardIcon(icon), text);
        a->setToolTip(text);
        if (!key.isEmpty())
            a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        if (button)
            ui_->actions.insert(button, a);
        return a;
    };

    // Page turning and zoom steps are small buttons with tooltips, so that the bar fits the window.
    auto iconOnly = [this](QAction* a) {
        if (auto* b = qobject_cast<QToolButton*>(ui_->toolbar->widgetForAction(a)))
            b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        return a;
    };

    // No printer, no print button: the report can still be seen, saved and exported.
    if (buttons & PreviewPrint)
        addAction(PreviewPrint, uiText("preview.print", "Print"), QStyle::SP_FileDialogDetailedView,
                  QKeySequence::Print, [this] { print(); });
    if (buttons & PreviewPageSetup)
        addAction(PreviewPageSetup, uiText("preview.pageSetup", "Page setup"), QStyle::SP_FileDialogInfoView, {},
                  [this] { pageSetup(); });
    if (buttons & (PreviewPrint | PreviewPageSetup))
        ui_->toolbar->addSeparator();
    if (buttons & PreviewLoad)
        addAction(PreviewLoad, uiText("preview.load", "Open"), QStyle::SP_DialogOpenButton, QKeySequence::Open,
                  [this] { askLoad(); });
    if (buttons & PreviewSave)
        addAction(PreviewSave, uiText("preview.save", "Save"), QStyle::SP_DialogSaveButton, QKeySequence::Save,
                  [this] { askExport(PreviewFormat::PreparedReport); });
    if (buttons & PreviewExport) {
        auto* menu = new QMenu(this);
        for (const FormatInfo& f : kFormats) {
            const PreviewFormat format = f.format;
            menu->addAction(formatName(f), this, [this, format] { askExport(format); });
        }
        auto* a = addAction(PreviewExport, uiText("preview.export", "Export"), QStyle::SP_DriveFDIcon, {}, [] {});
        a->setMenu(menu);
        if (auto* b = qobject_cast<QToolButton*>(ui_->toolbar->widgetForAction(a)))
            b->setPopupMode(QToolButton::InstantPopup);
    }
    if (buttons & PreviewExportQuick)
        addAction(PreviewExportQuick, uiText("preview.quickExport", "PDF"), QStyle::SP_FileIcon, {},
                  [this] { askExport(PreviewFormat::Pdf); });
    if (buttons & (PreviewLoad | PreviewSave | PreviewExport | PreviewExportQuick))
        ui_->toolbar->addSeparator();

    ui_->zoom = new QComboBox(this);
    ui_->zoom->addItem(uiText("preview.fitWidth", "Page width"), -1);
    ui_->zoom->addItem(uiText("preview.wholePage", "Whole page"), -2);
    for (int p : kZoomPercents)
        ui_->zoom->addItem(QStringLiteral("%1%").arg(p), p);
    ui_->zoom->setToolTip(uiText("preview.zoom", "Zoom"));
    connect(ui_->zoom, &QComboBox::activated, this, [this](int index) {
        const int v = ui_->zoom->itemData(index).toInt();
        if (v == -1)
            zoomToFitWidth();
        else if (v == -2)
            zoomToWholePage();
        else
            zoomToPercent(v);
    });
    if (buttons & PreviewZoom) {
        ui_->toolbar->addWidget(ui_->zoom);
        auto step = [this](int direction) {
            const double current = ui_->view->scale() * 100;
            int next = direction > 0 ? kZoomPercents[std::size(kZoomPercents) - 1] : kZoomPercents[0];
            for (int p : kZoomPercents) {
                if (direction > 0 && p > current + 1) {
                    next = p;
                    break;
                }
                if (direction < 0 && p < current - 1)
                    next = p;
            }
            zoomToPercent(next);
        };
        iconOnly(addAction(PreviewZoom, uiText("preview.zoomIn", "Zoom in"), QStyle::SP_ArrowUp, QKeySequence::ZoomIn,
                           [step] { step(1); }));
        iconOnly(addAction(0, uiText("preview.zoomOut", "Zoom out"), QStyle::SP_ArrowDown, QKeySequence::ZoomOut,
                           [step] { step(-1); }));
        ui_->toolbar->addSeparator();
    } else {
        ui_->zoom->hide();
    }

    if (buttons & PreviewNavigator) {
        iconOnly(addAction(0, uiText("preview.first", "First page"), QStyle::SP_MediaSkipBackward,
                           QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { goToPage(0); }));
        iconOnly(addAction(0, uiText("preview.previous", "Previous page"), QStyle::SP_MediaSeekBackward, {},
                           [this] { goToPage(currentPage() - 1); }));
        ui_->pageBox = new QSpinBox(this);
        ui_->pageBox->setRange(1, std::max(1, ui_->report.pageCount()));
        ui_->pageBox->setKeyboardTracking(false);
        connect(ui_->pageBox, &QSpinBox::valueChanged, this, [this](int v) {
            if (v - 1 != currentPage())
                goToPage(v - 1);
        });
        ui_->toolbar->addWidget(ui_->pageBox);
        ui_->pageCountLabel = new QLabel(this);
        ui_->pageCountLabel->setContentsMargins(4, 0, 4, 0);
        ui_->toolbar->addWidget(ui_->pageCountLabel);
        iconOnly(addAction(PreviewNavigator, uiText("preview.next", "Next page"), QStyle::SP_MediaSeekForward, {},
                           [this] { goToPage(currentPage() + 1); }));
        iconOnly(addAction(0, uiText("preview.last", "Last page"), QStyle::SP_MediaSkipForward,
                           QKeySequence(Qt::CTRL | Qt::Key_End), [this] { goToPage(ui_->report.pageCount() - 1); }));
        ui_->toolbar->addSeparator();
    }
    if (buttons & PreviewFind)
        addAction(PreviewFind, uiText("preview.find", "Find"), QStyle::SP_FileDialogContentsView, QKeySequence::Find,
                  [this] {
                      ui_->findBar->show();
                      ui_->findText->setFocus();
                      ui_->findText->selectAll();
                  });
    if (buttons & PreviewOutline) {
        auto* a = addAction(PreviewOutline, uiText("preview.outline", "Outline"), QStyle::SP_FileDialogListView, {},
                            [this](bool on) { ui_->outline->setVisible(on); });
        a->setCheckable(true);
    }
    auto* spacer = new QWidget(this);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ui_->toolbar->addWidget(spacer);
    addAction(0, uiText("preview.close", "Close"), QStyle::SP_DialogCloseButton, {}, [this] { reject(); });

    auto* splitter = new QSplitter(this);
    ui_->outline = new QTreeWidget(splitter);
    ui_->outline->setHeaderHidden(true);
    ui_->outline->hide();
    connect(ui_->outline, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        ui_->view->showPage(item->data(0, Qt::UserRole).toInt(), item->data(0, Qt::UserRole + 1).toDouble());
    });
    ui_->view = new PageView(splitter);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 800});
    layout->addWidget(splitter, 1);
    connect(ui_->view, &PageView::currentPageChanged, this, &PreviewWindow::pageChanged);
    connect(ui_->view, &PageView::zoomStep, this, [this](int direction) {
        if (auto* a = action(PreviewZoom); a && direction > 0)
            a->trigger();
        else if (ui_->settings.buttons & PreviewZoom)
            zoomToPercent(std::max(10, int(ui_->view->scale() * 100 / 1.25)));
    });

    ui_->findBar = new QWidget(this);
    auto* findLayout = new QHBoxLayout(ui_->findBar);
    findLayout->setContentsMargins(6, 3, 6, 3);
    findLayout->addWidget(new QLabel(uiText("preview.find", "Find"), ui_->findBar));
    ui_->findText = new QLineEdit(ui_->findBar);
    ui_->findText->setPlaceholderText(uiText("preview.findPlaceholder", "Text to find"));
    findLayout->addWidget(ui_->findText, 1);
    auto* next = new QToolButton(ui_->findBar);
    next->setText(uiText("preview.findNext", "Find next"));
    findLayout->addWidget(next);
    ui_->findStatus = new QLabel(ui_->findBar);
    findLayout->addWidget(ui_->findStatus);
    auto* hide = new QToolButton(ui_->findBar);
    hide->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    hide->setAutoRaise(true);
    findLayout->addWidget(hide);
    auto doFind = [this] {
        const QString text = ui_->findText->text();
        if (text.isEmpty())
            return;
        ui_->findStatus->setText(findNext(text) ? QString()
                                                : uiText("preview.notFound", "Not found: %1").arg(text));
    };
    connect(ui_->findText, &QLineEdit::returnPressed, this, doFind);
    connect(next, &QToolButton::clicked, this, doFind);
    connect(hide, &QToolButton::clicked, this, [this] {
        ui_->findBar->hide();
        ui_->view->markRect(-1, {});
    });
    ui_->findBar->hide();
    layout->addWidget(ui_->findBar);

    auto* statusBar = new QWidget(this);
    auto* statusLayout = new QHBoxLayout(statusBar);
    statusLayout->setContentsMargins(6, 2, 6, 2);
    ui_->status = new QLabel(statusBar);
    statusLayout->addWidget(ui_->status, 1);
    ui_->progress = new QProgressBar(statusBar);
    ui_->progress->setMaximumWidth(260);
    ui_->progress->hide();
    statusLayout->addWidget(ui_->progress);
    ui_->cancel = new QToolButton(statusBar);
    ui_->cancel->setText(uiText("preview.cancel", "Cancel"));
    ui_->cancel->hide();
    connect(ui_->cancel, &QToolButton::clicked, this, [this] { ui_->cancelRequested = true; });
    statusLayout->addWidget(ui_->cancel);
    layout->addWidget(statusBar);

    const QRect screen = QApplication::primaryScreen() ? QApplication::primaryScreen()->availableGeometry() : QRect(0, 0, 1280, 1024);
    resize(std::min(1100, screen.width() * 9 / 10), std::min(1000, screen.height() * 9 / 10));
}

void PreviewWindow::showOutline()
{
    ui_->outline->clear();
    std::function<void(QTreeWidgetItem*, const std::vector<OutlineEntry>&)> add =
        [&](QTreeWidgetItem* parent, const std::vector<OutlineEntry>& entries) {
            for (const OutlineEntry& e : entries) {
                auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(ui_->outline);
                item->setText(0, e.text);
                item->setData(0, Qt::UserRole, e.page);
                item->setData(0, Qt::UserRole + 1, e.y);
                add(item, e.children);
            }
        };
    add(nullptr, ui_->report.outline);
    const bool has = !ui_->report.outline.empty();
    if (QAction* a = action(PreviewOutline)) {
        // The outline opens by itself where the report has one, and its button is off where it has none.
        a->setEnabled(has);
        a->setChecked(has);
        ui_->outline->setVisible(has);
    }
}

void PreviewWindow::pageChanged(int page)
{
    const int count = ui_->report.pageCount();
    if (ui_->pageBox) {
        const QSignalBlocker block(ui_->pageBox);
        ui_->pageBox->setRange(1, std::max(1, count));
        ui_->pageBox->setValue(page + 1);
        ui_->pageCountLabel->setText(uiText("preview.pageOf", "of %1").arg(count));
    }
    if (!ui_->working)
        ui_->status->setText(uiText("preview.pageStatus", "Page %1 of %2").arg(page + 1).arg(count));
}

bool PreviewWindow::findNext(const QString& text)
{
    const auto& pages = ui_->report.pages;
    if (text.isEmpty() || pages.empty())
        return false;
    int page = currentPage();
    int element = 0;
    if (text == ui_->foundText && ui_->foundPage >= 0) {
        page = ui_->foundPage;
        element = ui_->foundElement + 1;
    }
    ui_->foundText = text;
    // Every element of every page once, starting after the last find and going round.
    size_t total = 0;
    for (const PreparedPage& p : pages)
        total += p.elements.size();
    for (size_t seen = 0; seen <= total; ++seen) {
        if (element >= int(pages[size_t(page)].elements.size())) {
            page = (page + 1) % int(pages.size());
            element = 0;
            if (pages[size_t(page)].elements.empty())
                continue;
        }
        const PreparedElement& e = pages[size_t(page)].elements[size_t(element)];
        if (const auto* t = std::get_if<TextItem>(&e.item)) {
            if (t->lines.join(QLatin1Char(' ')).contains(text, Qt::CaseInsensitive) ||
                t->lines.join(QString()).contains(text, Qt::CaseInsensitive)) {
                ui_->foundPage = page;
                ui_->foundElement = element;
                ui_->foundRect = t->rect;
                ui_->view->markRect(page, t->rect);
                return true;
            }
        }
        ++element;
    }
    ui_->foundPage = -1;
    ui_->foundElement = -1;
    ui_->foundRect = QRectF();
    ui_->view->markRect(-1, {});
    return false;
}

bool PreviewWindow::progress(int done, int total)
{
    ui_->progress->setRange(0, std::max(1, total));
    ui_->progress->setValue(done);
    // Keep the window painted and the cancel button alive while the work runs.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (ui_->cancel->underMouse())
        QCoreApplication::processEvents();
    return !ui_->cancelRequested;
}

bool PreviewWindow::exportTo(PreviewFormat format, const QString& path)
{
    ui_->working = true;
    ui_->cancelRequested = false;
    ui_->progress->setValue(0);
    ui_->progress->show();
    ui_->cancel->show();
    ui_->status->setText(uiText("preview.exporting", "Writing %1").arg(QDir::toNativeSeparators(path)));
    ExportOptions options;
    options.render = ui_->settings.render;
    options.title = ui_->settings.title;
    options.progress = [this](int done, int total) { return progress(done, total); };
    QString error;
    bool ok = false;
    switch (format) {
    case PreviewFormat::Pdf: ok = exportPdf(ui_->report, path, &error, options.render); break;
    case PreviewFormat::Rtf: ok = exportRtf(ui_->report, path, options, &error); break;
    case PreviewFormat::SpreadsheetXml: ok = exportSpreadsheetXml(ui_->report, path, options, &error); break;
    case PreviewFormat::Xlsx: ok = exportXlsx(ui_->report, path, options, &error); break;
    case PreviewFormat::Html: ok = exportHtml(ui_->report, path, options, &error); break;
    case PreviewFormat::Png:
    case PreviewFormat::Jpeg:
    case PreviewFormat::Bmp: {
        const char* name = format == PreviewFormat::Png ? "PNG" : format == PreviewFormat::Jpeg ? "JPEG" : "BMP";
        ok = !exportImages(ui_->report, path, QString::fromLatin1(name), 150, &error, options.render).isEmpty();
        break;
    }
    case PreviewFormat::PreparedReport: ok = savePreparedReport(ui_->report, path, &error, options.progress); break;
    }
    ui_->working = false;
    ui_->progress->hide();
    ui_->cancel->hide();
    pageChanged(currentPage());
    if (ok)
        ui_->status->setText(uiText("preview.written", "Written: %1").arg(QDir::toNativeSeparators(path)));
    else if (ui_->settings.error)
        ui_->settings.error(error);
    return ok;
}

void PreviewWindow::askExport(PreviewFormat format)
{
    const FormatInfo& f = info(format);
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = QDir::homePath();
    QString base = ui_->settings.title.isEmpty() ? uiText("export.sheetName", "Report") : ui_->settings.title;
    base.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QString suggested = QDir(dir).filePath(base + QLatin1Char('.') + QString::fromLatin1(f.suffix));
    QString path = QFileDialog::getSaveFileName(this, uiText("preview.exportTitle", "Save as: %1").arg(formatName(f)),
                                                suggested, formatFilter(f));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + QString::fromLatin1(f.suffix);
    exportTo(format, path);
}

bool PreviewWindow::loadFile(const QString& path)
{
    PreparedReport loaded;
    QString error;
    if (!loadPreparedReport(path, loaded, &error)) {
        if (ui_->settings.error)
            ui_->settings.error(error);
        return false;
    }
    ui_->report = std::move(loaded);
    ui_->foundPage = ui_->foundElement = -1;
    ui_->foundText.clear();
    ui_->view->setReport(&ui_->report, ui_->settings.render);
    showOutline();
    pageChanged(0);
    return true;
}

void PreviewWindow::askLoad()
{
    const FormatInfo& f = info(PreviewFormat::PreparedReport);
    const QString path = QFileDialog::getOpenFileName(this, uiText("preview.loadTitle", "Open a prepared report"),
                                                      QString(), formatFilter(f));
    if (!path.isEmpty())
        loadFile(path);
}

QPrinter& PreviewWindow::printer()
{
    if (!ui_->printer) {
        ui_->printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        matchPaperToReport(ui_->report, *ui_->printer);
        ui_->printer->setDocName(ui_->settings.title);
        if (ui_->settings.render.monochrome)
            ui_->printer->setColorMode(QPrinter::GrayScale);
        if (ui_->settings.setupPrinter)
            ui_->settings.setupPrinter(*ui_->printer);
    }
    return *ui_->printer;
}

void PreviewWindow::pageSetup()
{
    QPageSetupDialog dialog(&printer(), this);
    dialog.exec();
}

bool PreviewWindow::printTo(QPrinter& target)
{
    ui_->working = true;
    ui_->cancelRequested = false;
    ui_->progress->setValue(0);
    ui_->progress->show();
    ui_->cancel->show();
    ui_->status->setText(uiText("preview.printing", "Printing on %1").arg(target.printerName()));
    QString error;
    const bool ok = printPages(ui_->report, target, ui_->settings.render,
                               [this](int done, int total) { return progress(done, total); }, &error);
    ui_->working = false;
    ui_->progress->hide();
    ui_->cancel->hide();
    pageChanged(currentPage());
    if (ok)
        ui_->status->setText(uiText("preview.printed", "Sent to the printer %1").arg(target.printerName()));
    else if (ui_->settings.error)
        ui_->settings.error(error);
    return ok;
}

void PreviewWindow::print()
{
    QPrinter& p = printer();
    QPrintDialog dialog(&p, this);
    dialog.setMinMax(1, std::max(1, ui_->report.pageCount()));
    if (dialog.exec() == QDialog::Accepted)
        printTo(p);
}

} // namespace tarvex::engine
