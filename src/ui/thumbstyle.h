#pragma once
// TThumbStyle: the window style, with a shorter least thumb length for
// scroll bars too short for the style's own. The map window's zoom slider is
// 48 pixels long: after its two arrow buttons the track is shorter than the
// thumb most styles insist on, so the thumb would fill the track and could
// neither be seen nor dragged.

#include <QProxyStyle>

class QScrollBar;

class TThumbStyle : public QProxyStyle {
    Q_OBJECT
public:
    // The thumb never gets shorter than this.
    static constexpr int MinThumbLength = 6;

    // Gives bar this style; the style belongs to the bar.
    static void apply(QScrollBar *bar);

    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;

private:
    TThumbStyle();
};
