#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "app/version.h"
#include "form/clientsize.h"
#include "form_fixture.h"
#include "plot/qt/qtfonts.h"
#include "ui/checkbox.h"
#include "ui/label.h"
#include "ui/radiogroup.h"
#include "ui/speedbutton.h"
#include "ui/statictext.h"
#include "ui/trackbar.h"

namespace {

QString TextOf(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(w)) return group->title();
    if (auto* edit = qobject_cast<const QLineEdit*>(w)) return edit->text();
    return {};
}

struct TPlacement {
    const char* Name;
    const char* Parent;
    int Left, Top, Width, Height;
    const char* Text;
};

// The layout as designed; labels fit their width to the font, so only their anchored edge,
// top and height are fixed.
const TPlacement kLayout[] = {
    {"Image1", "Form1", 275, 2, 880, 880, ""},
    {"TrackBar1", "Form1", 821, 448, 33, 140, ""},
    {"StringGrid1", "Form1", 0, 105, 260, 156, ""},
    {"CheckBox1", "Form1", 3, 124, 60, 16, "        1"},
    {"CheckBox2", "Form1", 3, 141, 60, 16, "        2"},
    {"CheckBox3", "Form1", 3, 158, 60, 16, "        3"},
    {"CheckBox4", "Form1", 3, 175, 60, 16, "        4"},
    {"CheckBox5", "Form1", 3, 192, 60, 16, "        5"},
    {"CheckBox6", "Form1", 3, 209, 60, 16, "        6"},
    {"CheckBox7", "Form1", 3, 226, 60, 16, "        7"},
    {"CheckBox8", "Form1", 3, 243, 60, 16, "        8"},
    {"UpDown1", "Form1", 66, 271, 25, 17, ""},
    {"UpDown2", "Form1", 133, 267, 17, 25, ""},
    {"UpDown3", "Form1", 201, 267, 17, 25, ""},
    {"Panel1", "Form1", -1, 312, 281, 287, ""},
    {"SpeedButton4", "Panel1", 8, 33, 24, 23, ""},
    {"SpeedButton5", "Panel1", 8, 57, 24, 23, ""},
    {"SpeedButton6", "Panel1", 8, 81, 24, 23, ""},
    {"StaticText5", "Panel1", 4, 249, 134, 17, "Максимальное усиление "},
    {"StaticText6", "Panel1", 4, 271, 115, 17, "В направлении, град. "},
    {"UpDown4", "Panel1", 245, 5, 17, 21, ""},
    {"Edit1", "Panel1", 212, 5, 33, 21, "0"},
    {"CheckBox9", "Panel1", 4, 7, 212, 17, "Сфокусировать в направлении, град."},
    {"StaticText7", "Panel1", 41, 38, 183, 17, "Загрузить конфигурацию из файла"},
    {"StaticText8", "Panel1", 41, 86, 149, 17, "Записать диаграмму в файл"},
    {"StaticText9", "Panel1", 41, 61, 178, 17, "Сохранить конфигурацию в файле"},
    {"RadioGroup1", "Form1", 0, 3, 260, 104, "Излучатели"},
    {"StaticText4", "Form1", 1, 294, 259, 17, "Единица отсчета координат и фазы - длина волны"},
    {"StaticText1", "Form1", 32, 273, 35, 17, "Запад"},
    {"StaticText2", "Form1", 93, 273, 40, 17, "Восток"},
    {"StaticText3", "Form1", 152, 267, 35, 17, "Север"},
    {"StaticText10", "Form1", 152, 280, 18, 17, "Юг"},
    {"StaticText11", "Form1", 219, 267, 43, 17, "Больше"},
    {"StaticText12", "Form1", 219, 280, 45, 17, "Меньше"},
};

struct TLabelPlacement {
    const char* Name;
    const char* Parent;
    int AnchorX;  // right edge (exclusive) for Label1, left edge for the others
    int Top;
    const char* Text;
};

const TLabelPlacement kLabels[] = {
    {"Label1", "Form1", 856, 589, "Угол места"},
    {"Label4", "Panel1", 152, 250, "Максимальное усиление  "},
    {"Label5", "Panel1", 152, 273, "0"},
};

class FormLayoutTest : public testing::Test {
  protected:
    void SetUp() override { Form = std::make_unique<TForm1>(Dialogs); }

    TDecimalMarkScope Comma;
    TFakeDialogs Dialogs;
    std::unique_ptr<TForm1> Form;
};

}  // namespace

TEST_F(FormLayoutTest, WindowIsFixedSizedAtItsPlaceWithVersionTitle) {
    EXPECT_EQ(Form->size(), QSize(kClientWidth, kClientHeight));
    EXPECT_EQ(Form->minimumSize(), QSize(kClientWidth, kClientHeight));
    EXPECT_EQ(Form->maximumSize(), QSize(kClientWidth, kClientHeight));
    EXPECT_EQ(Form->pos(), QPoint(200, 225));
    const Qt::WindowFlags flags = Form->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_EQ(Form->windowTitle().toStdString(),
              "Диаграмма направленности антенной решетки (v. " ARRAYPATTERN_VERSION_TEXT ")");
}

TEST_F(FormLayoutTest, EveryControlHasItsNameParentPlaceAndText) {
    for (const TPlacement& p : kLayout) {
        SCOPED_TRACE(p.Name);
        auto* w = Form->findChild<QWidget*>(QString::fromLatin1(p.Name));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget()->objectName().toStdString(), p.Parent);
        EXPECT_EQ(w->geometry(), QRect(p.Left, p.Top, p.Width, p.Height));
        EXPECT_EQ(TextOf(w).toStdString(), p.Text);
        EXPECT_EQ(w->font().family(), SansSerif11().family());
    }
    for (const TLabelPlacement& p : kLabels) {
        SCOPED_TRACE(p.Name);
        auto* label = Form->findChild<TLabel*>(QString::fromLatin1(p.Name));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->parentWidget()->objectName().toStdString(), p.Parent);
        const QRect g = label->geometry();
        EXPECT_EQ(label->AlignRight() ? g.right() + 1 : g.left(), p.AnchorX);
        EXPECT_EQ(g.top(), p.Top);
        EXPECT_EQ(g.height(), 13);
        EXPECT_EQ(label->Text().toStdString(), p.Text);
    }
}

TEST_F(FormLayoutTest, ControlsStartWithTheirRangesAndStates) {
    EXPECT_EQ(Form->TrackBar1->Min(), 0);
    EXPECT_EQ(Form->TrackBar1->Max(), 17);
    EXPECT_EQ(Form->TrackBar1->Position(), 17);
    for (TUpDown* spin : {Form->UpDown1, Form->UpDown2, Form->UpDown3}) {
        EXPECT_EQ(spin->Min(), -64);
        EXPECT_EQ(spin->Max(), 64);
        EXPECT_TRUE(spin->Wrap());
    }
    EXPECT_EQ(Form->UpDown1->Orientation(), Qt::Horizontal);
    EXPECT_EQ(Form->UpDown2->Orientation(), Qt::Vertical);
    EXPECT_EQ(Form->UpDown4->Min(), 0);
    EXPECT_EQ(Form->UpDown4->Max(), 359);
    EXPECT_EQ(Form->UpDown4->Position(), 0);
    EXPECT_EQ(Form->UpDown4->Associate(), Form->Edit1);
    EXPECT_FALSE(Form->CheckBox9->isChecked());
    EXPECT_TRUE(Form->SpeedButton6->Flat());
    EXPECT_FALSE(Form->SpeedButton4->Flat());
    EXPECT_EQ(Form->RadioGroup1->ItemIndex(), 0);
    const char* types[] = {"Всенаправленные", "Вертикальные вибраторы",
                           "Горизонтальные вибраторы (С--Ю)", "Горизонтальные вибраторы (З--В)"};
    ASSERT_EQ(Form->RadioGroup1->Count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Form->RadioGroup1->Button(i)->text().toStdString(), types[i]);
    }
    for (int k = 1; k <= 8; ++k) {
        EXPECT_EQ(Form->EmitterBox(k)->isChecked(), k <= 4) << k;
        EXPECT_TRUE(Form->EmitterBox(k)->TextLeft());
    }
    EXPECT_TRUE(Form->Image1->isHidden());
    EXPECT_FALSE(Form->UpDown3->isHidden());
    EXPECT_FALSE(Form->StaticText11->isHidden());
    EXPECT_FALSE(Form->StaticText12->isHidden());
}

TEST_F(FormLayoutTest, StartUpFillsTableGridAndSpins) {
    const char* expected[9][4] = {
        {"   №, сост.", " X", " Y", " Фаза"},
        {"", "0,25", "0,25", "0"},
        {"", "-0,25", "0,25", "-0,353553390593274"},
        {"", "0,25", "-0,25", "-0,353553390593274"},
        {"", "-0,25", "-0,25", "-0,707106781186548"},
        {"", "0", "0", "0"},
        {"", "0", "0", "0"},
        {"", "0", "0", "0"},
        {"", "0", "0", "0"},
    };
    for (int row = 0; row < 9; ++row) {
        for (int col = 0; col < 4; ++col) {
            EXPECT_EQ(Form->StringGrid1->Cell(col, row).toStdString(), expected[row][col])
                << col << "," << row;
        }
    }
    for (int k = 1; k <= 8; ++k) {
        EXPECT_EQ(Form->StringGrid1->Object(0, k), Form->EmitterBox(k));
        EXPECT_EQ(Form->Model.Emitter(k).Enabled, k <= 4);
    }
    EXPECT_EQ(Form->UpDown1->Position(), 16);
    EXPECT_EQ(Form->UpDown2->Position(), 16);
    EXPECT_EQ(Form->UpDown3->Position(), 0);
    EXPECT_EQ(Form->Model.SelectedRow, 1);
    EXPECT_EQ(Form->StringGrid1->Row(), 1);
    EXPECT_EQ(Form->Model.EnabledCount(), 4);
    EXPECT_EQ(Form->RedrawCount, 0);
}

TEST_F(FormLayoutTest, EmitterBoxesCoverTheFixedCellsOfTheirRows) {
    for (int k = 1; k <= 8; ++k) {
        const QRect box = Form->EmitterBox(k)->geometry();
        const QRect cell = Form->StringGrid1->CellRect(0, k).translated(Form->StringGrid1->pos());
        EXPECT_EQ(box.top(), cell.top()) << k;
        EXPECT_GE(box.left(), cell.left()) << k;
        EXPECT_LE(box.right(), cell.right()) << k;
    }
}

TEST_F(FormTest, TabVisitsOnlyTheKeyboardControlsInOrder) {
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    EXPECT_EQ(QApplication::focusWidget(), Form->TrackBar1);
    std::vector<QWidget*> expected{Form->StringGrid1};
    for (int k = 1; k <= 8; ++k) expected.push_back(Form->EmitterBox(k));
    expected.push_back(Form->Edit1);
    expected.push_back(Form->CheckBox9);
    expected.push_back(Form->RadioGroup1->Button(0));
    expected.push_back(Form->TrackBar1);
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
}

TEST_F(FormTest, FirstPaintWritesTheThreeReadOuts) {
    EXPECT_EQ(Form->Label1->Text().toStdString(), "Угол места 0 град.");
    EXPECT_EQ(Form->Label4->Text().toStdString(), "4,000  (6,02 дБ)");
    EXPECT_EQ(Form->Label5->Text().toStdString(), "45");
    EXPECT_TRUE(Form->Image1->HasPicture());
}

TEST_F(FormTest, ElevationLabelKeepsItsRightEdgeAsItsTextGrows) {
    const int shortWidth = Form->Label1->width();
    Form->TrackBar1->setFocus();
    QTest::keyClick(Form->TrackBar1, Qt::Key_Home);
    EXPECT_EQ(Form->Label1->Text().toStdString(), "Угол места 85 град.");
    EXPECT_GT(Form->Label1->width(), shortWidth);
    EXPECT_EQ(Form->Label1->geometry().right() + 1, 856);
    EXPECT_EQ(Form->Label4->geometry().left(), 152);
    EXPECT_EQ(Form->Label5->geometry().left(), 152);
}

namespace {

bool HasColourNear(const QImage& image, QPoint centre, int reach, QColor colour) {
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            if (image.pixelColor(centre + QPoint(dx, dy)) == colour) return true;
        }
    }
    return false;
}

}  // namespace

TEST_F(FormTest, PaintedWindowShowsTheLobeTowardsBearing45AndFourMarkers) {
    const QImage image = Form->grab().toImage();
    const QColor red(255, 0, 0), blue(0, 0, 255);
    for (QPoint marker : {QPoint(714, 163), QPoint(434, 163), QPoint(714, 443), QPoint(434, 443)}) {
        EXPECT_TRUE(HasColourNear(image, marker + QPoint(8, 0), 1, red)) << marker.x();
        EXPECT_TRUE(HasColourNear(image, marker - QPoint(8, 0), 1, red)) << marker.x();
    }
    EXPECT_TRUE(HasColourNear(image, QPoint(772, 105), 2, blue));
    // The opposite bearing, 225, has no lobe reaching the outer ring.
    EXPECT_FALSE(HasColourNear(image, QPoint(376, 501), 4, blue));
}
