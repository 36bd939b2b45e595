#include "ui/text_fit.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace quorvane {

int widthForText(const QLineEdit& edit, const QString& text) {
    // As the line edit measures itself: the text and the cursor after it, two
    // pixels of margin on either side, its text margins, then the frame the style
    // draws around it.
    const QFontMetrics metrics = edit.fontMetrics();
    const QMargins margins = edit.textMargins();
    const int cursor = 1;
    const int width =
        metrics.horizontalAdvance(text) + cursor + 2 * 2 + margins.left() + margins.right();
    const int height = metrics.height() + margins.top() + margins.bottom();
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.hasFrame()
                           ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit)
                           : 0;
    option.features = QStyleOptionFrame::None;
    return edit.style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, height), &edit)
        .width();
}

void fitToDigits(QLineEdit& edit, int characters) {
    // "8" is the widest digit in the usual faces; a number's "e", "-" and "."
    // are narrower.
    edit.setFixedWidth(widthForText(edit, QString(characters, QLatin1Char('8'))));
}

}  // namespace quorvane
