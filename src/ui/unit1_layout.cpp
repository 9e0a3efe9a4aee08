#include <QLineEdit>
#include <limits>

#include "plot/qt/qtfonts.h"
#include "ui/checkbox.h"
#include "ui/label.h"
#include "ui/radiogroup.h"
#include "ui/speedbutton.h"
#include "ui/statictext.h"
#include "ui/stringgrid.h"
#include "ui/trackbar.h"
#include "ui/unit1.h"
#include "ui/updown.h"

namespace {

template <class W>
W* Place(W* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

TStaticText* Caption(QWidget* parent, const char* name, const char* text, int left, int top,
                     int width) {
    return Place(new TStaticText(QString::fromUtf8(text), parent), name, left, top, width, 17);
}

TUpDown* Spin(QWidget* parent, const char* name, Qt::Orientation orientation, int left, int top,
              int width, int height) {
    auto* spin = Place(new TUpDown(orientation, parent), name, left, top, width, height);
    spin->SetRange(-64, 64);
    spin->SetWrap(true);
    return spin;
}

}  // namespace

void TForm1::CreateControls() {
    Label1 = Place(new TLabel(QString::fromUtf8("Угол места"), this), "Label1", 797, 589, 59, 13);
    Label1->SetAlignRight(true);

    Image1 = Place(new TImage(this), "Image1", 275, 2, 880, 880);
    Image1->hide();

    TrackBar1 = Place(new TTrackBar(this), "TrackBar1", 821, 448, 33, 140);
    TrackBar1->SetPosition(17);

    StringGrid1 = Place(new TStringGrid(this), "StringGrid1", 0, 105, 260, 156);

    for (int k = 1; k <= kEmitterCount; ++k) {
        auto* box = new TCheckBox(QString(8, QLatin1Char(' ')) + QString::number(k), this);
        const QByteArray name = "CheckBox" + QByteArray::number(k);
        Place(box, name.constData(), 3, 124 + 17 * (k - 1), 60, 16);
        box->SetTextLeft(true);
        box->setChecked(k <= 4);
        EmitterBoxes[static_cast<unsigned>(k - 1)] = box;
    }
    CheckBox1 = EmitterBoxes[0];
    CheckBox2 = EmitterBoxes[1];
    CheckBox3 = EmitterBoxes[2];
    CheckBox4 = EmitterBoxes[3];
    CheckBox5 = EmitterBoxes[4];
    CheckBox6 = EmitterBoxes[5];
    CheckBox7 = EmitterBoxes[6];
    CheckBox8 = EmitterBoxes[7];

    UpDown1 = Spin(this, "UpDown1", Qt::Horizontal, 66, 271, 25, 17);
    UpDown2 = Spin(this, "UpDown2", Qt::Vertical, 133, 267, 17, 25);
    UpDown3 = Spin(this, "UpDown3", Qt::Vertical, 201, 267, 17, 25);

    Panel1 = Place(new QWidget(this), "Panel1", -1, 312, 281, 287);
    CreatePanelControls();

    const QStringList types{QString::fromUtf8("Всенаправленные"),
                            QString::fromUtf8("Вертикальные вибраторы"),
                            QString::fromUtf8("Горизонтальные вибраторы (С--Ю)"),
                            QString::fromUtf8("Горизонтальные вибраторы (З--В)")};
    RadioGroup1 = Place(new TRadioGroup(QString::fromUtf8("Излучатели"), types, this),
                        "RadioGroup1", 0, 3, 260, 104);
    RadioGroup1->SetItemIndex(etOmni);

    StaticText4 =
        Caption(this, "StaticText4", "Единица отсчета координат и фазы - длина волны", 1, 294, 259);
    StaticText1 = Caption(this, "StaticText1", "Запад", 32, 273, 35);
    StaticText2 = Caption(this, "StaticText2", "Восток", 93, 273, 40);
    StaticText3 = Caption(this, "StaticText3", "Север", 152, 267, 35);
    StaticText10 = Caption(this, "StaticText10", "Юг", 152, 280, 18);
    StaticText11 = Caption(this, "StaticText11", "Больше", 219, 267, 43);
    StaticText12 = Caption(this, "StaticText12", "Меньше", 219, 280, 45);

    SetTabOrder();
}

void TForm1::CreatePanelControls() {
    Label4 = Place(new TLabel(QString::fromUtf8("Максимальное усиление  "), Panel1), "Label4", 152,
                   250, 133, 13);
    Label5 = Place(new TLabel(QStringLiteral("0"), Panel1), "Label5", 152, 273, 6, 13);

    SpeedButton4 = Place(new TSpeedButton(TSpeedButton::TPicture::Load, Panel1), "SpeedButton4", 8,
                         33, 24, 23);
    SpeedButton5 = Place(new TSpeedButton(TSpeedButton::TPicture::Save, Panel1), "SpeedButton5", 8,
                         57, 24, 23);
    SpeedButton6 = Place(new TSpeedButton(TSpeedButton::TPicture::Export, Panel1), "SpeedButton6",
                         8, 81, 24, 23);
    SpeedButton6->SetFlat(true);

    StaticText5 = Caption(Panel1, "StaticText5", "Максимальное усиление ", 4, 249, 134);
    StaticText6 = Caption(Panel1, "StaticText6", "В направлении, град. ", 4, 271, 115);

    UpDown4 = Place(new TUpDown(Qt::Vertical, Panel1), "UpDown4", 245, 5, 17, 21);
    UpDown4->SetRange(0, 359);
    UpDown4->SetWrap(true);

    Edit1 = Place(new QLineEdit(QStringLiteral("0"), Panel1), "Edit1", 212, 5, 33, 21);
    Edit1->setMaxLength(std::numeric_limits<int>::max());
    UpDown4->SetAssociate(Edit1);

    CheckBox9 =
        Place(new TCheckBox(QString::fromUtf8("Сфокусировать в направлении, град."), Panel1),
              "CheckBox9", 4, 7, 212, 17);

    StaticText7 = Caption(Panel1, "StaticText7", "Загрузить конфигурацию из файла", 41, 38, 183);
    StaticText8 = Caption(Panel1, "StaticText8", "Записать диаграмму в файл", 41, 86, 149);
    StaticText9 = Caption(Panel1, "StaticText9", "Сохранить конфигурацию в файле", 41, 61, 178);
}

// Tab visits the slider, the grid, the emitter boxes, the bearing box, the focusing box and
// the type group; spins, picture buttons and captions take no focus at all.
void TForm1::SetTabOrder() {
    QList<QWidget*> chain{TrackBar1, StringGrid1};
    for (TCheckBox* box : EmitterBoxes) chain.append(box);
    chain.append({Edit1, CheckBox9, RadioGroup1});
    for (qsizetype i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

void TForm1::WireEvents() {
    connect(TrackBar1, &TTrackBar::Change, this, &TForm1::TrackBar1Change);
    StringGrid1->OnSelectCell = [this](int acol, int arow, bool& canSelect) {
        StringGrid1SelectCell(acol, arow, canSelect);
    };
    StringGrid1->OnMouseUp = [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                                    int y) { StringGrid1MouseUp(button, shift, x, y); };
    connect(StringGrid1, &TStringGrid::CurrentRowChanged, this, &TForm1::StringGrid1RowChanged);
    connect(UpDown1, &TUpDown::MouseUp, this, &TForm1::UpDown1MouseUp);
    connect(UpDown2, &TUpDown::MouseUp, this, &TForm1::UpDown2MouseUp);
    connect(UpDown3, &TUpDown::MouseUp, this, &TForm1::UpDown3MouseUp);
    using THandler = void (TForm1::*)();
    static constexpr std::array<THandler, kEmitterCount> kBoxHandlers{
        &TForm1::CheckBox1Click, &TForm1::CheckBox2Click, &TForm1::CheckBox3Click,
        &TForm1::CheckBox4Click, &TForm1::CheckBox5Click, &TForm1::CheckBox6Click,
        &TForm1::CheckBox7Click, &TForm1::CheckBox8Click};
    for (int k = 1; k <= kEmitterCount; ++k) {
        connect(EmitterBox(k), &TCheckBox::toggled, this,
                kBoxHandlers[static_cast<unsigned>(k - 1)]);
    }
    connect(RadioGroup1, &TRadioGroup::Click, this, &TForm1::RadioGroup1Click);
    connect(CheckBox9, &TCheckBox::toggled, this, &TForm1::CheckBox9Click);
    connect(Edit1, &QLineEdit::textChanged, this, &TForm1::CheckBox9Click);
    connect(SpeedButton4, &TSpeedButton::clicked, this, &TForm1::SpeedButton1Click);
    connect(SpeedButton5, &TSpeedButton::clicked, this, &TForm1::SpeedButton2Click);
    connect(SpeedButton6, &TSpeedButton::clicked, this, &TForm1::SpeedButton3Click);
    connect(StaticText7, &TStaticText::Clicked, this, &TForm1::BitBtn1Click);
    connect(StaticText9, &TStaticText::Clicked, this, &TForm1::BitBtn2Click);
    connect(StaticText8, &TStaticText::Clicked, this, &TForm1::BitBtn3Click);
}
