#pragma once
// A report page of a template: paper, margins and the bands printed on it.

#include "Band.h"

#include <QSizeF>

namespace tarvex::engine {

class Page : public Object {
public:
    explicit Page(const QString& typeName = QStringLiteral("TfrxReportPage"));

    double paperWidth = 210;  ///< mm, already swapped for landscape
    double paperHeight = 297; ///< mm
    int paperSize = 9;        ///< Windows paper code: 9 A4, 1 Letter, 256 custom
    double leftMargin = 10;   ///< mm
    double rightMargin = 10;
    double topMargin = 10;
    double bottomMargin = 10;
    bool landscape = false;
    bool titleBeforeHeader = true; ///< the report title prints above the page header

    /// Switches orientation and swaps the paper sides when it changes.
    void setLandscape(bool on);

    /// The bands of this page, in file order.
    std::vector<Band*> bands() const;
    /// Paper size in report units.
    QSizeF paperSizeUnits() const { return QSizeF(paperWidth * kUnitsPerMm, paperHeight * kUnitsPerMm); }

    void readAttributes(AttributeBag& bag) override;
    void writeAttributes(AttributeBag& out) const override;
};

} // namespace tarvex::engine
