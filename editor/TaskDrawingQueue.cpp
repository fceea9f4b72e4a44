#include "editor/TaskDrawingQueue.h"

#include <utility>

namespace wowfix {

void TaskDrawingQueue::open() {
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = true;
}

bool TaskDrawingQueue::isOpen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return open_;
}

void TaskDrawingQueue::close() {
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = false;
    pending_ = Batch{};
}

void TaskDrawingQueue::addColumn(Column column) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (open_) pending_.columns.push_back(std::move(column));
}

void TaskDrawingQueue::setProgress(double percent) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_) return;
    pending_.progressChanged = true;
    pending_.progress = percent;
}

void TaskDrawingQueue::curveChanged() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_) return;
    pending_.curveChanged = true;
    pending_.boundsShown = false;
}

void TaskDrawingQueue::curveChangedWithBounds(int lowerRow, int upperRow) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_) return;
    pending_.curveChanged = true;
    pending_.boundsShown = true;
    pending_.lowerRow = lowerRow;
    pending_.upperRow = upperRow;
}

void TaskDrawingQueue::frequencyViewChanged() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (open_) pending_.frequencyViewChanged = true;
}

void TaskDrawingQueue::timeViewChanged() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (open_) pending_.timeViewChanged = true;
}

TaskDrawingQueue::Batch TaskDrawingQueue::take() {
    std::lock_guard<std::mutex> lock(mutex_);
    Batch taken = std::move(pending_);
    pending_ = Batch{};
    return taken;
}

}  // namespace wowfix
