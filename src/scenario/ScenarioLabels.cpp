#include "scenario/ScenarioLabels.h"

#include <algorithm>

LabelAdd AddLabel(ScenarioSnapshot& scn, int column)
{
    std::vector<uint16_t>& labels = scn.labels;
    if (labels.size() >= static_cast<size_t>(kMaxLabels))
        return LabelAdd::Full;
    if (std::find(labels.begin(), labels.end(), column) != labels.end())
        return LabelAdd::Present;
    if (labels.empty() && column != 1)
        labels.push_back(1);
    labels.push_back(static_cast<uint16_t>(column));
    std::sort(labels.begin(), labels.end());
    return LabelAdd::Added;
}

bool DeleteLabel(ScenarioSnapshot& scn, int column)
{
    auto it = std::find(scn.labels.begin(), scn.labels.end(), column);
    if (it == scn.labels.end())
        return false;
    scn.labels.erase(it);
    return true;
}

bool ValidateLabels(ScenarioSnapshot& scn)
{
    std::vector<uint16_t>& labels = scn.labels;
    int steps = scn.ColCount() - 1;
    // Each label must lie on a step and after the one kept before it.
    size_t kept = 0;
    for (uint16_t label : labels)
        if (label >= 1 && label <= steps && (kept == 0 || label > labels[kept - 1]))
            labels[kept++] = label;
    labels.resize(kept);
    if (!labels.empty() && labels.front() > 1)
        return AddLabel(scn, 1) != LabelAdd::Full;
    return true;
}
