#include "app/qt/RadioGroup.h"

#include <QButtonGroup>
#include <QEvent>
#include <QRadioButton>
#include <algorithm>

#include "form/FormDesign.h"

namespace vantorel {

RadioGroup::RadioGroup(const QString& title, const QStringList& choices, QWidget* parent)
    : GroupBox(title, parent), group_(new QButtonGroup(this)) {
    for (const QString& text : choices) {
        auto* button = new QRadioButton(text, this);
        group_->addButton(button, static_cast<int>(buttons_.size()));
        buttons_.push_back(button);
    }
    group_->setExclusive(true);
    connect(group_, &QButtonGroup::idToggled, this, [this] { updateTabStops(); });
    updateTabStops();
    layoutChoices();
}

int RadioGroup::itemIndex() const {
    return group_->checkedId();
}

void RadioGroup::setItemIndex(int index) {
    index = std::clamp(index, -1, count() - 1);
    if (index >= 0) {
        buttons_[index]->setChecked(true);
    } else if (QAbstractButton* checked = group_->checkedButton()) {
        // An exclusive group refuses to uncheck its last choice.
        group_->setExclusive(false);
        checked->setChecked(false);
        group_->setExclusive(true);
    }
    updateTabStops();
}

void RadioGroup::resizeEvent(QResizeEvent* event) {
    GroupBox::resizeEvent(event);
    layoutChoices();
}

void RadioGroup::changeEvent(QEvent* event) {
    GroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange) layoutChoices();
}

void RadioGroup::layoutChoices() {
    if (buttons_.empty()) return;
    for (int i = 0; i < count(); ++i) {
        const ScreenRect at =
            radioChoiceRect(width(), height(), fontMetrics().height(), count(), i);
        buttons_[i]->setGeometry(at.left, at.top, at.width, at.height);
    }
}

void RadioGroup::updateTabStops() {
    const int selected = std::max(0, itemIndex());
    for (int i = 0; i < count(); ++i)
        buttons_[i]->setFocusPolicy(i == selected ? Qt::StrongFocus : Qt::ClickFocus);
}

}  // namespace vantorel
