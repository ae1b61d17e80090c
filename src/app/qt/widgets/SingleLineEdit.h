#pragma once

#include <QLineEdit>
#include <string>

namespace vantorel {

// A single-line edit for the program's texts: no length limit, never a line
// break (see LineBreakValidator), and texts set as bytes come back as the
// same bytes while the user has not changed them, even when they are not UTF-8.
class SingleLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit SingleLineEdit(QWidget* parent = nullptr);

    // Shows `bytes` up to their first line break.
    void setBytes(const std::string& bytes);
    std::string bytes() const;

private:
    std::string shownFrom_;
};

}  // namespace vantorel
