#include "app/qt/widgets/QtText.h"

#include "platform/DisplayText.h"

namespace vantorel {

QString displayString(const std::string& bytes) {
    return QString::fromStdString(displayText(bytes));
}

std::string bytesOfShown(const QString& shown, const std::string& shownFrom) {
    return bytesOfShown(shown.toStdString(), shownFrom);
}

}  // namespace vantorel
