// A host that defines functions of the same names as the parser library's
// and as the version record, and exports them (it is linked with -rdynamic,
// as many simulators are). Each model library must still call its own parser
// and hand out its own record: the parameters given to AMI_Init reach the
// model, and none of the host's functions runs.
#include "ami.h"
#include "cmn.h"
#include "model_library.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
std::vector<std::string> g_hostCalls;
} // namespace

// Stand-ins that record the call and then behave harmlessly: an empty tree,
// a zeroed block, as a foreign parser might.
extern "C" int GetParsedTree(const char*, PTREE* tree)
{
    g_hostCalls.push_back("GetParsedTree");
    if (tree)
        *tree = nullptr;
    return AMI_TREE_NO_PARENT;
}

extern "C" void FreeParsedTree(PTREE* tree)
{
    g_hostCalls.push_back("FreeParsedTree");
    if (tree)
        *tree = nullptr;
}

extern "C" int CMN_malloc(void** slot, size_t size)
{
    g_hostCalls.push_back("CMN_malloc");
    *slot = std::calloc(1, size ? size : 1);
    return *slot != nullptr;
}

// Another generator's record, say, under the same name; it prints nothing.
namespace QuenrixCodeGen {
void version() { g_hostCalls.push_back("version"); }
} // namespace QuenrixCodeGen

namespace {

std::string Calls()
{
    std::string s;
    for (const std::string& c : g_hostCalls)
        s += c + " ";
    return s;
}

struct HostCase {
    const char* name;
    const char* library;
    bool receiver;
    const char* params;
    std::string message;
};

void PrintTo(const HostCase& c, std::ostream* os) { *os << c.name; }

class HostNames : public ::testing::TestWithParam<HostCase> {
protected:
    void SetUp() override { g_hostCalls.clear(); }
};

TEST_P(HostNames, DoNotReplaceTheModelsOwn)
{
    const HostCase& c = GetParam();
    isolation::ModelLibrary lib(c.library, RTLD_LOCAL);
    ASSERT_TRUE(lib.Loaded()) << lib.Error();
    const isolation::Run r =
        c.receiver ? isolation::RunReceiver(lib, c.params) : isolation::RunTransmitter(lib, c.params, 64, 0);
    EXPECT_EQ(r.initResult, 1);
    EXPECT_EQ(r.message, c.message);
    EXPECT_EQ(Calls(), "") << "the library called the host's functions";
}

// Receiver: the fast corner and boost 3, both given, so no warning.
// Transmitter: fast corner, 48 legs; xtxlvl 111 switches off
// 2 * trunc((127 - 111) * 48 / 2 / 128) = 6 legs, leaving 42; the boost
// supply 1.3 is on and above vptx 1.1, so the swing is
// 1.3 * 0.9825 * 42 / 48 = 1.11759375; xtxeq 16 de-emphasises
// 0.5 * trunc(2 * 42 * 16 / 128 + 0.5) = 5.5 legs, 20 log10(31 / 42) dB.
INSTANTIATE_TEST_SUITE_P(
    Init, HostNames,
    ::testing::Values(
        HostCase{"Receiver", VESKARO_LIBRARY, true, "(usb3_rx (xrx_process 1) (xboost 3))",
                 "\nUSB3 Rx, Version: 20170113\nRx settings:  xrx_process = 1, xboost = 3 :\n"},
        HostCase{"Transmitter", TOLVANE_LIBRARY, false,
                 "(usb3_tx (xtx_process 1) (xvptx 1.1) (xtx_boost_en 1) (xtx_boost_lvl 1.3) "
                 "(xtxlvl 111) (xtxeq 16))",
                 "\nUSB3 Tx, Version: 20170823\n"
                 "\nTx settings:  xtx_process = 1, BitRate (Gbps) = 5, vptx = 1.1, "
                 "xtx_boost_en = 1, xtx_boost_lvl = 1.3, xtxlvl = 111, xtxeq = 16 :\n"
                 "xtx_vswing = 1.11759, xtx_deemph_dB = -2.63775\n"}),
    [](const ::testing::TestParamInfo<HostCase>& info) { return std::string(info.param.name); });

// The settings reach the filter too: a constant column settles at the sum of
// the taps, main + post = 62 / 84 of the swing (taps 73 / 84 and -11 / 84 for
// 5.5 de-emphasis legs of 42), through the pole of unity DC gain.
TEST(HostNamesTransmitter, FiltersWithTheGivenTaps)
{
    g_hostCalls.clear();
    isolation::ModelLibrary lib(TOLVANE_LIBRARY, RTLD_LOCAL);
    ASSERT_TRUE(lib.Loaded()) << lib.Error();
    const long rows = 4096;
    const isolation::Run r = isolation::RunTransmitter(
        lib,
        "(usb3_tx (xtx_process 1) (xvptx 1.1) (xtx_boost_en 1) (xtx_boost_lvl 1.3) (xtxlvl 111) "
        "(xtxeq 16))",
        rows);
    ASSERT_EQ(r.initResult, 1);
    const double swing = 1.3 * 0.9825 * 42.0 / 48.0;
    EXPECT_NEAR(r.impulse[2 * rows - 1], 0.25 * swing * 62.0 / 84.0, 1e-12);
    EXPECT_EQ(Calls(), "");
}

// dlsym on a library's handle gives that library's record, not the host's,
// and calling it runs the library's.
TEST(HostNamesVersion, DoNotReplaceTheLibrarysRecord)
{
    for (const char* path : {VESKARO_LIBRARY, TOLVANE_LIBRARY}) {
        SCOPED_TRACE(path);
        g_hostCalls.clear();
        isolation::ModelLibrary lib(path, RTLD_LOCAL);
        ASSERT_TRUE(lib.Loaded()) << lib.Error();
        void* version = lib.Find(isolation::kVersionName);
        ASSERT_NE(version, nullptr);
        EXPECT_NE(version, reinterpret_cast<void*>(&QuenrixCodeGen::version));
        Dl_info at{}, own{};
        ASSERT_NE(dladdr(version, &at), 0);
        ASSERT_NE(dladdr(reinterpret_cast<void*>(lib.init), &own), 0);
        EXPECT_EQ(at.dli_fbase, own.dli_fbase);
        std::fflush(stdout);
        ::testing::internal::CaptureStdout();
        reinterpret_cast<isolation::VersionFn>(version)();
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), isolation::kVersionRecord);
        EXPECT_EQ(Calls(), "");
    }
}

// A library whose AMI_Init calls the record it exports: linked through
// quenrix_model_exports, the call stays in the library; linked with only a
// version script, the dynamic linker sends it to the host's function of that
// name. The second case shows the stand-in does make a call that the link
// alone decides, so the first is no empty pass.
struct SelfCallCase {
    const char* name;
    const char* library;
    std::string printed;
    std::string hostCalls;
};

void PrintTo(const SelfCallCase& c, std::ostream* os) { *os << c.name; }

class HostNamesSelfCall : public ::testing::TestWithParam<SelfCallCase> {
protected:
    void SetUp() override { g_hostCalls.clear(); }
};

TEST_P(HostNamesSelfCall, GoesWhereTheLinkBoundIt)
{
    const SelfCallCase& c = GetParam();
    isolation::ModelLibrary lib(c.library, RTLD_LOCAL);
    ASSERT_TRUE(lib.Loaded()) << lib.Error();
    std::fflush(stdout);
    ::testing::internal::CaptureStdout();
    const long rc = lib.init(nullptr, 0, 0, 0.0, 0.0, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.printed);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(Calls(), c.hostCalls);
}

INSTANTIATE_TEST_SUITE_P(
    Link, HostNamesSelfCall,
    ::testing::Values(SelfCallCase{"ThroughTheModelHelper", SELF_CALL_BOUND_LIBRARY,
                                   isolation::kVersionRecord, ""},
                      SelfCallCase{"VersionScriptOnly", SELF_CALL_OPEN_LIBRARY, "", "version "}),
    [](const ::testing::TestParamInfo<SelfCallCase>& info) { return std::string(info.param.name); });

} // namespace
