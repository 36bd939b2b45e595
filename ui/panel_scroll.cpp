#include "ui/panel_scroll.h"

#include <QStyle>

namespace quorvane {

PanelScroll::PanelScroll(QWidget* panel, QWidget* parent) : QScrollArea(parent) {
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    // The focus goes to the panel's controls, never to the frame around them;
    // the area still scrolls a control that takes the focus into view.
    setFocusPolicy(Qt::NoFocus);
    setWidget(panel);
}

QSize PanelScroll::sizeHint() const {
    const QWidget* shown = widget();
    if (!shown) return QScrollArea::sizeHint();
    // Room for a vertical scroll bar: a screen too low for the panel then
    // takes nothing from its width.
    const int frame = 2 * frameWidth();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return shown->sizeHint().expandedTo(shown->minimumSize()) + QSize(frame + bar, frame);
}

QWidget* panelOf(QWidget* page) {
    if (auto* scroll = qobject_cast<PanelScroll*>(page)) return scroll->panel();
    return page;
}

}  // namespace quorvane
