#include "app/qt/widgets/LineBreakValidator.h"

#include <algorithm>

namespace vantorel {

QString LineBreakValidator::firstLine(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == QLatin1Char('\n') || text[i] == QLatin1Char('\r')) return text.left(i);
    return text;
}

QValidator::State LineBreakValidator::validate(QString& input, int& position) const {
    const QString line = firstLine(input);
    if (line.size() != input.size()) {
        input = line;
        position = std::min(position, static_cast<int>(line.size()));
    }
    return Acceptable;
}

}  // namespace vantorel
