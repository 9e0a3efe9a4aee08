#include "studio/feedpanel.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <numbers>

#include "config/messages.h"
#include "model/msgid.h"
#include "studio/feedchart.h"
#include "studio/feedschematic.h"

namespace {

QString Text(const char* msgid) {
    return QString::fromUtf8(Tr(msgid));
}

QDoubleSpinBox* Box(double low, double high, double value, int decimals, const QString& unit) {
    auto* box = new QDoubleSpinBox;
    box->setRange(low, high);
    box->setDecimals(decimals);
    box->setValue(value);
    if (!unit.isEmpty()) box->setSuffix(QStringLiteral(" ") + unit);
    return box;
}

QString UnitOf(const TPart& p) {
    switch (p.Kind) {
        case TPartKind::Inductor:
            return Text(Msgid("µH"));
        case TPartKind::Capacitor:
            return Text(Msgid("pF"));
        case TPartKind::Resistor:
            return Text(Msgid("ohm"));
        case TPartKind::Line:
            return Text(Msgid("degrees"));
        case TPartKind::Source:
            return Text(Msgid("V"));
    }
    return {};
}

}  // namespace

double ShownValue(const TPart& part, double hz) {
    switch (part.Kind) {
        case TPartKind::Inductor:
            return part.Value * 1e6;
        case TPartKind::Capacitor:
            return part.Value * 1e12;
        case TPartKind::Line:
            return LineRadians(part, hz) * 180 / std::numbers::pi;
        case TPartKind::Source:
            return std::abs(part.Volts);
        case TPartKind::Resistor:
            break;
    }
    return part.Value;
}

void SetShownValue(TPart& part, double value, double hz) {
    switch (part.Kind) {
        case TPartKind::Inductor:
            part.Value = value * 1e-6;
            break;
        case TPartKind::Capacitor:
            part.Value = value * 1e-12;
            break;
        case TPartKind::Line:
            // A line keeps its length as wavelengths at the frequency it is shown at.
            part.Wavelengths = value / 360;
            part.AtHz = hz;
            part.DelaySeconds = 0;
            break;
        case TPartKind::Source:
            part.Volts = std::polar(value, std::arg(part.Volts));
            break;
        case TPartKind::Resistor:
            part.Value = value;
            break;
    }
}

TFeedPanel::TFeedPanel(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    MethodBox = new QComboBox;
    MethodBox->addItem(Text(Msgid("current forcing")));
    MethodBox->addItem(Text(Msgid("phasing lines")));
    LineZ0 = Box(1, 1000, 75, 1, Text(Msgid("ohm")));
    Velocity = Box(0.1, 1, 1, 3, {});
    Transmitter = Box(1, 1000, 50, 1, Text(Msgid("ohm")));
    // The two methods' usual lines: 75 ohm to force currents, 50 ohm for phasing lines.
    connect(MethodBox, &QComboBox::currentIndexChanged, this,
            [this](int index) { LineZ0->setValue(index == 0 ? 75 : 50); });
    auto* design = new QPushButton(Text(Msgid("Design")));
    auto* open = new QPushButton(Text(Msgid("Open netlist…")));
    auto* save = new QPushButton(Text(Msgid("Save netlist…")));
    auto* remove = new QPushButton(Text(Msgid("No network")));
    grid->addWidget(new QLabel(Text(Msgid("Method"))), 0, 0);
    grid->addWidget(MethodBox, 0, 1);
    grid->addWidget(design, 0, 2);
    grid->addWidget(new QLabel(Text(Msgid("Line Z0"))), 1, 0);
    grid->addWidget(LineZ0, 1, 1);
    grid->addWidget(open, 1, 2);
    grid->addWidget(new QLabel(Text(Msgid("Velocity factor"))), 2, 0);
    grid->addWidget(Velocity, 2, 1);
    grid->addWidget(save, 2, 2);
    grid->addWidget(new QLabel(Text(Msgid("Transmitter"))), 3, 0);
    grid->addWidget(Transmitter, 3, 1);
    grid->addWidget(remove, 3, 2);
    StatusLine = new QLabel;
    StatusLine->setWordWrap(true);
    grid->addWidget(StatusLine, 4, 0, 1, 3);
    Table = new QTableWidget(0, 5);
    Table->setHorizontalHeaderLabels({Text(Msgid("Part")), Text(Msgid("Nodes")),
                                      Text(Msgid("Value")), Text(Msgid("Unit")),
                                      Text(Msgid("Reactance, ohm / length, m"))});
    Table->verticalHeader()->hide();
    Table->horizontalHeader()->setStretchLastSection(true);
    grid->addWidget(Table, 5, 0, 1, 3);
    Drawing = new TFeedSchematic;
    Drawing->hide();
    grid->addWidget(Drawing, 6, 0, 1, 3);
    Band = new TFeedChart;
    Band->hide();
    grid->addWidget(Band, 7, 0, 1, 3);
    grid->setRowStretch(8, 1);
    connect(design, &QPushButton::clicked, this, [this] { emit DesignAsked(Request()); });
    connect(open, &QPushButton::clicked, this, &TFeedPanel::OpenAsked);
    connect(save, &QPushButton::clicked, this, &TFeedPanel::SaveAsked);
    connect(remove, &QPushButton::clicked, this, &TFeedPanel::RemoveAsked);
    connect(Table, &QTableWidget::cellChanged, this, &TFeedPanel::CellChanged);
}

TFeedDesignRequest TFeedPanel::Request() const {
    TFeedDesignRequest r;
    r.Layout = MethodBox->currentIndex() == 0 ? TFeedLayout::CurrentForcing : TFeedLayout::Lines;
    r.LineZ0 = LineZ0->value();
    r.VelocityFactor = Velocity->value();
    r.TransmitterZ0 = Transmitter->value();
    return r;
}

void TFeedPanel::SetNetwork(std::shared_ptr<const TNetwork> network, double hz) {
    Filling = true;
    Table->setRowCount(0);
    if (network) {
        const auto nodes = [&](const TPart& p) {
            return QString::fromStdString(network->Nodes[static_cast<std::size_t>(p.A)] + ' ' +
                                          network->Nodes[static_cast<std::size_t>(p.B)]);
        };
        Table->setRowCount(static_cast<int>(network->Parts.size()));
        for (int row = 0; row < Table->rowCount(); ++row) {
            const TPart& p = network->Parts[static_cast<std::size_t>(row)];
            const auto fixed = [&](int column, const QString& text) {
                auto* item = new QTableWidgetItem(text);
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
                Table->setItem(row, column, item);
            };
            fixed(0, QString::fromStdString(p.Name));
            fixed(1, nodes(p));
            auto* value = new QTableWidgetItem(QString::number(ShownValue(p, hz), 'g', 6));
            if (p.Kind == TPartKind::Source) value->setFlags(value->flags() & ~Qt::ItemIsEditable);
            Table->setItem(row, kValueColumn, value);
            fixed(3, UnitOf(p));
            QString extra;
            if (p.Kind == TPartKind::Inductor || p.Kind == TPartKind::Capacitor) {
                extra = QString::number(PartReactance(p, hz), 'f', 2);
            } else if (p.Kind == TPartKind::Line) {
                extra = QString::number(LineMetres(p), 'f', 3) + QStringLiteral(" m");
            }
            fixed(4, extra);
        }
    }
    Table->resizeColumnsToContents();
    Filling = false;
    Drawing->SetNetwork(std::move(network), hz);
}

void TFeedPanel::SetSweep(TFeedSweep sweep) {
    Band->SetSweep(std::move(sweep));
}

void TFeedPanel::SetStatus(const QString& text) {
    StatusLine->setText(text);
}

QString TFeedPanel::Status() const {
    return StatusLine->text();
}

void TFeedPanel::CellChanged(int row, int column) {
    if (Filling || column != kValueColumn) return;
    bool ok = false;
    // Either decimal mark: the table writes a full stop, a Russian keyboard types a comma.
    const double value = Table->item(row, column)->text().replace(',', '.').toDouble(&ok);
    // A value that is no positive number is refused: the table shows the part's again.
    if (ok && value > 0) {
        emit PartEdited(row, value);
    } else {
        emit PartEdited(row, -1);
    }
}
