#pragma once

#include <QFrame>

#include <functional>

namespace zorvane {

// A box with a one-pixel black frame whose inside shows a colour. The frame
// paints first and the colour goes inside it afterwards, so the frame stays
// visible whatever the colour.
class ColorSwatch : public QFrame
{
    Q_OBJECT

public:
    using ColorSource = std::function<QColor()>;

    explicit ColorSwatch(ColorSource source, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ColorSource source_;
};

} // namespace zorvane
