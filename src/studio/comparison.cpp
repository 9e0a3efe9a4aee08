#include "studio/comparison.h"

#include <QGridLayout>
#include <QLabel>
#include <cmath>

#include "app/figures.h"
#include "config/messages.h"
#include "model/msgid.h"
#include "studio/figurerows.h"

std::vector<TComparisonRow> ComparisonRowsOf(const TPatternResult& reference,
                                             const TPatternResult& current) {
    std::vector<TComparisonRow> rows;
    for (const TFigureGroup group : {TFigureGroup::Readout, TFigureGroup::Ground,
                                     TFigureGroup::Metrics, TFigureGroup::Directivity}) {
        for (const TFigure& f : FiguresOf(group)) {
            const auto before = f.Value(reference);
            const auto after = f.Value(current);
            if (!before && !after) continue;
            TComparisonRow row{std::string(f.Key),
                               Tr(FigureCaption(f)),
                               before ? FigureText(*before, f.Decimals) : Tr("none"),
                               after ? FigureText(*after, f.Decimals) : Tr("none"),
                               {}};
            // Infinite depths and ratios have no finite difference: the texts say enough.
            if (before && after && std::isfinite(*before) && std::isfinite(*after)) {
                const long double change = *after - *before;
                row.Difference = (change > 0 ? "+" : "") + FigureText(change, f.Decimals);
            }
            rows.push_back(row);
        }
    }
    return rows;
}

TComparisonPanel::TComparisonPanel(QWidget* parent) : QWidget(parent) {
    Grid = new QGridLayout(this);
    Grid->setContentsMargins(0, 0, 0, 0);
}

void TComparisonPanel::SetRows(const QString& referenceName, const QString& currentName,
                               const std::vector<TComparisonRow>& rows) {
    Shown = rows;
    while (QLayoutItem* item = Grid->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const auto add = [this](int line, int column, const QString& text) {
        auto* label = new QLabel(text);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        Grid->addWidget(label, line, column, column == 0 ? Qt::AlignLeft : Qt::AlignRight);
    };
    add(0, 0, QString::fromUtf8(Tr(Msgid("Compared with the reference"))));
    add(0, 1, referenceName);
    add(0, 2, currentName);
    add(0, 3, QString::fromUtf8(Tr(Msgid("difference"))));
    int line = 1;
    for (const TComparisonRow& row : rows) {
        add(line, 0, QString::fromStdString(row.Caption));
        add(line, 1, QString::fromStdString(row.Reference));
        add(line, 2, QString::fromStdString(row.Current));
        add(line, 3, QString::fromStdString(row.Difference));
        ++line;
    }
}
