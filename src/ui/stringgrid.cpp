#include "ui/stringgrid.h"

#include <qdrawutil.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>
#include <algorithm>

namespace {
constexpr int kLastRow = TStringGrid::kRowCount - 1;
constexpr int kCellPitchX = TStringGrid::kColWidth + TStringGrid::kGridLineWidth;
constexpr int kCellPitchY = TStringGrid::kRowHeight + TStringGrid::kGridLineWidth;
// Rows wholly inside the client area below the header: the page of Page Up and Page Down.
constexpr int kPageRows = 7;
constexpr int kWheelNotch = 120;

bool InGrid(int col, int row) {
    return col >= 0 && col < TStringGrid::kColCount && row >= 0 && row < TStringGrid::kRowCount;
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
    return InGrid(col, row) ? Cells[Index(col)][Index(row)] : QString();
}

void TStringGrid::SetCell(int col, int row, const QString& text) {
    if (!InGrid(col, row) || Cells[Index(col)][Index(row)] == text) {
        return;
    }
    Cells[Index(col)][Index(row)] = text;
    update(CellRect(col, row));
}

QObject* TStringGrid::Object(int col, int row) const {
    return InGrid(col, row) ? Objects[Index(col)][Index(row)] : nullptr;
}

void TStringGrid::SetObject(int col, int row, QObject* object) {
    if (InGrid(col, row)) {
        Objects[Index(col)][Index(row)] = object;
    }
}

int TStringGrid::SelectionTop() const {
    return std::min(CurrentRow, Anchor);
}
int TStringGrid::SelectionBottom() const {
    return std::max(CurrentRow, Anchor);
}

QRect TStringGrid::CellRect(int col, int row) const {
    return {kBorderWidth + col * kCellPitchX, kBorderWidth + row * kCellPitchY, kColWidth,
            kRowHeight};
}

// A cell's grid line belongs to it; a point before the first cell counts as the first.
std::pair<int, int> TStringGrid::MouseToCell(QPoint client) const {
    const int col = client.x() < 0 ? 0 : client.x() / kCellPitchX;
    const int row = client.y() < 0 ? 0 : client.y() / kCellPitchY;
    if (col >= kColCount || row >= kRowCount) {
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
    const int oldRow = CurrentRow;
    CurrentCol = col;
    CurrentRow = row;
    if (moveAnchor) {
        Anchor = row;
    }
    update();
    if (CurrentRow != oldRow) {
        emit CurrentRowChanged(CurrentRow);
    }
    return true;
}

void TStringGrid::MoveAnchor(int row) {
    if (row != Anchor) {
        Anchor = row;
        update();
    }
}

void TStringGrid::OnButtonDown(QMouseEvent* event, bool secondOfDouble) {
    if (event->button() != Qt::LeftButton || secondOfDouble) {
        return;
    }
    const auto [col, row] = MouseToCell(event->position().toPoint() - ClientOrigin());
    if (col < kFixedCols || row < kFixedRows) {
        return;
    }
    Selecting = true;
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
    if (!Selecting || !event->buttons().testFlag(Qt::LeftButton)) {
        return;
    }
    const auto [col, row] = MouseToCell(event->position().toPoint() - ClientOrigin());
    if (col >= kFixedCols && row >= kFixedRows) {
        MoveAnchor(row);
    }
}

void TStringGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Selecting = false;
    }
    if (OnMouseUp) {
        const QPoint client = event->position().toPoint() - ClientOrigin();
        OnMouseUp(event->button(), event->modifiers(), client.x(), client.y());
    }
}

void TStringGrid::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    int target = CurrentRow;
    switch (event->key()) {
        case Qt::Key_Up:
            target = ctrl ? CurrentRow : CurrentRow - 1;
            break;
        case Qt::Key_Down:
            target = ctrl ? CurrentRow : CurrentRow + 1;
            break;
        case Qt::Key_PageUp:
            target = CurrentRow - kPageRows;
            break;
        case Qt::Key_PageDown:
            target = CurrentRow + kPageRows;
            break;
        case Qt::Key_Home:
            target = kFixedRows;
            break;
        case Qt::Key_End:
            target = kLastRow;
            break;
        case Qt::Key_Left:
        case Qt::Key_Right:
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    target = std::clamp(target, kFixedRows, kLastRow);
    if (target != CurrentRow) {
        MoveCurrent(CurrentCol, target, !event->modifiers().testFlag(Qt::ShiftModifier));
    }
}

void TStringGrid::wheelEvent(QWheelEvent* event) {
    WheelRemainder += event->angleDelta().y();
    while (WheelRemainder >= kWheelNotch || WheelRemainder <= -kWheelNotch) {
        const int down = WheelRemainder < 0 ? 1 : -1;
        WheelRemainder += down * kWheelNotch;
        const int target = CurrentRow + down;
        if (target >= kFixedRows && target <= kLastRow) {
            MoveCurrent(CurrentCol, target, true);
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
    const QRect client = rect().adjusted(kBorderWidth, kBorderWidth, -kBorderWidth, -kBorderWidth);
    painter.setClipRect(client);
    // The background of every plain data cell.
    painter.fillRect(client, pal.color(QPalette::Base));

    const QColor fixedLine(Qt::black);
    const QColor dataLine(192, 192, 192);
    for (int row = 0; row < kRowCount; ++row) {
        for (int col = 0; col < kColCount; ++col) {
            const QRect cell = CellRect(col, row);
            const bool fixed = col < kFixedCols || row < kFixedRows;
            const bool selected = !fixed && row >= SelectionTop() && row <= SelectionBottom();
            const QColor line = fixed ? fixedLine : dataLine;
            painter.fillRect(cell.right() + 1, cell.top(), kGridLineWidth, kCellPitchY, line);
            painter.fillRect(cell.left(), cell.bottom() + 1, kCellPitchX, kGridLineWidth, line);
            QColor textColour = pal.color(QPalette::Text);
            if (fixed) {
                qDrawShadeRect(&painter, cell, pal, false, 1);
                painter.fillRect(cell.adjusted(1, 1, -1, -1), pal.color(QPalette::Button));
                textColour = pal.color(QPalette::ButtonText);
            } else if (selected) {
                painter.fillRect(cell, pal.color(QPalette::Highlight));
                textColour = pal.color(QPalette::HighlightedText);
            }
            const QString& text = Cells[Index(col)][Index(row)];
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
        const QRect top = CellRect(kFixedCols, SelectionTop());
        const QRect bottom = CellRect(kColCount - 1, SelectionBottom());
        focus.rect = top.united(bottom);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}
