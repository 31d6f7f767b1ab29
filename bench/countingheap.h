#pragma once
// The heap in use and its peak, counted by the benchmark's own malloc and free (countingheap.cpp),
// which stand in for the C library's in the whole process, Qt's allocations included.
#include <cstddef>

namespace countingheap {

std::size_t inUse();
std::size_t peak();
// Starts a new peak from what is in use now.
void resetPeak();

} // namespace countingheap
