#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <QWindow>
#include <memory>

#include "config/numtext.h"
#include "decimalmark_scope.h"
#include "fakedialogs.h"
#include "ui/stringgrid.h"
#include "ui/unit1.h"
#include "ui/updown.h"

// One shown window with fake dialogs, under a comma as the decimal mark, driven through the
// window's own hit-testing as a user's pointer would.
class FormTest : public testing::Test {
  protected:
    void SetUp() override {
        Form = std::make_unique<TForm1>(Dialogs);
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
        Form->RedrawCount = 0;
    }
    void TearDown() override { Form.reset(); }

    QPoint InWindow(const QWidget* widget, QPoint local) const {
        return widget->mapTo(Form.get(), local);
    }
    void Click(const QWidget* widget, QPoint local, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(Form->windowHandle(), button, modifiers, InWindow(widget, local));
    }
    void ClickCentre(const QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
        Click(widget, widget->rect().center(), button);
    }
    // One press and release on the increasing (+1) or decreasing (-1) arrow.
    void ClickArrow(const TUpDown* spin, int direction, Qt::MouseButton button = Qt::LeftButton) {
        const QRect r = spin->rect();
        QPoint p = r.center();
        if (spin->Orientation() == Qt::Horizontal) {
            p.setX(direction > 0 ? r.right() - 3 : r.left() + 3);
        } else {
            p.setY(direction > 0 ? r.top() + 3 : r.bottom() - 3);
        }
        Click(spin, p, button);
    }
    void ClickCell(int col, int row, Qt::MouseButton button = Qt::LeftButton,
                   Qt::KeyboardModifiers modifiers = {}) {
        Click(Form->StringGrid1, Form->StringGrid1->CellRect(col, row).center(), button, modifiers);
    }
    QString Cell(int col, int row) const { return Form->StringGrid1->Cell(col, row); }
    std::string CellText(int col, int row) const { return Cell(col, row).toStdString(); }

    TDecimalMarkScope Comma;
    TFakeDialogs Dialogs;
    std::unique_ptr<TForm1> Form;
};
