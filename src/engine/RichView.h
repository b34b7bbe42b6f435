#pragma once
// A rich-text object. Its content is RTF (or plain text); the engine prints its text with the basic
// character formatting, and tab-separated lines as aligned columns.

#include "MemoView.h"

namespace tarvex::engine {

class RichView : public View {
public:
    explicit RichView(const QString& typeName = QStringLiteral("TfrxRichView"));

    /// RTF source ("{\rtf1 ...}") or plain text; empty prints nothing.
    QString richText;
    StretchMode stretchMode = StretchMode::DontStretch;
    double gapX = 2;
    double gapY = 1;
    /// Font of the text when the content does not set one.
    Font font;

    /// The printable text of the content, paragraphs separated by "\n".
    QString plainText() const;

    void readAttributes(AttributeBag& bag) override;
    void writeAttributes(AttributeBag& out) const override;

private:
    QString loadedPropData_;
    QString loadedText_;
};

/// The text of an RTF document: control words and destinations such as font and colour tables are
/// dropped; \par, \line and \row break lines, \tab and \cell give tabs; \'hh and \uN escapes are
/// decoded (code page from \ansicpg or a Cyrillic \fcharset). Non-RTF input is returned unchanged.
QString rtfToPlainText(const QString& rtf);

} // namespace tarvex::engine
