// The formula typesetter of the Run panel's labels.

#include "views/formula_text.h"

#include <QFontMetrics>
#include <algorithm>

#include "views/painter_text.h"

namespace quorvane::views {

namespace {

// Sub- and superscripts sit this many pixels off the line.
constexpr int kScriptShift = 5;

// The Greek letters of the symbol face, by their Latin keys a..z and A..Z.
constexpr char16_t kSymbolLower[26] = {0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3,
                                       0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD,
                                       0x03BF, 0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5,
                                       0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6};
constexpr char16_t kSymbolUpper[26] = {0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393,
                                       0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D,
                                       0x039F, 0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5,
                                       0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396};

}  // namespace

FormulaText::FormulaText()
    : normalFont_(makeFont(kChartFamily, 20, 500)),
      // The symbol face's letters come from a Unicode face: the Greek block has them all.
      symbolFont_(makeFont(kChartFamily, 20, 600)),
      smallFont_(makeFont(kChartFamily, 16, 600)) {
    layout();
}

QChar FormulaText::symbolLetter(QChar key) {
    const char16_t c = key.unicode();
    if (c >= u'a' && c <= u'z') return QChar(kSymbolLower[c - u'a']);
    if (c >= u'A' && c <= u'Z') return QChar(kSymbolUpper[c - u'A']);
    return key;
}

void FormulaText::clear() {
    pieces_.clear();
    layout();
}

FormulaText& FormulaText::append(const QString& text, Style style) {
    QString shown = text;
    if (style == Style::Symbol)
        for (QChar& c : shown) c = symbolLetter(c);
    pieces_.push_back({shown, style});
    layout();
    return *this;
}

const QFont& FormulaText::fontOf(Style style) const {
    switch (style) {
        case Style::Symbol:
            return symbolFont_;
        case Style::Subscript:
        case Style::Superscript:
            return smallFont_;
        case Style::Normal:
            break;
    }
    return normalFont_;
}

void FormulaText::layout() {
    const QFontMetrics normal(normalFont_);
    const QFontMetrics symbol(symbolFont_);
    ascent_ = std::max(normal.ascent(), symbol.ascent());
    descent_ = std::max(normal.descent(), symbol.descent());
    int x = 0;
    for (Piece& piece : pieces_) {
        const QFontMetrics metrics(fontOf(piece.style));
        piece.x = x;
        piece.width = metrics.horizontalAdvance(piece.text);
        x += piece.width;
        if (piece.style == Style::Subscript)
            descent_ = std::max(descent_, metrics.descent() + kScriptShift);
        if (piece.style == Style::Superscript)
            ascent_ = std::max(ascent_, metrics.ascent() + kScriptShift);
    }
    width_ = x;
}

QSize FormulaText::measure() const {
    return {width_, ascent_ + descent_};
}

QString FormulaText::plainText() const {
    QString text;
    for (const Piece& piece : pieces_) text += piece.text;
    return text;
}

void FormulaText::draw(QPainter& painter, int x, int y) const {
    PainterSaver saver(painter);
    const int baseline = y + ascent_;
    for (const Piece& piece : pieces_) {
        painter.setFont(fontOf(piece.style));
        int shift = 0;
        if (piece.style == Style::Subscript) shift = kScriptShift;
        if (piece.style == Style::Superscript) shift = -kScriptShift;
        painter.drawText(x + piece.x, baseline + shift, piece.text);
    }
}

void FormulaText::drawLeftOf(QPainter& painter, const QRect& control, int gap) const {
    const QSize size = measure();
    draw(painter, control.left() - gap - size.width(),
         control.top() + (control.height() - size.height()) / 2);
}

void FormulaText::drawRightOf(QPainter& painter, const QRect& control, int gap) const {
    const QSize size = measure();
    draw(painter, control.right() + 1 + gap,
         control.top() + (control.height() - size.height()) / 2);
}

}  // namespace quorvane::views
