#pragma once

// How the process keeps freed memory. A desktop program that lives all day should not stay at
// the size of its largest moment: reading every contractor or counting a million documents
// needs buffers that are let go a moment later.
namespace memory {

// From now on, large buffers go back to the system as soon as they are freed. Called once,
// at start.
void returnLargeBuffers();

// Hands the free pages the allocator keeps back to the system, after a burst of work has let
// go of its memory.
void returnFreePages();

}  // namespace memory
