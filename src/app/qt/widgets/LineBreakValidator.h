#pragma once

#include <QValidator>

namespace vantorel {

// Keeps a single-line edit to one line: whatever follows the first carriage
// return or line feed is dropped, whether the text was typed, pasted or set
// by the program, as single-line edits on Windows take pasted lines.
class LineBreakValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override;

    // `text` up to its first line break.
    static QString firstLine(const QString& text);
};

}  // namespace vantorel
