#pragma once
/// The typesetter of formula labels: a line of pieces in the normal face, in the
/// symbol face (Greek letters typed as their Latin keys, "D" for a capital
/// delta), or as sub- and superscripts 5 pixels off the line.

#include <QFont>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

namespace quorvane::views {

class FormulaText {
  public:
    enum class Style { Normal, Symbol, Subscript, Superscript };

    FormulaText();

    void clear();
    /// Appends a piece; Symbol pieces are Latin keys of the symbol face.
    FormulaText& append(const QString& text, Style style = Style::Normal);
    FormulaText& normal(const QString& text) { return append(text, Style::Normal); }
    FormulaText& symbol(const QString& text) { return append(text, Style::Symbol); }
    FormulaText& sub(const QString& text) { return append(text, Style::Subscript); }
    FormulaText& super(const QString& text) { return append(text, Style::Superscript); }

    /// Width and height of the whole line, sub- and superscripts included.
    QSize measure() const;
    /// The line's text as it appears (symbol keys turned into their letters).
    QString plainText() const;

    /// Draws the line with the top of its box at (x, y), in the painter's pen.
    void draw(QPainter& painter, int x, int y) const;
    /// Right-aligned, ending `gap` pixels left of the control, centred on it vertically.
    void drawLeftOf(QPainter& painter, const QRect& control, int gap = 3) const;
    /// Left-aligned, `gap` pixels right of the control, centred on it vertically.
    void drawRightOf(QPainter& painter, const QRect& control, int gap = 3) const;

    /// The Unicode letter that the symbol face shows for a Latin key.
    static QChar symbolLetter(QChar key);

  private:
    struct Piece {
        QString text;  ///< as shown (symbol keys already turned into letters)
        Style style;
        int x = 0;  ///< advance from the line's start
        int width = 0;
    };
    const QFont& fontOf(Style style) const;
    void layout();

    std::vector<Piece> pieces_;
    QFont normalFont_;
    QFont symbolFont_;
    QFont smallFont_;
    int width_ = 0;
    int ascent_ = 0;   ///< of the normal and symbol faces
    int descent_ = 0;  ///< likewise
};

}  // namespace quorvane::views
