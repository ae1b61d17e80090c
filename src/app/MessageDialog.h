#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace vantorel {

// The program's own message box: the application title, no icon, the text
// wrapped within half the screen width, one OK button for Enter and Esc,
// centred on the screen.
class MessageDialog : public QDialog {
    Q_OBJECT
public:
    explicit MessageDialog(const QString& text, QWidget* parent = nullptr);

    QLabel* textLabel() const { return text_; }
    QPushButton* okButton() const { return ok_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void centreOnScreen();

    QLabel* text_;
    QPushButton* ok_;
};

}  // namespace vantorel
