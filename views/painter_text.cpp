// Text helpers of the painters.

#include "views/painter_text.h"

#include <QFontMetrics>
#include <array>

namespace quorvane::views {

namespace {

// The printable characters that Windows-1252 puts where Latin-1 has control codes.
constexpr std::array<char16_t, 32> kHighControls{
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

}  // namespace

QString fromWindows1252(const std::string& text) {
    QString result;
    result.reserve(static_cast<qsizetype>(text.size()));
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte < 0xA0)
            result.append(QChar(kHighControls[byte - 0x80]));
        else
            result.append(QChar(static_cast<char16_t>(byte)));
    }
    return result;
}

QFont makeFont(const char* family, int height, int weight) {
    QFont font(QString::fromLatin1(family));
    // A cell of `height` pixels holds an em of about 0.85 of it plus the leading.
    font.setPixelSize(height > 4 ? height * 85 / 100 : height);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setStyleHint(QFont::Serif);
    return font;
}

int drawTextTopLeft(QPainter& painter, int x, int y, const QString& text) {
    const QFontMetrics metrics = painter.fontMetrics();
    painter.drawText(x, y + metrics.ascent(), text);
    return metrics.horizontalAdvance(text);
}

void drawTextUpward(QPainter& painter, int x, int y, const QString& text) {
    PainterSaver saver(painter);
    painter.translate(x, y);
    painter.rotate(-90);
    drawTextTopLeft(painter, 0, 0, text);
}

void drawThickPolyline(QPainter& painter, const QPoint* points, int count, const QColor& colour) {
    if (count < 2) return;
    PainterSaver saver(painter);
    painter.setPen(QPen(colour, 0));
    painter.drawPolyline(points, count);
    painter.translate(1, 1);
    painter.drawPolyline(points, count);
}

int textWidth(const QPainter& painter, const QString& text) {
    return painter.fontMetrics().horizontalAdvance(text);
}

}  // namespace quorvane::views
