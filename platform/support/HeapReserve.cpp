#include "platform/support/HeapReserve.h"

#include <malloc.h>

void KeepHeapReserve()
{
  mallopt(M_TOP_PAD, 1 << 20);
}
