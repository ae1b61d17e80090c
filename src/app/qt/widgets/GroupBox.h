#pragma once

#include <QGroupBox>

namespace vantorel {

// A group box drawn as the platform's own: an etched frame whose top line
// runs through the middle of the caption's line of text (about top + 6 at
// 96 dpi), with the caption drawn on it. Children keep the positions they are
// given, measured from the box's top-left corner.
class GroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit GroupBox(const QString& title, QWidget* parent = nullptr);

    // Where the frame's top line runs and where the caption is drawn.
    int frameTop() const;
    QRect captionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace vantorel
