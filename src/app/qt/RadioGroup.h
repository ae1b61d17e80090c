#pragma once

#include <QStringList>
#include <vector>

#include "app/qt/widgets/GroupBox.h"

class QButtonGroup;
class QRadioButton;

namespace vantorel {

// A captioned group of radio choices in one column with a selected index in
// -1..(count - 1), -1 meaning none; out-of-range values are clamped. Only the
// selected choice is a tab stop, so Tab visits the group once.
class RadioGroup : public GroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& title, const QStringList& choices, QWidget* parent = nullptr);

    int itemIndex() const;
    void setItemIndex(int index);

    QRadioButton* choice(int index) const { return buttons_.at(index); }
    int count() const { return static_cast<int>(buttons_.size()); }

    // Places the choices for the current size; a hidden group gets no resize
    // events, so whoever sets its geometry calls this too.
    void layoutChoices();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateTabStops();

    QButtonGroup* group_;
    std::vector<QRadioButton*> buttons_;
};

}  // namespace vantorel
