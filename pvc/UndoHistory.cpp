#include "pvc/UndoHistory.h"

namespace wowfix {

bool UndoHistory::push(std::int32_t kind)
{
    if (position_ >= maxUndoSteps || position_ < 0)
        return false;
    kinds_[static_cast<std::size_t>(position_)] = kind;
    ++position_;
    count_ = position_;
    return true;
}

void UndoHistory::undo()
{
    if (canUndo())
        --position_;
}

void UndoHistory::redo()
{
    if (canRedo())
        ++position_;
}

std::int32_t UndoHistory::kindAt(int index) const
{
    if (index < 0 || index >= count_)
        return -1;
    return kinds_[static_cast<std::size_t>(index)];
}

void UndoHistory::reset()
{
    position_ = 0;
    count_ = 0;
    kinds_.fill(0);
}

}  // namespace wowfix
