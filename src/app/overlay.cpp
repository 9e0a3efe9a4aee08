#include "app/overlay.h"

#include "app/inputerror.h"
#include "config/messages.h"

void ChooseLevelAxis(std::vector<TChartArray>& arrays, std::optional<bool> dbi) {
    if (!dbi.value_or(arrays.size() > 1)) return;
    std::vector<TChartSeries> series;
    for (const TChartArray& a : arrays) series.push_back(a.Report.Series);
    if (UseDbiScale(series)) {
        for (std::size_t i = 0; i < arrays.size(); ++i) arrays[i].Report.Series = series[i];
    } else if (dbi.value_or(false)) {
        throw EUsageError(
            Tr("--scale dbi: a file has no directivity (nothing radiates, or the window's model "
               "off the horizon)"));
    }
}
