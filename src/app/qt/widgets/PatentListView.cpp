#include "app/qt/widgets/PatentListView.h"

#include <QHeaderView>

#include "app/qt/widgets/QtText.h"

namespace vantorel {
namespace {
constexpr int kBytesRole = Qt::UserRole;
}

PatentListView::PatentListView(const QStringList& columns, QWidget* parent)
    : QTableWidget(0, static_cast<int>(columns.size()), parent) {
    setHorizontalHeaderLabels(columns);
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setSortingEnabled(false);
    setTabKeyNavigation(false);
}

void PatentListView::addRow(const std::string& caption, const std::string& second,
                            const std::string& third) {
    const int row = rowCount();
    insertRow(row);
    const std::string* const texts[] = {&caption, &second, &third};
    for (int column = 0; column < std::min(columnCount(), 3); ++column) {
        auto* item = new QTableWidgetItem(displayString(*texts[column]));
        item->setData(kBytesRole, QByteArray::fromStdString(*texts[column]));
        setItem(row, column, item);
    }
}

std::string PatentListView::cellBytes(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->data(kBytesRole).toByteArray().toStdString() : std::string();
}

int PatentListView::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

std::string PatentListView::selectedCaption() const {
    const int row = selectedRow();
    return row < 0 ? std::string() : cellBytes(row, 0);
}

QModelIndex PatentListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const int rows = model()->rowCount(rootIndex());
    if (rows == 0) return QTableWidget::moveCursor(action, modifiers);
    const int column = std::max(currentIndex().column(), 0);
    switch (action) {
        case MoveHome:
            return model()->index(0, column, rootIndex());
        case MoveEnd:
            return model()->index(rows - 1, column, rootIndex());
        case MoveLeft:
        case MoveRight:
        case MoveNext:
        case MovePrevious:
            // A list moves between rows only; sideways is not a move.
            return currentIndex();
        default:
            return QTableWidget::moveCursor(action, modifiers);
    }
}

}  // namespace vantorel
