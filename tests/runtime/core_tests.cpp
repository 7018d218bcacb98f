// Tests of the dataflow core: ports, buses, wiring blocks, arrays, message sink.
#include "Add.h"
#include "CircularBuffer.h"
#include "DFErrorHandler.h"
#include "DFModel.h"
#include "Fork.h"
#include "Gain.h"
#include "Matrix.h"

#include <gtest/gtest.h>

#include <complex>
#include <vector>

using namespace Quenrix;

namespace {

// Exposes the protected fields of a port for inspection.
template <class T>
struct PortProbe : CircularBuffer<T> {
    size_t Current() const { return this->m_iCurrent; }
    size_t Rate() const { return this->m_iRate; }
    size_t History() const { return this->m_iHistoryDepth; }
    bool Contiguous() const { return this->m_bContiguousBuffer; }
    bool Connected() const { return this->m_bIsConnected; }
    size_t SizeOf() const { return this->m_iSizeOf; }
};

} // namespace

TEST(Port, DefaultsMatchTheFieldTable)
{
    PortProbe<double> d;
    PortProbe<int> i;
    EXPECT_EQ(d.Rate(), 1u);
    EXPECT_EQ(d.History(), 1u);
    EXPECT_FALSE(d.Contiguous());
    EXPECT_EQ(d.SizeOf(), 8u);
    EXPECT_EQ(i.SizeOf(), 4u);
    EXPECT_EQ(d.Current(), 0u);
    EXPECT_EQ(d.GetBufferMemory(), nullptr);
    EXPECT_EQ(d.GetSize(), 0u);
    EXPECT_TRUE(d.Connected());
}

TEST(Port, SetBufferStoresAllFourSettings)
{
    double mem[5] = {};
    PortProbe<double> p;
    p.SetBuffer(mem, 5, 2, 3);
    EXPECT_EQ(p.GetBufferMemory(), mem);
    EXPECT_EQ(p.GetSize(), 5u);
    EXPECT_EQ(p.Rate(), 2u);
    EXPECT_EQ(p.Current(), 3u);
}

struct IndexCase {
    size_t size, current, offset, expected;
};

TEST(Port, IndexAtWrapsOnceOnTheRing)
{
    const IndexCase cases[] = {
        {1, 0, 0, 0}, // one-element ring: always element 0
        {4, 3, 0, 3}, {4, 3, 1, 0}, {4, 3, 3, 2}, {4, 1, 2, 3},
        {8, 6, 1, 7}, {8, 6, 2, 0}, {8, 0, 7, 7},
    };
    for (const auto& c : cases) {
        std::vector<double> mem(c.size);
        CircularBuffer<double> p;
        p.SetBuffer(mem.data(), c.size, 1, c.current);
        EXPECT_EQ(p.IndexAt(c.offset), c.expected)
            << "size " << c.size << " current " << c.current << " offset " << c.offset;
    }
}

TEST(Port, OneElementRingReadsAndWritesElementZero)
{
    double v = 0.0;
    CircularBuffer<double> p;
    p.SetBuffer(&v, 1, 1, 0);
    p[0] = 2.5;
    EXPECT_EQ(v, 2.5);
    EXPECT_EQ(&p[0], &v);
}

TEST(Port, RingToRingCopyWrapsBothPositionsInThreeChunks)
{
    // 4-ring at current 3 -> 8-ring at current 6, five items.
    // Source positions 3,0,1,2,3; destination positions 6,7,0,1,2.
    // Chunks: min(4-3, 8-6, 5) = 1; then s=0,d=7: min(4, 1, 4) = 1;
    // then s=1, d=0: min(3, 8, 3) = 3.
    double src[4] = {10, 11, 12, 13};
    double dst[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    CircularBuffer<double> a, b;
    a.SetBuffer(src, 4, 1, 3);
    b.SetBuffer(dst, 8, 1, 6);
    a.Copy(0, &b, 0, 5);
    const double expected[8] = {11, 12, 13, 0, 0, 0, 13, 10};
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(dst[k], expected[k]) << "element " << k;
}

TEST(Port, RingToRingCopyOfOneAndOfZeroItems)
{
    int src[3] = {1, 2, 3};
    int dst[3] = {0, 0, 0};
    CircularBuffer<int> a, b;
    a.SetBuffer(src, 3, 1, 2);
    b.SetBuffer(dst, 3, 1, 1);
    a.Copy(1, &b, 2, 1); // source pos 0 -> destination pos 0
    EXPECT_EQ(dst[0], 1);
    EXPECT_EQ(dst[1], 0);
    EXPECT_EQ(dst[2], 0);
    a.Copy(0, &b, 0, 0);
    EXPECT_EQ(dst[1], 0);
}

TEST(Port, ZeroClearsTheRequestedRunOnly)
{
    double mem[4] = {1, 2, 3, 4};
    CircularBuffer<double> p;
    p.SetBuffer(mem, 4, 1, 2);
    EXPECT_TRUE(p.Zero(0, 0, nullptr));
    EXPECT_EQ(mem[2], 3);
    EXPECT_TRUE(p.Zero(1, 2, nullptr)); // positions 3 and 0
    EXPECT_EQ(mem[0], 0);
    EXPECT_EQ(mem[1], 2);
    EXPECT_EQ(mem[2], 3);
    EXPECT_EQ(mem[3], 0);

    double one = 7.0;
    CircularBuffer<double> q;
    q.SetBuffer(&one, 1, 1, 0);
    EXPECT_TRUE(q.Zero(0, 1, nullptr));
    EXPECT_EQ(one, 0.0);
}

TEST(Port, DeallocateMemory)
{
    PortProbe<double> empty;
    empty.DeallocateMemory(nullptr);
    EXPECT_EQ(empty.GetBufferMemory(), nullptr);
    EXPECT_EQ(empty.Current(), 0u);
    EXPECT_EQ(empty.GetSize(), 0u);

    // Memory from AllocateMemory is released through the port; the sanitizer
    // build reports a leak or a double free if either path is wrong.
    PortProbe<int> own;
    void* p = own.AllocateMemory(3);
    ASSERT_NE(p, nullptr);
    own.SetBuffer(p, 3, 1, 2);
    own.DeallocateMemory(nullptr);
    EXPECT_EQ(own.GetBufferMemory(), nullptr);
    EXPECT_EQ(own.Current(), 0u);
    EXPECT_EQ(own.GetSize(), 0u);

    void* q = own.AllocateMemory(2);
    own.DeallocateMemory(q); // releases the argument, leaves the port alone
    EXPECT_EQ(own.GetBufferMemory(), nullptr);
}

TEST(Port, DestroyingPortsAndBusesNeverFreesSampleMemory)
{
    double* mem = new double[2]{1.0, 2.0};
    {
        CircularBuffer<double> p;
        p.SetBuffer(mem, 1, 1, 0);
        CircularBufferBusT<CircularBuffer<double>> bus;
        bus.Initialize(2);
        bus[0].SetBuffer(mem, 1, 1, 0);
        bus[1].SetBuffer(mem + 1, 1, 1, 0);
        bus.Initialize(3); // replaces the ports; their memory stays ours
        bus[2].SetBuffer(mem, 1, 1, 0);
    }
    // Still ours to read and to free: a free by a port would be a
    // use-after-free here and a double free below under the sanitizer.
    EXPECT_EQ(mem[0], 1.0);
    EXPECT_EQ(mem[1], 2.0);
    delete[] mem;
}

TEST(Bus, ReinitialisationKeepsOrReplacesPorts)
{
    double a = 0, b = 0;
    CircularBufferBusT<CircularBuffer<double>> bus;
    EXPECT_EQ(bus.GetSize(), 0u);

    bus.Initialize(2);
    ASSERT_EQ(bus.GetSize(), 2u);
    bus[0].SetBuffer(&a, 1, 1, 0);
    bus[1].SetBuffer(&b, 1, 1, 0);
    CircularBufferBase* first = bus.Get(0);
    EXPECT_EQ(first, &bus[0]);

    bus.Initialize(2); // same width: ports and wiring kept
    EXPECT_EQ(bus.Get(0), first);
    EXPECT_EQ(bus[0].GetBufferMemory(), &a);
    EXPECT_EQ(bus[1].GetBufferMemory(), &b);

    bus.Initialize(3); // new width: fresh default ports
    ASSERT_EQ(bus.GetSize(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(bus[i].GetBufferMemory(), nullptr);
        EXPECT_EQ(bus[i].GetSize(), 0u);
    }

    bus.Initialize(0);
    EXPECT_EQ(bus.GetSize(), 0u);
}

TEST(Blocks, ForkGainAddRuns)
{
    // Fork of width 2 fed 0.25 writes it to both outputs.
    double in = 0.25, o1 = 0, o2 = 0;
    Fork<CircularBuffer<double>> fork;
    fork.input.SetBuffer(&in, 1, 1, 0);
    fork.output.Initialize(2);
    fork.output[0].SetBuffer(&o1, 1, 1, 0);
    fork.output[1].SetBuffer(&o2, 1, 1, 0);
    EXPECT_TRUE(fork.Run());
    EXPECT_EQ(o1, 0.25);
    EXPECT_EQ(o2, 0.25);

    Fork<CircularBuffer<double>> none; // width 0: writes nothing
    none.input.SetBuffer(&in, 1, 1, 0);
    EXPECT_TRUE(none.Run());

    double gin = 2e-9, gout = 0;
    Gain<double> gain;
    gain.m_Gain = 5e8;
    gain.input.SetBuffer(&gin, 1, 1, 0);
    gain.output.SetBuffer(&gout, 1, 1, 0);
    EXPECT_TRUE(gain.Run());
    EXPECT_DOUBLE_EQ(gout, 1.0);

    double x1 = 1.5, x2 = -0.5, sum = 99;
    Add<double> add;
    add.input.Initialize(2);
    add.input[0].SetBuffer(&x1, 1, 1, 0);
    add.input[1].SetBuffer(&x2, 1, 1, 0);
    add.output.SetBuffer(&sum, 1, 1, 0);
    EXPECT_TRUE(add.Run());
    EXPECT_EQ(sum, 1.0);

    double empty = 99;
    Add<double> add0;
    add0.output.SetBuffer(&empty, 1, 1, 0);
    EXPECT_TRUE(add0.Run());
    EXPECT_EQ(empty, 0.0);
}

TEST(Blocks, BaseLifecycleReturnsTrue)
{
    DFModel m;
    EXPECT_TRUE(m.Setup());
    EXPECT_TRUE(m.Initialize());
    EXPECT_TRUE(m.Run());
    EXPECT_TRUE(m.Finalize());
    EXPECT_TRUE(m.UpdateDynamicParameters());
    Gain<double> g; // keeps every base operation but Run
    EXPECT_TRUE(g.Setup());
    EXPECT_TRUE(g.Initialize());
    EXPECT_TRUE(g.Finalize());
}

TEST(Matrix, DefaultShape)
{
    Matrix<double> m;
    EXPECT_EQ(m.NumDimensions(), 2u);
    EXPECT_EQ(m.NumRows(), 0u);
    EXPECT_EQ(m.NumColumns(), 0u);
    EXPECT_EQ(m.NumElements(), 0u);
    EXPECT_EQ(m.MaxElements(), 0u);
    EXPECT_EQ(m.GetBuffer(), nullptr);
}

TEST(Matrix, ResizeKeepsCapacityWhenShrinking)
{
    Matrix<double> m;
    m.Resize(1, 1);
    EXPECT_EQ(m.MaxElements(), 1u);
    m.Resize(1, 6);
    EXPECT_EQ(m.NumElements(), 6u);
    EXPECT_EQ(m.MaxElements(), 6u);
    double* grown = m.GetBuffer();
    m.Resize(1, 1);
    EXPECT_EQ(m.NumElements(), 1u);
    EXPECT_EQ(m.MaxElements(), 6u);
    EXPECT_EQ(m.GetBuffer(), grown);
    m.Resize(0, 3);
    EXPECT_EQ(m.NumElements(), 0u);
}

TEST(Matrix, CopyFromZeroFillsOrTruncates)
{
    Matrix<double> m;
    m.Resize(1, 6);
    const double three[3] = {1, 2, 3};
    for (size_t k = 0; k < 6; ++k)
        m(k) = 42;
    m.CopyFrom(three, 3);
    const double e1[6] = {1, 2, 3, 0, 0, 0};
    for (size_t k = 0; k < 6; ++k)
        EXPECT_EQ(m(k), e1[k]);

    const double eight[8] = {8, 7, 6, 5, 4, 3, 2, 1};
    m.CopyFrom(eight, 8);
    for (size_t k = 0; k < 6; ++k)
        EXPECT_EQ(m(k), eight[k]);
}

TEST(Matrix, ColumnMajorAccessAndMultidimensional)
{
    Matrix<double> m(2, 3);
    const double v[6] = {0, 1, 2, 3, 4, 5};
    m.CopyFrom(v, 6);
    EXPECT_EQ(m(1, 0), 1);
    EXPECT_EQ(m(0, 2), 4);
    EXPECT_EQ(m(1, 2), 5);

    const size_t dims[3] = {2, 3, 4};
    m.ResizeMultidimensional(3, dims);
    EXPECT_EQ(m.NumDimensions(), 3u);
    EXPECT_EQ(m.NumElements(), 24u);
    m.Resize(2, 2); // back to two dimensions in the larger slot arrays
    EXPECT_EQ(m.NumDimensions(), 2u);
    EXPECT_EQ(m.NumElements(), 4u);

    Matrix<std::complex<double>> c;
    c.Resize(1, 2);
    EXPECT_EQ(c(0), std::complex<double>(0, 0));
    Matrix<double> copy(m);
    EXPECT_TRUE(copy == m);
}

TEST(ErrorHandler, PostsReachStandardErrorInOrder)
{
    testing::internal::CaptureStderr();
    DFErrorHandler::PostError(nullptr, "first");
    DFErrorHandler::PostWarning(nullptr, "second");
    DFErrorHandler::PostInfo(nullptr, "third");
    DFErrorHandler::PostLog(nullptr, "");
    DFErrorHandler::PostProgress(nullptr, "fifth 3.753e+14");
    DFErrorHandler::ClearProgress(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "first\nsecond\nthird\n\nfifth 3.753e+14\n");
    EXPECT_FALSE(DFErrorHandler::StopRequested());
}

#include <sys/wait.h>
#include <unistd.h>

TEST(ErrorHandler, EachPostIsFlushedBeforeTheProcessEnds)
{
    // The child posts and leaves with _exit, which flushes nothing: only what
    // the sink flushed itself reaches the pipe.
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        dup2(fds[1], 2);
        close(fds[0]);
        DFErrorHandler::PostError(nullptr, "one");
        DFErrorHandler::PostError(nullptr, "two");
        _exit(0);
    }
    close(fds[1]);
    std::string got;
    char buf[64];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0)
        got.append(buf, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_EQ(got, "one\ntwo\n");
}
