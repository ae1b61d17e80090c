#pragma once

#include <QTableWidget>
#include <string>

namespace vantorel {

// The downloaded-patents list, behaving as a report-style list view: one
// whole row is selected at a time, and Home, End, Page Up and Page Down move
// between rows (a table would move Home and End between columns). Each cell
// keeps the exact bytes it was given, so a name that is not UTF-8 is shown
// readably and still handed back byte for byte.
class PatentListView : public QTableWidget {
    Q_OBJECT
public:
    PatentListView(const QStringList& columns, QWidget* parent = nullptr);

    // Appends a row: the caption, then the texts of the other columns.
    void addRow(const std::string& caption, const std::string& second, const std::string& third);
    // The bytes a cell was given; empty for a cell that does not exist.
    std::string cellBytes(int row, int column) const;
    // The selected row, or -1.
    int selectedRow() const;
    // The selected row's caption bytes; empty when nothing is selected.
    std::string selectedCaption() const;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
};

}  // namespace vantorel
