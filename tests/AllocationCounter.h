#pragma once

#include <cstddef>

namespace ondrel::test {

// The number of calls of the global operator new so far in this test program.
size_t AllocationCount();

} // namespace ondrel::test
