#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <utility>

// The emitter grid: 4 columns by 9 rows of fixed-size cells, fixed header row and column,
// whole-row selection with range extension, display-only cells, no scroll bars.
//
// Coordinates: CellRect is in widget coordinates (the sunken border included); MouseToCell and
// OnMouseUp use client coordinates, whose origin lies kBorderWidth pixels inside the border.
class TStringGrid : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kColCount = 4;
    static constexpr int kRowCount = 9;
    static constexpr int kFixedCols = 1;
    static constexpr int kFixedRows = 1;
    static constexpr int kColWidth = 64;   // pixels
    static constexpr int kRowHeight = 16;  // pixels
    static constexpr int kGridLineWidth = 1;
    static constexpr int kBorderWidth = 2;

    explicit TStringGrid(QWidget* parent = nullptr);

    QString Cell(int col, int row) const;
    // Out-of-range cells are ignored. Raises nothing.
    void SetCell(int col, int row, const QString& text);
    QObject* Object(int col, int row) const;
    void SetObject(int col, int row, QObject* object);

    int Col() const { return CurrentCol; }
    int Row() const { return CurrentRow; }
    int SelectionTop() const;
    int SelectionBottom() const;

    QRect CellRect(int col, int row) const;
    static QPoint ClientOrigin() { return {kBorderWidth, kBorderWidth}; }
    // (col, row) of a client point: left of the grid is column 0, above it row 0; right of or
    // below the last cell is (-1, -1).
    std::pair<int, int> MouseToCell(QPoint client) const;

    // Raised before a data cell becomes current; leaving canSelect false keeps the old cell.
    std::function<void(int acol, int arow, bool& canSelect)> OnSelectCell;
    // Raised on the release of any button pressed on the grid; x, y in client coordinates.
    std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y)>
        OnMouseUp;

  signals:
    void CurrentRowChanged(int row);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    bool MoveCurrent(int col, int row, bool moveAnchor);
    void MoveAnchor(int row);
    void OnButtonDown(QMouseEvent* event, bool secondOfDouble);

    std::array<std::array<QString, kRowCount>, kColCount> Cells;
    std::array<std::array<QObject*, kRowCount>, kColCount> Objects{};
    int CurrentCol = kFixedCols;
    int CurrentRow = kFixedRows;
    int Anchor = kFixedRows;
    bool Selecting = false;
    int WheelRemainder = 0;
};
