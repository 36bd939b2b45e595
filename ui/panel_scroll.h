#pragma once
/// A panel in its tab: given the whole tab when the tab is large enough, and
/// scrolled rather than squashed when it is not (a small screen, a large screen
/// scale, a large font).

#include <QScrollArea>

namespace quorvane {

class PanelScroll : public QScrollArea {
    Q_OBJECT
  public:
    /// Takes `panel`.
    explicit PanelScroll(QWidget* panel, QWidget* parent = nullptr);

    QWidget* panel() const { return widget(); }
    /// The panel's own wish, however large: the window sizes itself by it.
    QSize sizeHint() const override;
};

/// The panel on a tab page: the page itself, or the panel a `PanelScroll` holds.
QWidget* panelOf(QWidget* page);

}  // namespace quorvane
