#include "toolbar/dock/TBBackground.h"

#include <algorithm>

const TClassInfo& TTBBasicBackground::StaticClass()
{
    return MakeClassInfo<TTBBasicBackground>("TTBBasicBackground", &TComponent::StaticClass(), [](auto&) {});
}

void TTBBasicBackground::RegisterChanges(TNotifyEvent handler)
{
    if (std::find(FLinks.begin(), FLinks.end(), handler) == FLinks.end())
        FLinks.push_back(handler);
}

void TTBBasicBackground::UnregisterChanges(TNotifyEvent handler)
{
    FLinks.erase(std::remove(FLinks.begin(), FLinks.end(), handler), FLinks.end());
}

void TTBBasicBackground::Changed()
{
    // A copy: a subscriber may unsubscribe while it is told.
    std::vector<TNotifyEvent> links = FLinks;
    for (const TNotifyEvent& link : links)
        link(this);
}
