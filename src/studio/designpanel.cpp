#include "studio/designpanel.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "config/messages.h"
#include "model/msgid.h"
#include "studio/quantitybox.h"

namespace {

QString Text(const char* msgid) {
    return QString::fromUtf8(Tr(msgid));
}

constexpr const char* kTaperTitles[] = {Msgid("uniform"), Msgid("binomial"), Msgid("Chebyshev"),
                                        Msgid("Taylor")};
constexpr TDesignGoal kGoals[] = {TDesignGoal::MaxDirectivity, TDesignGoal::FrontToBack,
                                  TDesignGoal::FrontToRear};
constexpr const char* kGoalTitles[] = {Msgid("max directivity"), Msgid("front-to-back"),
                                       Msgid("front-to-rear")};

}  // namespace

TDesignPanel::TDesignPanel(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    BearingBox = new QSpinBox;
    ApplyRange(BearingBox, TQuantity::Bearing);
    BearingBox->setWrapping(true);
    BearingBox->setSuffix(QStringLiteral("°"));
    auto* steer = new QPushButton(Text(Msgid("Steer")));
    grid->addWidget(new QLabel(Text(Msgid("Bearing"))), 0, 0);
    grid->addWidget(BearingBox, 0, 1);
    grid->addWidget(steer, 0, 2);

    TaperKind = new QComboBox;
    for (const char* title : kTaperTitles) TaperKind->addItem(Text(title));
    TaperKind->setCurrentIndex(2);
    Level = QuantityBox(TQuantity::SidelobeLevel, 1, 1);
    Level->setValue(-30);
    Level->setSuffix(QStringLiteral(" ") + Text(Msgid("dB")));
    ApplyTaper = new QPushButton(Text(Msgid("Taper")));
    grid->addWidget(TaperKind, 1, 0);
    grid->addWidget(Level, 1, 1);
    grid->addWidget(ApplyTaper, 1, 2);

    Goal = new QComboBox;
    for (const char* title : kGoalTitles) Goal->addItem(Text(title));
    ApplyDesign = new QPushButton(Text(Msgid("Design")));
    Nulls = new QPushButton(Text(Msgid("Place nulls")));
    Nulls->setCheckable(true);
    Nulls->setToolTip(
        Text(Msgid("Each click on the polar chart adds a null there, or removes "
                   "the one near it; the design follows at once.")));
    grid->addWidget(Goal, 2, 0);
    grid->addWidget(ApplyDesign, 2, 1);
    grid->addWidget(Nulls, 2, 2);

    Hold = new QPushButton(Text(Msgid("Hold as reference")));
    Hold->setCheckable(true);
    OutcomeLabel = new QLabel;
    OutcomeLabel->setWordWrap(true);
    OutcomeLabel->setAutoFillBackground(true);
    grid->addWidget(Hold, 3, 0, 1, 3);
    grid->addWidget(OutcomeLabel, 4, 0, 1, 3);

    connect(steer, &QPushButton::clicked, this, [this] { emit SteerAsked(Bearing()); });
    connect(ApplyTaper, &QPushButton::clicked, this, [this] {
        TTaper taper;
        taper.Kind = kTaperKindNames[TaperKind->currentIndex()].Value;
        taper.SidelobeDb = static_cast<long double>(Level->value());
        emit TaperAsked(taper);
    });
    connect(ApplyDesign, &QPushButton::clicked, this,
            [this] { emit DesignAsked(kGoals[Goal->currentIndex()], Bearing()); });
    connect(Nulls, &QPushButton::toggled, this, &TDesignPanel::NullModeChanged);
    connect(Hold, &QPushButton::toggled, this, &TDesignPanel::HoldAsked);
}

int TDesignPanel::Bearing() const {
    return BearingBox->value();
}

void TDesignPanel::SetBearing(int bearing) {
    BearingBox->setValue(bearing);
}

bool TDesignPanel::PlacingNulls() const {
    return Nulls->isChecked();
}

void TDesignPanel::SetOutcome(const QString& message) {
    OutcomeText = message;
    OutcomeLabel->setText(message);
}

void TDesignPanel::SetReferenceHeld(bool held) {
    const QSignalBlocker quiet(Hold);
    Hold->setChecked(held);
}
