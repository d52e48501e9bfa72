#pragma once
// The test program's own allocations under the test's control: a program
// built with AllocationWatch.cpp among its sources has operator new and
// delete replaced (malloc and free underneath) so that a test can make
// allocations fail, tell whether a block was given back, and catch writes
// into freed blocks. Nothing is
// armed by default.
namespace qvtest {

// From now on the n-th allocation (0: the next one) and every one after it
// fail with std::bad_alloc, as when memory has run out, until
// AllowAllocations. Nothing that allocates (test assertions included) may
// run in between but the code under test.
void FailAllocationsFrom(long n);
// Ends the failures; returns the allocations asked for since
// FailAllocationsFrom (those that failed included).
long AllowAllocations();

// Notes whether the block at `block` is freed from now on.
void WatchFree(const void* block);
bool WatchedBlockFreed();

// From now on freed blocks are not given back: each is kept as it was when
// freed, with a copy of its bytes, so that a write into freed memory shows.
void KeepFreedBlocks();
// Stops keeping freed blocks, gives back those kept and returns how many of
// them were written into after they were freed.
int ReleaseFreedBlocks();

}  // namespace qvtest
