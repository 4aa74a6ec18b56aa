// Keeps 1 MiB of freed memory at the top of the heap for reuse instead of
// handing it back to the system at once. Painting and encoding a month
// picture allocates and frees a few hundred KiB each time; handed back,
// those pages are faulted in and cleared again for the next picture, which
// costs a third of a year's export. Call it first thing in main().
#pragma once

void KeepHeapReserve();
