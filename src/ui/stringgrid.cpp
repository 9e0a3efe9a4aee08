#include "stringgrid.h"

#include <QMouseEvent>

TStringGrid::TStringGrid(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

QString TStringGrid::Cell(int col, int row) const {
    if (col < 0 || col >= ColCount || row < 0 || row >= RowCount) {
        return {};
    }
    return cells_[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
}

void TStringGrid::SetCell(int col, int row, const QString& text) {
    if (col < 0 || col >= ColCount || row < 0 || row >= RowCount) {
        return;
    }
    cells_[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)] = text;
    update();
}

QObject* TStringGrid::Object(int col, int row) const {
    if (col < 0 || col >= ColCount || row < 0 || row >= RowCount) {
        return nullptr;
    }
    return objects_[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
}

void TStringGrid::SetObject(int col, int row, QObject* object) {
    if (col < 0 || col >= ColCount || row < 0 || row >= RowCount) {
        return;
    }
    objects_[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)] = object;
}

int TStringGrid::SelectionTop() const {
    return std::min(row_, anchor_);
}
int TStringGrid::SelectionBottom() const {
    return std::max(row_, anchor_);
}

QRect TStringGrid::CellRect(int col, int row) const {
    return {BorderWidth + col * (ColWidth + GridLineWidth),
            BorderWidth + row * (RowHeight + GridLineWidth), ColWidth, RowHeight};
}

std::pair<int, int> TStringGrid::MouseToCell(QPoint) const {
    return {-1, -1};
}

void TStringGrid::paintEvent(QPaintEvent*) {}
void TStringGrid::mousePressEvent(QMouseEvent*) {}
void TStringGrid::mouseDoubleClickEvent(QMouseEvent*) {}
void TStringGrid::mouseMoveEvent(QMouseEvent*) {}
void TStringGrid::mouseReleaseEvent(QMouseEvent*) {}
void TStringGrid::keyPressEvent(QKeyEvent*) {}
void TStringGrid::wheelEvent(QWheelEvent*) {}
void TStringGrid::focusInEvent(QFocusEvent*) {}
void TStringGrid::focusOutEvent(QFocusEvent*) {}
bool TStringGrid::MoveCurrent(int, int, bool) {
    return false;
}
void TStringGrid::MoveAnchor(int) {}
void TStringGrid::OnButtonDown(QMouseEvent*, bool) {}
