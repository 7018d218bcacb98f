// AMI_GetWave allocates nothing per sample. The program counts its
// allocations; the library's allocations reach it when the
// library uses the shared C++ runtime (the sanitizer build). The optimised
// library carries its own runtime, whose allocations stay invisible here, and
// the test then says so and skips.
#include "counting_new.h"
#include "rx_library.h"


TEST(RxAllocation, GetWaveAllocatesNothingPerSample)
{
    rxtest::Library& lib = rxtest::Library::Get();
    std::vector<char> params = rxtest::Text("(usb3_rx (xboost 5))");
    void* h = nullptr;
    char* msg = nullptr;
    const long before = quenrix_test::AllocationCount();
    ASSERT_EQ(lib.init(nullptr, 0, 0, 1e-10 / 32, 1e-10, params.data(), nullptr, &h, &msg), 1);
    const long initAllocations = quenrix_test::AllocationCount() - before;
    struct Closer {
        rxtest::Library& lib;
        void* h;
        ~Closer() { lib.close(h); }
    } closer{lib, h};
    if (initAllocations == 0)
        GTEST_SKIP() << "the library's allocations are not visible to this program";

    std::vector<double> wave = rxtest::Nrz(rxtest::Prbs7(4096), 1e-10, 1e-10 / 32, 0.4, 0.3e-10);
    std::vector<double> clock(65536 / 32 + 3);
    // The first call sizes the clock vector; later calls of the same or a
    // smaller size reuse it.
    ASSERT_EQ(lib.getWave(wave.data(), 65536, clock.data(), nullptr, h), 1);
    const long start = quenrix_test::AllocationCount();
    for (size_t off = 65536; off + 4096 <= wave.size(); off += 4096)
        ASSERT_EQ(lib.getWave(wave.data() + off, 4096, clock.data(), nullptr, h), 1);
    ASSERT_EQ(lib.getWave(wave.data(), 65536, clock.data(), nullptr, h), 1);
    EXPECT_EQ(quenrix_test::AllocationCount() - start, 0);
}
