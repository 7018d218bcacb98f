// The DC/AC consistency checks and the range checks: whole checker runs
// over small files, and the operating-point, dump and gate functions in
// process.  Expected numbers are worked by hand from the tables: for
// example 50 Ohm to 5 V on a 50 Ohm pull-down gives 2.5 V.
//
// Not raised here: Bug 3300 and the skipped model of the dynamic-clamp sums
// need an allocation failure, which nothing in the project can cause on
// purpose.  Note 1509 comes only from the functions that nothing calls
// (acdc_CheckModelProcessCurves, acdc_CheckSubModel); they are called here.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "acdc.h"
#include "checker_run.h"
#include "chk.h"
#include "cmpnt.h"
#include "crv.h"
#include "ibis.h"
#include "log_capture.h"
#include "mdl.h"
#include "parse.h"
#include "query.h"
#include "submdl.h"

namespace {

const CheckerCase kCases[] = {
    // Package, pin, die-capacitance and ramp ranges (bounds inclusive, printed
    // units, min above max, NA pin values), DC tables by Model_type with an
    // [External Model] passing, node names, and composite-current time points.
    {"RangeChecks", "-n -c chk_ranges.ibs", 1,
     R"(
Checking chk_ranges.ibs for IBIS 5.0 Compatibility...

W3903 (line   29) - Typ value is not in between Min and Max 
W3903 (line   31) - Typ value is not in between Min and Max 
W3903 (line   46) - Typ value is not in between Min and Max 
W0179 (line   46) -
    Model caps: C_comp max value is not the largest value listed
W0201 - Model 'ts': Vmeas timing test load parameter should be specified
W0201 - Model 'ts_ext': Vmeas timing test load parameter should be specified
W0200 - Model 'od': Vmeas, Vref and Rref timing test load parameters should be specified
W0200 - Model 'os': Vmeas, Vref and Rref timing test load parameters should be specified
W0201 - Model 'waves': Vmeas timing test load parameter should be specified
E2021 - Model waves: Rising Waveform [2] and its Composite Current don't have identical time points
E2021 - Model waves: Falling Waveform [1] and its Composite Current don't have identical time points
W1707 - [Model] os has no description of the buffer's high state
         DC drive characteristics (no [Pullup] table).  This warning
         can be silenced by changing the Model_type or by adding a
         [Pullup] table.
W1706 - [Model] od has no description of the buffer's low state DC
         drive characteristics (no [Pulldown] table).  This warning
         can be silenced by changing the Model_type or by adding a
         [Pulldown] table.
W1704 - [Model] ts has no description of the buffer's high state
         DC drive characteristics (no [Pullup] table).  This warning
         can be silenced by using an open drain Model_type or by
         adding a [Pullup] table.
W1705 - [Model] ts has no description of the buffer's low state DC
         drive characteristics (no [Pulldown] table).  This warning
         can be silenced by using an open source Model_type or by
         adding a [Pulldown] table.
W1716 -
    Model 'caps': C_comp TYP value 2000pF out of expected range (0pF, 1000pF)  
W1717 - Model 'caps': C_comp_pullup MIN value -1pF out of expected range (0pF, 1000pF)  
W1718 - Model 'caps': C_comp_pulldown MAX value 1010pF out of expected range (0pF, 1000pF)  
W1719 - Model 'caps': C_comp_power_clamp MAX value 2000pF out of expected range (0pF, 1000pF)  
W1720 - Model 'caps': C_comp_gnd_clamp MAX value 5000pF out of expected range (0pF, 1000pF)  
W1703 - Model 'caps': TYP Rising Ramptime 2.000e+06nsec unusually large ( > 1.000e+06nsec )
W1703 - Model 'caps': MAX Falling Ramptime 3.000e+06nsec unusually large ( > 1.000e+06nsec )
W1715 - CMPT 'minmax': Cpkg Max value < Min value
W1710 - CMPT 'over': Rpkg TYP value 50.5 Ohms not within expected range (0 Ohms, 50 Ohms)
W1711 - CMPT 'over': Rpkg Max value < Min value
W1713 - CMPT 'over': Lpkg Max value < Min value
W1714 -
    CMPT 'over': Cpkg TYP value 2000pF not within expected range (0pF, 1000pF)
W1714 -
    CMPT 'over': Cpkg MIN value -1pF not within expected range (0pF, 1000pF)
W1712 -
    CMPT 'edge': Lpkg TYP value 2000nH not within expected range (0nH, 1000nH)
W1700 - CMPT 'edge', Pin '2': Pin Resistance 51 Ohms greater than 50 Ohms
W1701 - CMPT 'edge', Pin '3': Pin Inductance 2000nH greater than 1000nH
W1702 - CMPT 'edge', Pin '3': Pin Capacitance 1500pF greater than 1000pF
E1708 - Component <edge>: Duplicate Node Name <A>
E1709 - Component <edge>: Illegal Node: <3> same as pin <3>
W1703 - Sub Model 'hold': TYP Falling Ramptime 2.000e+06nsec unusually large ( > 1.000e+06nsec )

Errors  : 4
Warnings: 31

File Failed
)"},
    // The worked waveform example at Warn (4.00 % and 0.00 %), a variant beyond
    // 10 % at Error, an open fixture (1e+32 Ohms), and open-drain and
    // open-source models whose other side does not count.
    {"WaveformEndLevels", "-n -c acdc_wave.ibs", 1,
     R"(
Checking acdc_wave.ibs for IBIS 5.0 Compatibility...

E2004 - R_fixture Not Defined For Rising Waveform Beginning on Line 79
W1503 - Model os: The [Falling Waveform] 
      with [R_fixture]=50 Ohms and [V_fixture]=0V
      has TYP column DC endpoints of  1.00V and  2.60v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 0.00V and  2.50V),
      a difference of 40.00% and  4.00%, respectively.
W1503 - Model od: The [Rising Waveform] 
      with [R_fixture]=50 Ohms and [V_fixture]=5V
      has TYP column DC endpoints of  2.60V and  4.00v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 2.50V and  5.00V),
      a difference of  4.00% and 40.00%, respectively.
E1503 - Model open: The [Rising Waveform] 
      with [R_fixture]=1e+32 Ohms and [V_fixture]=0V
      has TYP column DC endpoints of  0.50V and  5.00v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 0.00V and  5.00V),
      a difference of 10.00% and  0.00%, respectively.
E1503 - Model error: The [Rising Waveform] 
      with [R_fixture]=50 Ohms and [V_fixture]=5V
      has TYP column DC endpoints of  3.00V and  5.00v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 2.50V and  5.00V),
      a difference of 20.00% and  0.00%, respectively.
W1503 - Model warn: The [Rising Waveform] 
      with [R_fixture]=50 Ohms and [V_fixture]=5V
      has TYP column DC endpoints of  2.60V and  5.00v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 2.50V and  5.00V),
      a difference of  4.00% and  0.00%, respectively.

Errors  : 3
Warnings: 3

File Failed
)"},
    // Test load with Vmeas of the model and of [Model Spec] (min from [Model
    // Spec], max falling back to typ), extreme clamp current naming one corner,
    // every open-side code, and one non-monotonic message per column.
    {"DcChecks", "-n -c acdc_dc.ibs", 1,
     R"(
Checking acdc_dc.ibs for IBIS 5.0 Compatibility...

N1110 (line  154) - Pulldown Typical data is non-monotonic
N1110 (line  154) - Pulldown Minimum data is non-monotonic
N1110 (line  154) - Pulldown Maximum data is non-monotonic
W1509 - Combined Pulldown for Model: mono Typical data is non-monotonic
W1509 - Combined Pulldown for Model: mono Minimum data is non-monotonic
W1509 - Combined Pulldown for Model: mono Maximum data is non-monotonic
E1511 - Model 'os_isso': Currents <> 0.0mA in 'ISSO PD' for Open_source device
E1508 - Model 'os_pd': Currents <> 0.0mA in 'Pulldown' for Open_source device
E1510 - Model 'od_isso': Currents <> 0.0mA in 'ISSO PU' for Open_drain/Open_sink device
E1507 - Model 'od_pu': Currents <> 0.0mA in 'Pullup' for Open_drain/Open_sink device
W1506 - Model 'clampy': Extreme currents present in MAX GND_Clamp VI Curve (-12A @ -1.5V)
W1500 - Model 'spec': MIN VI curves cannot drive through Vmeas=3V
          given load Rref=50 Ohms to Vref=0V
W1500 - Model 'load': TYP VI curves cannot drive through Vmeas=3V
          given load Rref=50 Ohms to Vref=0V

Errors  : 4
Warnings: 6

File Failed
)"},
    // ISSO tables: typ needs [Pulldown Reference]; without it min and max are
    // checked against 0 V; a matching [ISSO PD] gives nothing.
    {"Isso", "-n -c acdc_isso.ibs", 0,
     R"(
Checking acdc_isso.ibs for IBIS 5.0 Compatibility...

W1512 - Model nopdref: Minimum ISSO_PU current (-0.050A) at 0V does not match Pullup current (-0.100A) at reference ( 0.000V)
W1513 - Model nopdref: Minimum ISSO_PU current ( 0.010A) at Pulldown reference ( 0.000V) - table value ( 3.300V) is non-zero
W1512 - Model nopdref: Maximum ISSO_PU current (-0.050A) at 0V does not match Pullup current (-0.100A) at reference ( 0.000V)
W1513 - Model nopdref: Maximum ISSO_PU current ( 0.010A) at Pulldown reference ( 0.000V) - table value ( 3.300V) is non-zero
W1512 - Model isso: Typical ISSO_PU current (-0.050A) at 0V does not match Pullup current (-0.100A) at reference ( 0.000V)
W1513 - Model isso: Typical ISSO_PU current ( 0.010A) at Pulldown reference ( 0.000V) - table value ( 3.300V) is non-zero

Errors  : 0
Warnings: 6

File Passed
)"},
    // Clamps combined with a dynamic-clamp submodel in Non-Driving, Driving
    // and All mode; modes that do not apply to the Model_type add nothing.
    {"DynamicClamps", "-n -c acdc_dyn.ibs", 1,
     R"(
Checking acdc_dyn.ibs for IBIS 5.0 Compatibility...

C0183 - Vmeas is >= Vinh for model nondrv
C0183 - Vmeas is >= Vinh for model drv
C0183 - Vmeas is >= Vinh for model all
W0159 (line   84) - Vinl should not be specified for model type Output
W0161 (line   85) - Vinh should not be specified for model type Output
E0217 (line  100) - Non-Driving mode is not valid for output model types
E0216 (line  108) - Driving mode is not valid for input model types
N1110 (line  121) - GND Clamp Typical data is non-monotonic
W1509 - Combined Clamp in Non Driving Mode for Model all Typical data is non-monotonic
W1509 -
    Combined Clamp in Driving Mode for Model all Typical data is non-monotonic
W1509 -
    Combined Clamp in Driving Mode for Model drv Typical data is non-monotonic
W1509 - Combined Clamp in Non Driving Mode for Model nondrv Typical data is non-monotonic

Errors  : 2
Warnings: 6
Cautions: 3

File Failed
)"},
    // Many submodels' clamps in one sum: "rise" and "fall" are monotonic each,
    // and only their sum rises and then falls, wherever they stand among
    // submodels that add nothing (first and eighth of eight, second and fifth
    // of five); either one with the others alone stays monotonic.
    {"DynamicClampsOfManySubmodels", "-n -c acdc_dyn_many.ibs", 0,
     R"(
Checking acdc_dyn_many.ibs for IBIS 5.0 Compatibility...

W1111 - Submodel fall: GND Clamp has Decreasing Current
W1509 - Combined Clamp in Non Driving Mode for Model odd Typical data is non-monotonic
W1509 - Combined Clamp in Non Driving Mode for Model split Typical data is non-monotonic

Errors  : 0
Warnings: 3

File Passed
)"},
};

class ChecksOutput : public ::testing::TestWithParam<CheckerCase> {};

TEST_P(ChecksOutput, WholeOutputAndStatus)
{
    CheckCase(IBIS_FIXTURES, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ChecksOutput, ::testing::ValuesIn(kCases), CaseName);

// Hostile tables: single rows, one voltage, falling voltages, NA voltages,
// 1e300, NaN and infinite values and references, zero and negative
// R_fixture, a flat waveform, 1000-row tables, the ECL types, [Add Submodel]
// in every mode.  Every check ends; NaN prints as "nan".
TEST(ChecksHostile, EveryCheckEnds)
{
    CheckerRun r = RunChecker(IBIS_FIXTURES, "-n -c acdc_hostile.ibs");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("\nFile Failed\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("      different voltages (  nanV and   nanV),\n"), std::string::npos);
    EXPECT_NE(r.out.find("with [R_fixture]=1e+300 Ohms"), std::string::npos);
    EXPECT_NE(r.out.find("W1701 - CMPT 'chip', Pin '1': Pin Inductance infnH greater than 1000nH\n"),
              std::string::npos);
    // Three equal node names: the two that a later one repeats.
    size_t n = 0;
    for (size_t at = r.out.find("E1708"); at != std::string::npos; at = r.out.find("E1708", at + 1)) n++;
    EXPECT_EQ(n, 2u);
}

// ---------------------------------------------------------------------------
// In process.

CurveRecord* MakeCurve(const std::vector<std::vector<double>>& rows)
{
    CurveRecord* c = (CurveRecord*)calloc(1, sizeof(CurveRecord));
    RangePoint* tail = nullptr;
    for (const auto& r : rows) {
        RangePoint* p = (RangePoint*)calloc(1, sizeof(RangePoint));
        p->x_value = r[0];
        p->x_state = RNG_NUMBER;
        p->typ_value = r[1];
        p->typ_state = RNG_NUMBER;
        if (r.size() > 2) {
            p->min_value = r[2];
            p->min_state = RNG_NUMBER;
            p->max_value = r[3];
            p->max_state = RNG_NUMBER;
        }
        p->prev = tail;
        (tail != nullptr ? tail->next : c->table) = p;
        tail = p;
    }
    return c;
}

TEST(Acdc, Intersection)
{
    double v = -7, i = -7;
    ASSERT_EQ(acdc_Interesction(&v, &i, 2, 1, -1, 4), 1);   // 2v + 1 = -v + 4
    EXPECT_DOUBLE_EQ(v, 1);
    EXPECT_DOUBLE_EQ(i, 3);
    v = i = -7;
    EXPECT_EQ(acdc_Interesction(&v, &i, 0.5, 1, 0.5, 2), 0);
    EXPECT_EQ(acdc_Interesction(&v, &i, 0.5, 1, 0.5 + 1e-33, 2), 0);
    EXPECT_EQ(v, -7);
}

TEST(Acdc, OperatingPoints)
{
    CurveRecord* r50 = MakeCurve({{0, 0}, {5, 0.1}});                            // 50 Ohm
    CurveRecord* late = MakeCurve({{1, 0}, {2, 0.1}});                           // 10 Ohm from 1 V
    CurveRecord* early = MakeCurve({{0, 0}, {1, 0.02}});                         // ends at 1 V
    CurveRecord* wave = MakeCurve({{0, 0}, {1, 0.1}, {2, 0}, {3, 0.1}});         // zero at 0 and 2
    CurveRecord* one = MakeCurve({{0, 0}});
    CurveRecord* back = MakeCurve({{5, 0.1}, {0, 0}});
    CurveRecord* parallel = MakeCurve({{0, 0.1}, {5, 0}});                       // slope -1/50
    struct {
        const char* what;
        CurveRecord* curve;
        double vSource, r, hint;
        int found;
        double v, i;
    } cases[] = {
        // 0.02 v = (5 - v) / 50
        {"inside", r50, 5, 50, 0, 1, 2.5, 0.05},
        // 0.1 (v - 1) = -v / 50: left of the first row
        {"below the first row", late, 0, 50, 5, 1, 0.1 / 0.12, (0.1 / 0.12 - 1) * 0.1},
        // the last segment extended: 0.02 v = (5 - v) / 50
        {"above the last row", early, 5, 50, 0, 1, 2.5, 0.05},
        // an open load crosses at 0 V and at 2 V: the hint picks
        {"nearest the hint", wave, 0, 1e32, 2.1, 1, 2, 0},
        {"hint at 0", wave, 0, 1e32, 0, 1, 0, 0},
        // r below 1e-32 (or negative): the source voltage itself
        {"zero ohms", r50, 2, 0, 0, 1, 2, 0.04},
        {"negative ohms", r50, 2, -50, 0, 1, 2, 0.04},
        {"one row", one, 5, 50, 0, 0, 0, 0},
        {"falling rows", back, 5, 50, 0, 0, 0, 0},
        {"parallel", parallel, 5, 50, 0, 0, 0, 0},
        {"no curve", nullptr, 5, 50, 0, 0, 0, 0},
    };
    for (auto& c : cases) {
        double v = -99, i = -99;
        EXPECT_EQ(acdc_VI_Given_VIC_VR(c.curve, QRY_TYP, &v, &i, c.vSource, c.r, c.hint), c.found)
            << c.what;
        if (c.found) {
            EXPECT_NEAR(v, c.v, 1e-9) << c.what;
            EXPECT_NEAR(i, c.i, 1e-9) << c.what;
        }
    }
    for (CurveRecord* c : {r50, late, early, wave, one, back, parallel}) CRV_Free(c);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Exists(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}

TEST(Acdc, DumpOneCornerPerFile)
{
    char dir[] = "/tmp/acdc_dumpXXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string prefix = std::string(dir) + "/";
    CurveRecord* c = MakeCurve({{-1, -0.5, -0.25, -1}, {0, 0, 0, 0}, {2.5, 0.001, 0.002, 1e-9}});
    c->table->next->min_state = RNG_NA;   // the 0 V row has no min value
    EXPECT_EQ(DumpCrvCsv(c, QRY_TYP, prefix.c_str(), "pd"), 0);
    EXPECT_EQ(DumpCrvCsv(c, QRY_MIN, prefix.c_str(), "pd"), 0);
    EXPECT_EQ(DumpCrvCsv(c, QRY_MAX, prefix.c_str(), "pd"), 0);
    EXPECT_EQ(ReadFile(prefix + "pd_typ.csv"),
              "-1.000000e+00,-5.000000e-01\n0.000000e+00,0.000000e+00\n2.500000e+00,1.000000e-03\n");
    EXPECT_EQ(ReadFile(prefix + "pd_min.csv"), "-1.000000e+00,-2.500000e-01\n2.500000e+00,2.000000e-03\n");
    EXPECT_EQ(ReadFile(prefix + "pd_max.csv"),
              "-1.000000e+00,-1.000000e+00\n0.000000e+00,0.000000e+00\n2.500000e+00,1.000000e-09\n");
    // Another corner: no suffix, and no row has a value for it.
    EXPECT_EQ(DumpCrvCsv(c, 3, prefix.c_str(), "pd"), 0);
    EXPECT_EQ(ReadFile(prefix + "pd"), "");
    // A path of 128 bytes does not fit with its terminator; 127 does.
    std::string name(127 - prefix.size() - 8, 'n');
    EXPECT_EQ(DumpCrvCsv(c, QRY_TYP, prefix.c_str(), name.c_str()), 0);
    EXPECT_TRUE(Exists(prefix + name + "_typ.csv"));
    std::string longer = name + "n";
    EXPECT_EQ(DumpCrvCsv(c, QRY_TYP, prefix.c_str(), longer.c_str()), EOF);
    EXPECT_FALSE(Exists(prefix + longer + "_typ.csv"));
    EXPECT_EQ(DumpCrvCsv(c, QRY_TYP, (prefix + "missing/").c_str(), "pd"), EOF);
    CRV_Free(c);
    for (const char* f : {"pd_typ.csv", "pd_min.csv", "pd_max.csv", "pd"}) remove((prefix + f).c_str());
    remove((prefix + name + "_typ.csv").c_str());
    rmdir(dir);
}

// The monotonicity of single tables, at Note, from the functions without a
// caller: one message per column, none for another corner's NA column.
TEST(Acdc, SingleTablesAtNote)
{
    LogCapture log;
    ModelRecord m = {};
    strcpy(m.name, "m");
    m.Pulldown = MakeCurve({{0, 0, 0, 0}, {1, 1, 1, 1}, {2, 0.5, 2, 3}, {3, 2, 3, 4}});
    m.GndClamp = MakeCurve({{0, 0}, {-1, 0}, {1, 0}});   // x falls, then rises
    EXPECT_EQ(acdc_CheckModelProcessCurves(&m, QRY_TYP), 1);
    EXPECT_EQ(acdc_CheckModelProcessCurves(&m, QRY_MIN), 1);
    EXPECT_EQ(log.Take(), "N1509 - GND Clamp for Model: m Voltage data is non-monotonic\n"
                          "N1509 - Pulldown for Model: m Typical data is non-monotonic\n");
    SubmodelRecord s = {};
    strcpy(s.name, "dc");
    s.Submodel_type = 2;
    s.POWER_Clamp = MakeCurve({{0, 0, 0, 0}, {1, 1, 1, 1}, {2, 0, 2, 0}});
    EXPECT_EQ(acdc_CheckSubModel(&s), 1);
    EXPECT_EQ(log.Take(), "N1509 - POWER Clamp for SubModel: dc Typical data is non-monotonic\n"
                          "N1509 - POWER Clamp for SubModel: dc Maximum data is non-monotonic\n");
    s.Submodel_type = 3;   // Bus_hold: not checked
    EXPECT_EQ(acdc_CheckSubModel(&s), 1);
    acdc_SetCheckGate(0);
    s.Submodel_type = 2;
    EXPECT_EQ(acdc_CheckSubModel(&s), 1);
    acdc_SetCheckGate(1);
    EXPECT_EQ(log.Take(), "");
    CRV_Free(m.Pulldown);
    CRV_Free(m.GndClamp);
    CRV_Free(s.POWER_Clamp);
}

TEST(Chk, NodeNames)
{
    LogCapture log;
    ComponentRecord c = {};
    strcpy(c.name, "c");
    // Newest first, as the reader keeps them; the first entry has no name, as
    // an empty [Node Declarations] leaves it.
    std::vector<NodeNameEntry> nodes(6);
    const char* names[6] = {nullptr, "a", "b", "a", "a", "a"};
    for (int k = 0; k < 6; k++) {
        nodes[k].name = (char*)names[k];
        nodes[k].next = k + 1 < 6 ? &nodes[k + 1] : nullptr;
    }
    c.nodes = &nodes[0];
    PinRecord pins[2] = {};
    strcpy(pins[0].pinName, "a");
    strcpy(pins[1].pinName, "z");
    pins[0].next = &pins[1];
    c.pins = &pins[0];
    EXPECT_EQ(chk_CheckNode(&c), 0);
    // Four a: each of the three that a later a repeats; the pin a meets four
    // nodes.
    std::string a = "E1708 - Component <c>: Duplicate Node Name <a>\n";
    std::string p = "E1709 - Component <c>: Illegal Node: <a> same as pin <a>\n";
    EXPECT_EQ(log.Take(), a + a + a + p + p + p + p);
    EXPECT_EQ(chk_UniqueNode(&c, &nodes[1], nodes[2].next), 0);   // the last three: once
    EXPECT_EQ(log.Take(), a);
    EXPECT_EQ(chk_UniqueNode(&c, &nodes[0], &nodes[1]), 1);   // no name: nothing
    nodes[0].next = nullptr;
    EXPECT_EQ(chk_CheckNode(&c), 1);
    c.nodes = nullptr;
    EXPECT_EQ(chk_CheckNode(&c), 1);
    EXPECT_EQ(log.Take(), "");
}

// A whole read in process, its checks run with each gate off in turn.
class ChecksGate : public ::testing::Test {
protected:
    void SetUp() override
    {
        PARSE_SuppressBanners(1);
        ASSERT_TRUE(INIT());
    }
    void TearDown() override
    {
        acdc_SetCheckGate(1);
        chk_SetCheckGate(1);
        if (gpIbis != nullptr) IBIS_Free(gpIbis);
        PARSE_SuppressBanners(0);
    }
    void Read(const char* name)
    {
        std::string path = std::string(IBIS_FIXTURES) + "/" + name;
        ASSERT_EQ(PARSE(path.c_str(), FILE_IBS), 1);
        log.Take();
    }
    // The codes of one check run.
    std::vector<std::string> Codes()
    {
        IBIS_Test();
        std::vector<std::string> codes;
        std::istringstream in(log.Take());
        std::string line;
        while (std::getline(in, line))
            if (line.size() > 5 && isupper((unsigned char)line[0]) && isdigit((unsigned char)line[1]))
                codes.push_back(line.substr(0, 5));
        return codes;
    }
    static int Count(const std::vector<std::string>& codes, const char* prefix)
    {
        int n = 0;
        for (const auto& c : codes) n += c.compare(1, strlen(prefix), prefix) == 0;
        return n;
    }
    LogCapture log;
};

TEST_F(ChecksGate, EachGateSilencesOnlyItsOwnModule)
{
    Read("acdc_dc.ibs");
    auto all = Codes();
    EXPECT_EQ(Count(all, "15"), 10);
    acdc_SetCheckGate(0);
    auto noAcdc = Codes();
    EXPECT_EQ(Count(noAcdc, "15"), 0);
    EXPECT_EQ(noAcdc.size(), all.size() - 10);
    EXPECT_EQ(acdc_CheckAllModels(gpIbis->models), 0);
    EXPECT_EQ(acdc_CheckAllSubModels(gpIbis->models, gpIbis->submodels), 0);
    acdc_SetCheckGate(1);
    // Failed models: load, spec, clampy, od_pu, od_isso, os_pd, os_isso (mono
    // only warns about monotonicity).
    EXPECT_EQ(acdc_CheckAllModels(gpIbis->models), 7);
    log.Take();
    // The model tables are read, never changed.
    ModelRecord* mono = MDL_FindModel("mono", gpIbis->models);
    ASSERT_NE(mono, nullptr);
    std::vector<double> xs;
    for (RangePoint* p = mono->Pulldown->table; p != nullptr; p = p->next) xs.push_back(p->x_value);
    EXPECT_EQ(xs, (std::vector<double>{0, 1, 2, 3}));
}

TEST_F(ChecksGate, RangeGate)
{
    Read("chk_ranges.ibs");
    auto all = Codes();
    EXPECT_EQ(Count(all, "17"), 24);
    EXPECT_EQ(Count(all, "2021"), 2);
    chk_SetCheckGate(0);
    auto noChk = Codes();
    EXPECT_EQ(Count(noChk, "17"), 0);
    EXPECT_EQ(Count(noChk, "2021"), 0);
    EXPECT_EQ(noChk.size(), all.size() - 26);
    EXPECT_EQ(chk_CheckAllModels(gpIbis->models), 0);
    EXPECT_EQ(chk_CheckAllComponents(gpIbis->components), 0);
    EXPECT_EQ(chk_CheckAllSubModels(gpIbis->submodels), 0);
    EXPECT_EQ(chk_CheckModel(gpIbis->models), 1);
    chk_SetCheckGate(1);
    // Failed: caps, ts, od, os, waves (ts_ext passes); the three components;
    // the submodel hold.
    EXPECT_EQ(chk_CheckAllModels(gpIbis->models), 5);
    EXPECT_EQ(chk_CheckAllComponents(gpIbis->components), 3);
    EXPECT_EQ(chk_CheckAllSubModels(gpIbis->submodels), 1);
}

TEST_F(ChecksGate, AcdcGateKeepsRangeMessages)
{
    Read("acdc_wave.ibs");
    acdc_SetCheckGate(0);
    auto codes = Codes();
    EXPECT_EQ(Count(codes, "15"), 0);
    EXPECT_EQ(acdc_SetCheckGate(5), 1);
    EXPECT_EQ(chk_SetCheckGate(0), 0);
    codes = Codes();
    EXPECT_EQ(Count(codes, "1503"), 5);
}

}  // namespace
