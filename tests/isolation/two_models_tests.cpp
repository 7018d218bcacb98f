// Two model libraries in one host, the first opened with RTLD_GLOBAL (as some
// simulators open every model): its names then come first for every library
// loaded after it. Each model must still compute exactly what it computes
// when it is loaded alone, and hand out its own version record.
#include "model_library.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

const char kTxParams[] = "(usb3_tx (xtx_process 1) (xvptx 1.1) (xtx_boost_en 1) "
                         "(xtx_boost_lvl 1.3) (xtxlvl 111) (xtxeq 16))";
const char kRxParams[] = "(usb3_rx (xrx_process 1) (xboost 3))";

void ExpectSameRun(const isolation::Run& alone, const isolation::Run& together)
{
    EXPECT_EQ(together.initResult, alone.initResult);
    EXPECT_EQ(together.message, alone.message);
    EXPECT_EQ(together.impulse, alone.impulse);
    EXPECT_EQ(together.getWaveResult, alone.getWaveResult);
    EXPECT_EQ(together.wave, alone.wave);
    EXPECT_EQ(together.clocks, alone.clocks);
}

struct Alone {
    isolation::Run tx, rx;
};

// Each library opened privately, run, and closed again before the next.
Alone RunAlone()
{
    Alone a;
    {
        isolation::ModelLibrary tx(TOLVANE_LIBRARY, RTLD_LOCAL);
        EXPECT_TRUE(tx.Loaded()) << tx.Error();
        if (tx.Loaded())
            a.tx = isolation::RunTransmitter(tx, kTxParams);
    }
    {
        isolation::ModelLibrary rx(VESKARO_LIBRARY, RTLD_LOCAL);
        EXPECT_TRUE(rx.Loaded()) << rx.Error();
        if (rx.Loaded())
            a.rx = isolation::RunReceiver(rx, kRxParams);
    }
    return a;
}

struct OrderCase {
    const char* name;
    bool transmitterFirst;
};

void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.name; }

class TwoModels : public ::testing::TestWithParam<OrderCase> {};

TEST_P(TwoModels, EachComputesAsWhenLoadedAlone)
{
    const Alone alone = RunAlone();
    ASSERT_EQ(alone.tx.initResult, 1) << alone.tx.message;
    ASSERT_EQ(alone.rx.initResult, 1) << alone.rx.message;
    ASSERT_EQ(alone.rx.getWaveResult, 1);
    // A run that did nothing would compare equal to another such run.
    ASSERT_FALSE(alone.rx.clocks.empty());
    ASSERT_EQ(alone.tx.message.find("unable to initialize"), std::string::npos) << alone.tx.message;
    ASSERT_EQ(alone.rx.message.find("unable to initialize"), std::string::npos) << alone.rx.message;

    const bool txFirst = GetParam().transmitterFirst;
    isolation::ModelLibrary first(txFirst ? TOLVANE_LIBRARY : VESKARO_LIBRARY, RTLD_GLOBAL);
    isolation::ModelLibrary second(txFirst ? VESKARO_LIBRARY : TOLVANE_LIBRARY, RTLD_LOCAL);
    ASSERT_TRUE(first.Loaded()) << first.Error();
    ASSERT_TRUE(second.Loaded()) << second.Error();
    const isolation::ModelLibrary& tx = txFirst ? first : second;
    const isolation::ModelLibrary& rx = txFirst ? second : first;
    {
        SCOPED_TRACE("transmitter");
        ExpectSameRun(alone.tx, isolation::RunTransmitter(tx, kTxParams));
    }
    {
        SCOPED_TRACE("receiver");
        ExpectSameRun(alone.rx, isolation::RunReceiver(rx, kRxParams));
    }
}

INSTANTIATE_TEST_SUITE_P(Load, TwoModels,
                         ::testing::Values(OrderCase{"TransmitterGlobalFirst", true},
                                           OrderCase{"ReceiverGlobalFirst", false}),
                         [](const ::testing::TestParamInfo<OrderCase>& info) {
                             return std::string(info.param.name);
                         });

// The version record each library exports: found by name on the library's
// own handle, alone or with the other library's record already in the global
// scope, and defined in that library, not in the other.
struct VersionCase {
    const char* name;
    const char* library;
    const char* otherFirst; // opened before, with RTLD_GLOBAL; null: loaded alone
};

void PrintTo(const VersionCase& c, std::ostream* os) { *os << c.name; }

class VersionRecord : public ::testing::TestWithParam<VersionCase> {};

// The object a dynamic linker says holds the address: its load base and path.
Dl_info Where(void* address)
{
    Dl_info info{};
    EXPECT_NE(dladdr(address, &info), 0);
    return info;
}

std::string RealPath(const char* path)
{
    char* r = realpath(path, nullptr);
    std::string s = r ? r : path;
    std::free(r);
    return s;
}

TEST_P(VersionRecord, IsTheLibrarysOwnAndPrintsTheRecord)
{
    const VersionCase& c = GetParam();
    std::unique_ptr<isolation::ModelLibrary> other;
    if (c.otherFirst) {
        other = std::make_unique<isolation::ModelLibrary>(c.otherFirst, RTLD_GLOBAL);
        ASSERT_TRUE(other->Loaded()) << other->Error();
    }
    isolation::ModelLibrary lib(c.library, RTLD_LOCAL);
    ASSERT_TRUE(lib.Loaded()) << lib.Error();

    void* version = lib.Find(isolation::kVersionName);
    ASSERT_NE(version, nullptr) << dlerror();
    const Dl_info at = Where(version);
    const Dl_info own = Where(reinterpret_cast<void*>(lib.init));
    EXPECT_EQ(at.dli_fbase, own.dli_fbase);
    ASSERT_NE(at.dli_fname, nullptr);
    EXPECT_EQ(RealPath(at.dli_fname), RealPath(c.library));
    ASSERT_NE(at.dli_sname, nullptr);
    EXPECT_STREQ(at.dli_sname, isolation::kVersionName);
    if (other) {
        void* othersVersion = other->Find(isolation::kVersionName);
        ASSERT_NE(othersVersion, nullptr);
        EXPECT_NE(version, othersVersion);
        EXPECT_NE(at.dli_fbase, Where(reinterpret_cast<void*>(other->init)).dli_fbase);
    }

    // The library writes through the C library's stdout (its own std::cout,
    // where it links libstdc++ in): what is pending goes out first, so that
    // the capture holds only the record.
    std::fflush(stdout);
    ::testing::internal::CaptureStdout();
    reinterpret_cast<isolation::VersionFn>(version)();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), isolation::kVersionRecord);
}

INSTANTIATE_TEST_SUITE_P(
    Load, VersionRecord,
    ::testing::Values(VersionCase{"ReceiverAlone", VESKARO_LIBRARY, nullptr},
                      VersionCase{"TransmitterAlone", TOLVANE_LIBRARY, nullptr},
                      VersionCase{"ReceiverAfterTransmitterGlobal", VESKARO_LIBRARY, TOLVANE_LIBRARY},
                      VersionCase{"TransmitterAfterReceiverGlobal", TOLVANE_LIBRARY, VESKARO_LIBRARY}),
    [](const ::testing::TestParamInfo<VersionCase>& info) { return std::string(info.param.name); });

} // namespace
