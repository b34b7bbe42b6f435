#include "UserDataSet.h"

namespace tarvex::engine {

void UserDataSet::first()
{
    recNo_ = 0;
    if (count_ > 0 && onFirst)
        onFirst();
}

void UserDataSet::next()
{
    if (recNo_ >= count_)
        return;
    ++recNo_;
    if (recNo_ < count_ && onNext)
        onNext();
}

void UserDataSet::prior()
{
    if (recNo_ <= 0)
        return;
    --recNo_;
    if (recNo_ < count_ && onPrior)
        onPrior();
}

} // namespace tarvex::engine
