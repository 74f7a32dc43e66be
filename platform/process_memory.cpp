#include "platform/process_memory.h"
#include <cstdlib>  // defines __GLIBC__ on glibc
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace memory {

void returnLargeBuffers()
{
#ifdef __GLIBC__
    // A fixed threshold: glibc would raise it after the first large free and keep every later
    // large buffer in the heap, resident until the program ends.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

void returnFreePages()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

}  // namespace memory
