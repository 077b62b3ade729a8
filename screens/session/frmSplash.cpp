#include "screens/session/frmSplash.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>

frmSplash::frmSplash(QWidget* parent) : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(480, 280);
}

void frmSplash::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(0, 159, 204));
    g.setColorAt(1, QColor(54, 108, 162));
    p.fillRect(rect(), g);
    p.setPen(Qt::white);
    QFont title = font();
    title.setPointSize(34);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(0, 60, width(), 70), Qt::AlignCenter, QStringLiteral("KORVANE"));
    QFont sub = font();
    sub.setPointSize(12);
    p.setFont(sub);
    p.drawText(QRect(0, 135, width(), 30), Qt::AlignCenter, QStringLiteral("Enquiry tracking for the sales office"));
    p.setPen(QColor(255, 255, 255, 160));
    p.drawRect(rect().adjusted(8, 8, -9, -9));
}

void frmSplash::keyPressEvent(QKeyEvent*)
{
    close();
}
