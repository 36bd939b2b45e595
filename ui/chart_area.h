#pragma once
/// An area a painter of views/ draws into: white, framed, and empty until a
/// painter is given.

#include <QWidget>
#include <functional>

namespace quorvane {

class ChartArea : public QWidget {
  public:
    explicit ChartArea(QWidget* parent = nullptr);
    std::function<void(QPainter&, const QRect&)> painter;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace quorvane
