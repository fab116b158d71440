#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define COUNT_THROUGH_SANITIZER_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define COUNT_THROUGH_SANITIZER_HOOKS 1
#endif
#endif

#ifdef COUNT_THROUGH_SANITIZER_HOOKS
// From the sanitizer runtime's allocator interface; GCC ships no header.
extern "C" int __sanitizer_install_malloc_and_free_hooks(
	void (*allocated)(const volatile void*, size_t),
	void (*released)(const volatile void*));
#endif

namespace {

thread_local AllocationCounter* tCounter = nullptr;

}	// namespace


void
count_allocation(size_t size)
{
	if (tCounter != nullptr)
		tCounter->fBytes += size;
}


AllocationCounter::AllocationCounter()
	:
	fOuter(tCounter),
	fBytes(0)
{
	tCounter = this;
}


AllocationCounter::~AllocationCounter()
{
	tCounter = fOuter;
}


#ifdef COUNT_THROUGH_SANITIZER_HOOKS

namespace {

void
on_allocation(const volatile void*, size_t size)
{
	count_allocation(size);
}


void
on_release(const volatile void*)
{
}


const int sHooksInstalled
	= __sanitizer_install_malloc_and_free_hooks(on_allocation, on_release);

}	// namespace

#else

// The library's other forms of new (arrays, no-throw) call this one.
void*
operator new(size_t size)
{
	count_allocation(size);
	if (void* memory = malloc(size == 0 ? 1 : size))
		return memory;
	throw std::bad_alloc();
}

#endif
