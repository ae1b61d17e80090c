#pragma once

#include <QClipboard>
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

    // The patent field: a column pasted by key, menu or middle button (lines
    // or cells of a list) becomes the request it stands for instead of being
    // cut at its first line break (see PatentPaste).
    void setPastesColumns(bool on) { pastesColumns_ = on; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void pasteColumn(QClipboard::Mode mode);

    std::string shownFrom_;
    bool pastesColumns_ = false;
};

}  // namespace vantorel
