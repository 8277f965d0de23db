#pragma once
// A panel painted with a colour gradient: decoration only.
#include <QWidget>

namespace pontavia {

class PanelDegradado : public QWidget {
  public:
    PanelDegradado(const QColor& arriba, const QColor& abajo, QWidget* padre)
        : QWidget(padre), arriba_(arriba), abajo_(abajo) {}

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QColor arriba_;
    QColor abajo_;
};

} // namespace pontavia
