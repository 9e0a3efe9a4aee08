#include "studio/figurerows.h"

#include "app/figures.h"
#include "config/messages.h"
#include "model/msgid.h"

// The read-outs the report shows in the window's words, and the take-off's bearing, which
// the report folds into its elevation.
const char* FigureCaption(const TFigure& figure) {
    if (figure.Caption != nullptr) return figure.Caption;
    // Beside the physical figures the window's read-out is named for what it is.
    if (figure.Key == "max_gain") return Msgid("Window's array factor");
    if (figure.Key == "bearing") return Msgid("In the direction, deg");
    return Msgid("  its bearing, deg");
}

namespace {

// The reason a figure has none: its own, else that of the line it belongs to in the text
// output, else its group's.
std::string ReasonOf(const TPatternResult& result, std::span<const TFigure> figures,
                     std::size_t i) {
    if (!HasGroup(result, figures[i].Group)) {
        const char* none = GroupNone(figures[i].Group).Text;
        return none != nullptr ? Tr(none) : "";
    }
    for (std::size_t k = i + 1; k-- > 0;) {
        if (const char* none = TextNoneOf(figures[k], result)) return Tr(none);
        if (figures[k].Text != nullptr) break;
    }
    return Tr("none");
}

// What the wires' feeds take and give, as the report lists it.
void AppendWireRows(const TPatternResult& result, std::vector<TFigureRow>& rows) {
    for (const TFigure* f : WireFiguresOf(result)) {
        TFigureRow row{std::string(f->Key), Tr(f->Caption), {}, {}};
        if (const auto value = f->Value(result)) {
            row.Value = FigureText(*value, f->Decimals);
        } else {
            row.Value = Tr("none");
            if (const char* none = TextNoneOf(*f, result)) row.Reason = Tr(none);
        }
        rows.push_back(row);
    }
}

// A list of the figures one entry a line, its count in the caption; "none" with the reason
// where it is empty.
TFigureRow ListRow(const char* key, const char* caption, const std::vector<std::string>& entries,
                   const std::string& reasonWhenEmpty) {
    TFigureRow row{key, TrFormat(caption, {std::to_string(entries.size())}), {}, {}};
    for (const std::string& e : entries) row.Value += (row.Value.empty() ? "" : "\n") + e;
    if (entries.empty()) {
        row.Value = Tr("none");
        row.Reason = reasonWhenEmpty;
    }
    return row;
}

}  // namespace

std::array<TDriveCells, kEmitterCount> DriveCellsOf(const TPatternResult& result) {
    std::array<TDriveCells, kEmitterCount> cells;
    if (!result.Wires.Solved) return cells;
    const TEmitterFigure& impedance = EmitterFigureOf("drive_r_ohm_");
    const TEmitterFigure& swr = EmitterFigureOf("swr_");
    for (const TEmitterFeed& e : result.Wires.Solved->Coupling.Emitters) {
        TDriveCells& cell = cells[static_cast<std::size_t>(e.Number - 1)];
        cell.Impedance = EmitterFigureText(impedance, e);
        cell.Swr = EmitterFigureText(swr, e);
        if (!impedance.Value(e)) {
            cell.ImpedanceReason = cell.SwrReason = Tr("the feed is open: no current flows in it");
        } else if (!swr.Value(e)) {
            cell.SwrReason =
                Tr("the drive resistance is not above 0: the feed takes no power "
                   "from the line, the other emitters drive it");
        }
    }
    return cells;
}

std::vector<TFigureRow> FigureRowsOf(const TPatternResult& result) {
    std::vector<TFigureRow> rows;
    for (const TFigureGroup group : {TFigureGroup::Readout, TFigureGroup::Ground,
                                     TFigureGroup::Metrics, TFigureGroup::Directivity}) {
        if (group == TFigureGroup::Ground && result.Field.Model != TFieldModel::OverGround) {
            continue;
        }
        const std::span<const TFigure> figures = FiguresOf(group);
        for (std::size_t i = 0; i < figures.size(); ++i) {
            const TFigure& f = figures[i];
            TFigureRow row{std::string(f.Key), Tr(FigureCaption(f)), {}, {}};
            if (const auto value = f.Value(result)) {
                row.Value = FigureText(*value, f.Decimals);
                // A range is one row, "low…high", as the report writes it.
                if (f.CaptionFigures == 2) {
                    const TFigure& high = figures[++i];
                    const auto end = high.Value(result);
                    row.Value += "\u2026" + (end ? FigureText(*end, high.Decimals) : "");
                }
            } else {
                i += static_cast<std::size_t>(f.CaptionFigures - 1);
                row.Value = Tr("none");
                row.Reason = ReasonOf(result, figures, i);
            }
            rows.push_back(row);
        }
        if (group == TFigureGroup::Metrics) {
            const auto& m = result.Metrics;
            const std::string zero = Tr(GroupNone(group).Text);
            rows.push_back(ListRow("main_lobes", Msgid("Main lobes (%s), deg"),
                                   m ? MainLobeEntries(*m) : std::vector<std::string>{}, zero));
            rows.push_back(ListRow("nulls", Msgid("Nulls (%s), deg"),
                                   m ? NullEntries(*m) : std::vector<std::string>{},
                                   m ? "" : zero));
        }
    }
    AppendWireRows(result, rows);
    return rows;
}
