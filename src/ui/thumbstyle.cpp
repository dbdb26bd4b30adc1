#include "thumbstyle.h"

#include <QApplication>
#include <QScrollBar>

TThumbStyle::TThumbStyle()
    : QProxyStyle(QApplication::style()->name())
{
}

void TThumbStyle::apply(QScrollBar *bar)
{
    auto *style = new TThumbStyle;
    style->setParent(bar);
    bar->setStyle(style);
}

int TThumbStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    const int value = QProxyStyle::pixelMetric(metric, option, widget);
    if (metric == PM_ScrollBarSliderMin)
        return qMin(value, MinThumbLength);
    return value;
}
