#include <gtest/gtest.h>

#include <QApplication>
#include <QDoubleSpinBox>
#include <QFocusEvent>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <algorithm>
#include <cmath>
#include <utility>

#include "app/bounds.h"
#include "studio/controlspanel.h"
#include "studio/designpanel.h"
#include "studio/emitterstable.h"

namespace {

// The studio sets the ground's constants only through its soils, so no control shows them.
constexpr TQuantity kWithoutControl[] = {TQuantity::Permittivity, TQuantity::Conductivity};

// A box stops at each end of its range, or where the end is open or has no double of its own,
// at the nearest value inside: within a step of its last decimal, or a part in 1e15.
void CheckBox(QDoubleSpinBox& box, const TQuantityRange& range) {
    const double resolution = std::pow(10.0, -box.decimals());
    EXPECT_TRUE(box.toolTip().contains(QString::fromStdString(RangeText(range))))
        << box.toolTip().toStdString();
    const auto reach = [&](const TBound& end) {
        box.setValue(static_cast<double>(end.Value));
        const double v = box.value();
        EXPECT_TRUE(range.Contains(v)) << v;
        EXPECT_LE(std::fabs(v - static_cast<double>(end.Value)),
                  std::max(resolution * 1.001, std::fabs(v) * 1e-15));
        return v;
    };
    const double low = reach(range.Low);
    // A lowest value with a name of its own ("none") stands below the range.
    if (box.specialValueText().isEmpty()) {
        EXPECT_EQ(low, box.minimum());
    }
    EXPECT_EQ(reach(range.High), box.maximum());
}

template <typename TWhole>
void CheckWhole(TWhole& control, const TQuantityRange& range) {
    EXPECT_TRUE(control.toolTip().contains(QString::fromStdString(RangeText(range))));
    EXPECT_TRUE(range.Contains(control.minimum()));
    EXPECT_TRUE(range.Contains(control.maximum()));
    EXPECT_FALSE(range.Contains(control.minimum() - 1));
    EXPECT_FALSE(range.Contains(control.maximum() + 1));
}

TEST(StudioBoundsTest, EveryControlOfAQuantityStopsAtTheCommandLinesBounds) {
    TControlsPanel controls;
    TEmittersTable emitters;
    TDesignPanel design;
    for (const TQuantityRange& range : QuantityRanges()) {
        SCOPED_TRACE(range.Name);
        const QString name = QString::fromUtf8(range.Name);
        std::size_t found = 0;
        for (QWidget* panel : std::initializer_list<QWidget*>{&controls, &emitters, &design}) {
            for (auto* box : panel->findChildren<QDoubleSpinBox*>(name)) CheckBox(*box, range);
            for (auto* box : panel->findChildren<QSpinBox*>(name)) CheckWhole(*box, range);
            for (auto* slider : panel->findChildren<QSlider*>(name)) CheckWhole(*slider, range);
            found += static_cast<std::size_t>(panel->findChildren<QWidget*>(name).size());
        }
        const bool shown =
            std::ranges::find(kWithoutControl, range.Quantity) == std::end(kWithoutControl);
        EXPECT_EQ(found > 0, shown);
    }
}

// Each bound of the panel's quantities, set in its box, is the document's value after the edit.
TEST(StudioBoundsTest, TheControlsPanelHandsEachBoundToTheDocument) {
    struct TCase {
        TQuantity Quantity;
        long double (*Read)(const TStudioDocument&);
    };
    const TCase cases[] = {
        {TQuantity::Height, [](const TStudioDocument& d) { return d.Ground.HeightWavelengths; }},
        {TQuantity::Frequency, [](const TStudioDocument& d) { return d.Ground.FrequencyMhz; }},
        {TQuantity::Elevation, [](const TStudioDocument& d) { return d.ElevationDegrees; }},
        {TQuantity::WireLength,
         [](const TStudioDocument& d) { return static_cast<long double>(*d.Wires.Lengths[0]); }},
        {TQuantity::WireRadius,
         [](const TStudioDocument& d) { return static_cast<long double>(*d.Wires.Radius); }},
        {TQuantity::Z0,
         [](const TStudioDocument& d) { return static_cast<long double>(*d.Wires.Z0); }},
    };
    TControlsPanel controls;
    TStudioDocument document = InitialDocument();
    QObject::connect(
        &controls, &TControlsPanel::Edited,
        [&](const QString&, const TControlsPanel::TChange& change, bool) { change(document); });
    for (const TCase& c : cases) {
        const TQuantityRange& range = RangeOf(c.Quantity);
        SCOPED_TRACE(range.Name);
        auto* box = controls.findChild<QDoubleSpinBox*>(QString::fromUtf8(range.Name));
        ASSERT_NE(box, nullptr);
        for (const TBound& end : {range.High, range.Low}) {
            box->setValue(static_cast<double>(end.Value));
            EXPECT_EQ(c.Read(document), static_cast<long double>(box->value()));
            EXPECT_TRUE(range.Contains(c.Read(document)));
        }
    }
}

TEST(StudioBoundsTest, AWireShorterThanTheShortestBecomesTheShortestAndZeroNone) {
    TEmittersTable emitters;
    std::optional<double> edited;
    QObject::connect(&emitters, &TEmittersTable::LengthEdited,
                     [&](int, std::optional<double> length) { edited = length; });
    const double shortest = static_cast<double>(RangeOf(TQuantity::WireLength).Low.Value);
    emitters.LengthBox(3)->setValue(shortest / 2);
    EXPECT_EQ(edited, shortest);
    emitters.LengthBox(3)->setValue(0);
    EXPECT_EQ(edited, std::nullopt);
}

}  // namespace

// The table's one slider follows the cell last chosen: it takes that field's range, moves that
// emitter's value, and a drag on it never jumps to another cell.
TEST(StudioTableSliderTest, TheSharedSliderEditsTheCellLastChosen) {
    TEmittersTable table;
    std::vector<std::pair<int, TEmitterField>> edits;
    std::vector<long double> values;
    QObject::connect(&table, &TEmittersTable::Edited,
                     [&](int emitter, TEmitterField field, long double value, bool) {
                         edits.emplace_back(emitter, field);
                         values.push_back(value);
                     });
    QFocusEvent focus(QEvent::FocusIn);
    QApplication::sendEvent(table.Box(3, TEmitterField::Y), &focus);
    auto* slider = table.findChild<QSlider*>(QStringLiteral("sharedSlider"));
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->maximum(), 128);  // 2 wavelengths in 1/64 steps
    EXPECT_TRUE(table.findChild<QLabel*>(QStringLiteral("sliderCaption"))->text().contains("3"));
    slider->setValue(32);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0], std::make_pair(3, TEmitterField::Y));
    EXPECT_EQ(values[0], 0.5L);

    EXPECT_EQ(table.Slider(2, TEmitterField::Phase), slider);
    EXPECT_EQ(slider->maximum(), 180);
    slider->setSliderDown(true);
    QApplication::sendEvent(table.Box(5, TEmitterField::X), &focus);
    slider->setValue(-90);
    slider->setSliderDown(false);
    EXPECT_EQ(edits.back(), std::make_pair(2, TEmitterField::Phase));
    EXPECT_EQ(values.back(), -90.0L);
}
