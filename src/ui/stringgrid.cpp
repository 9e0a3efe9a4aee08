#include "stringgrid.h"

#include <qdrawutil.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>
#include <algorithm>

namespace {
constexpr int LastRow = TStringGrid::RowCount - 1;
constexpr int CellPitchX = TStringGrid::ColWidth + TStringGrid::GridLineWidth;
constexpr int CellPitchY = TStringGrid::RowHeight + TStringGrid::GridLineWidth;
// Rows wholly inside the client area below the header: the page of Page Up and Page Down.
constexpr int PageRows = 7;
constexpr int WheelNotch = 120;

bool InGrid(int col, int row) {
    return col >= 0 && col < TStringGrid::ColCount && row >= 0 && row < TStringGrid::RowCount;
}

std::size_t Index(int i) {
    return static_cast<std::size_t>(i);
}
}  // namespace

TStringGrid::TStringGrid(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QString TStringGrid::Cell(int col, int row) const {
    return InGrid(col, row) ? cells_[Index(col)][Index(row)] : QString();
}

void TStringGrid::SetCell(int col, int row, const QString& text) {
    if (!InGrid(col, row) || cells_[Index(col)][Index(row)] == text) {
        return;
    }
    cells_[Index(col)][Index(row)] = text;
    update(CellRect(col, row));
}

QObject* TStringGrid::Object(int col, int row) const {
    return InGrid(col, row) ? objects_[Index(col)][Index(row)] : nullptr;
}

void TStringGrid::SetObject(int col, int row, QObject* object) {
    if (InGrid(col, row)) {
        objects_[Index(col)][Index(row)] = object;
    }
}

int TStringGrid::SelectionTop() const {
    return std::min(row_, anchor_);
}
int TStringGrid::SelectionBottom() const {
    return std::max(row_, anchor_);
}

QRect TStringGrid::CellRect(int col, int row) const {
    return {BorderWidth + col * CellPitchX, BorderWidth + row * CellPitchY, ColWidth, RowHeight};
}

// A cell's grid line belongs to it; a point before the first cell counts as the first.
std::pair<int, int> TStringGrid::MouseToCell(QPoint client) const {
    const int col = client.x() < 0 ? 0 : client.x() / CellPitchX;
    const int row = client.y() < 0 ? 0 : client.y() / CellPitchY;
    if (col >= ColCount || row >= RowCount) {
        return {-1, -1};
    }
    return {col, row};
}

bool TStringGrid::MoveCurrent(int col, int row, bool moveAnchor) {
    bool canSelect = true;
    if (OnSelectCell) {
        OnSelectCell(col, row, canSelect);
    }
    if (!canSelect) {
        return false;
    }
    const int oldRow = row_;
    col_ = col;
    row_ = row;
    if (moveAnchor) {
        anchor_ = row;
    }
    update();
    if (row_ != oldRow) {
        emit CurrentRowChanged(row_);
    }
    return true;
}

void TStringGrid::MoveAnchor(int row) {
    if (row != anchor_) {
        anchor_ = row;
        update();
    }
}

void TStringGrid::OnButtonDown(QMouseEvent* event, bool secondOfDouble) {
    if (event->button() != Qt::LeftButton || secondOfDouble) {
        return;
    }
    const auto [col, row] = MouseToCell(event->position().toPoint() - ClientOrigin());
    if (col < FixedCols || row < FixedRows) {
        return;
    }
    selecting_ = true;
    if (event->modifiers().testFlag(Qt::ShiftModifier)) {
        MoveAnchor(row);
    } else {
        MoveCurrent(col, row, true);
    }
}

void TStringGrid::mousePressEvent(QMouseEvent* event) {
    OnButtonDown(event, false);
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    OnButtonDown(event, true);
}

void TStringGrid::mouseMoveEvent(QMouseEvent* event) {
    if (!selecting_ || !event->buttons().testFlag(Qt::LeftButton)) {
        return;
    }
    const auto [col, row] = MouseToCell(event->position().toPoint() - ClientOrigin());
    if (col >= FixedCols && row >= FixedRows) {
        MoveAnchor(row);
    }
}

void TStringGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        selecting_ = false;
    }
    if (OnMouseUp) {
        const QPoint client = event->position().toPoint() - ClientOrigin();
        OnMouseUp(event->button(), event->modifiers(), client.x(), client.y());
    }
}

void TStringGrid::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    int target = row_;
    switch (event->key()) {
        case Qt::Key_Up:
            target = ctrl ? row_ : row_ - 1;
            break;
        case Qt::Key_Down:
            target = ctrl ? row_ : row_ + 1;
            break;
        case Qt::Key_PageUp:
            target = row_ - PageRows;
            break;
        case Qt::Key_PageDown:
            target = row_ + PageRows;
            break;
        case Qt::Key_Home:
            target = FixedRows;
            break;
        case Qt::Key_End:
            target = LastRow;
            break;
        case Qt::Key_Left:
        case Qt::Key_Right:
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    target = std::clamp(target, FixedRows, LastRow);
    if (target != row_) {
        MoveCurrent(col_, target, !event->modifiers().testFlag(Qt::ShiftModifier));
    }
}

void TStringGrid::wheelEvent(QWheelEvent* event) {
    wheelRemainder_ += event->angleDelta().y();
    while (wheelRemainder_ >= WheelNotch || wheelRemainder_ <= -WheelNotch) {
        const int down = wheelRemainder_ < 0 ? 1 : -1;
        wheelRemainder_ += down * WheelNotch;
        const int target = row_ + down;
        if (target >= FixedRows && target <= LastRow) {
            MoveCurrent(col_, target, true);
        }
    }
    event->accept();
}

void TStringGrid::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void TStringGrid::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void TStringGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    qDrawWinPanel(&painter, rect(), pal, true);
    const QRect client = rect().adjusted(BorderWidth, BorderWidth, -BorderWidth, -BorderWidth);
    painter.setClipRect(client);
    // The background of every plain data cell.
    painter.fillRect(client, pal.color(QPalette::Base));

    const QColor fixedLine(Qt::black);
    const QColor dataLine(192, 192, 192);
    for (int row = 0; row < RowCount; ++row) {
        for (int col = 0; col < ColCount; ++col) {
            const QRect cell = CellRect(col, row);
            const bool fixed = col < FixedCols || row < FixedRows;
            const bool selected = !fixed && row >= SelectionTop() && row <= SelectionBottom();
            const QColor line = fixed ? fixedLine : dataLine;
            painter.fillRect(cell.right() + 1, cell.top(), GridLineWidth, CellPitchY, line);
            painter.fillRect(cell.left(), cell.bottom() + 1, CellPitchX, GridLineWidth, line);
            QColor textColour = pal.color(QPalette::Text);
            if (fixed) {
                qDrawShadeRect(&painter, cell, pal, false, 1);
                painter.fillRect(cell.adjusted(1, 1, -1, -1), pal.color(QPalette::Button));
                textColour = pal.color(QPalette::ButtonText);
            } else if (selected) {
                painter.fillRect(cell, pal.color(QPalette::Highlight));
                textColour = pal.color(QPalette::HighlightedText);
            }
            const QString& text = cells_[Index(col)][Index(row)];
            if (!text.isEmpty()) {
                painter.save();
                painter.setClipRect(cell.intersected(client));
                painter.setPen(textColour);
                painter.drawText(cell.adjusted(2, 2, 0, 0),
                                 Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
                painter.restore();
            }
        }
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.backgroundColor = pal.color(QPalette::Highlight);
        const QRect top = CellRect(FixedCols, SelectionTop());
        const QRect bottom = CellRect(ColCount - 1, SelectionBottom());
        focus.rect = top.united(bottom);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}
