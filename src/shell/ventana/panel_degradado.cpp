#include "panel_degradado.h"

#include <QLinearGradient>
#include <QPainter>

namespace pontavia {

void PanelDegradado::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, arriba_);
    g.setColorAt(1, abajo_);
    p.fillRect(rect(), g);
    p.setPen(QColor(255, 255, 255, 160));
    p.drawLine(0, 0, width() - 1, 0);
    p.drawLine(0, 0, 0, height() - 1);
    p.setPen(QColor(0, 0, 0, 90));
    p.drawLine(width() - 1, 0, width() - 1, height() - 1);
    p.drawLine(0, height() - 1, width() - 1, height() - 1);
}

} // namespace pontavia
