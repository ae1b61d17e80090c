#include "app/qt/widgets/SingleLineEdit.h"

#include <limits>

#include "app/qt/widgets/LineBreakValidator.h"
#include "app/qt/widgets/QtText.h"
#include "platform/TextRules.h"

namespace vantorel {

SingleLineEdit::SingleLineEdit(QWidget* parent) : QLineEdit(parent) {
    // The toolkit's default cuts at 32767 characters: a long request would be sent cut short.
    setMaxLength(std::numeric_limits<int>::max());
    setValidator(new LineBreakValidator(this));
}

void SingleLineEdit::setBytes(const std::string& bytes) {
    // Set before the text, so a change handler that runs meanwhile reads them.
    shownFrom_ = firstLine(bytes);
    setText(displayString(shownFrom_));
}

std::string SingleLineEdit::bytes() const {
    return bytesOfShown(text(), shownFrom_);
}

}  // namespace vantorel
