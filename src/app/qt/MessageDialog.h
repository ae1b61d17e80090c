#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace vantorel {

// The program's own message box: the application title, no icon, the text as
// wide as it needs and wrapped only beyond half the screen width, one OK
// button for Enter and Esc, centred on the screen.
class MessageDialog : public QDialog {
    Q_OBJECT
public:
    explicit MessageDialog(const QString& text, QWidget* parent = nullptr);

    QLabel* textLabel() const { return text_; }
    QPushButton* okButton() const { return ok_; }

    // The width of the text area for `text`: its widest line, at most `limit`.
    static int textWidth(const QString& text, const QFont& font, int limit);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void centreOnScreen();

    QLabel* text_;
    QPushButton* ok_;
};

}  // namespace vantorel
