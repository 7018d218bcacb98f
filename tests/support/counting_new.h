// The global allocation functions of a program linked with this library are
// replaced by counting ones: a test reads the count before and after the code
// it watches.
#pragma once

namespace quenrix_test {

// Number of allocations made through operator new in this program so far.
long AllocationCount();

} // namespace quenrix_test
