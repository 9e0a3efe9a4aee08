#include "app/overlay.h"

bool ChooseLevelAxis(std::vector<TChartArray>& arrays, std::optional<bool> dbi) {
    if (!dbi.value_or(arrays.size() > 1)) return true;
    std::vector<TChartSeries> series;
    for (const TChartArray& a : arrays) series.push_back(a.Report.Series);
    if (!UseDbiScale(series)) return !dbi.value_or(false);
    for (std::size_t i = 0; i < arrays.size(); ++i) arrays[i].Report.Series = series[i];
    return true;
}
