#ifndef ALLOCATION_COUNTER_H
#define ALLOCATION_COUNTER_H

#include <cstddef>

// Adds up the heap memory the calling thread asks for while the counter
// lives, so that a test can bound what a reader allocates for its input.
// Other threads' allocations are not counted. Under AddressSanitizer it
// listens through the sanitizer's allocation hooks; otherwise this test
// binary replaces operator new.
class AllocationCounter {
public:
	AllocationCounter();
	~AllocationCounter();

	AllocationCounter(const AllocationCounter&) = delete;
	AllocationCounter& operator=(const AllocationCounter&) = delete;

	size_t Bytes() const { return fBytes; }

private:
	friend void count_allocation(size_t size);

	AllocationCounter* const fOuter;
	size_t fBytes;
};

#endif
