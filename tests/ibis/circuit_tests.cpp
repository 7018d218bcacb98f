// [Circuit Call] blocks: the records that their lines build, the line faults,
// names longer than their fields, and the port and node check of a
// component's calls.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <fstream>
#include <ostream>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "checker_run.h"
#include "circuit.h"
#include "cmn.h"
#include "component_read.h"
#include "cmpnt.h"
#include "errlog.h"
#include "extern.h"
#include "ibis.h"
#include "log_capture.h"
#include "parse.h"

namespace {

// A log text with every reader line number shown as "(line)": calls fed
// outside a read carry the line of whatever was read last.
std::string WithoutLines(const std::string& text)
{
    return std::regex_replace(text, std::regex("\\(line +[0-9]+\\)"), "(line)");
}

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) n++;
    return n;
}

// The Port_map entries of a call, newest first, as "port=node".
std::vector<std::string> PortMap(const CircuitCallRecord* call)
{
    std::vector<std::string> out;
    for (const PortMapEntry* e = call->portMap; e != nullptr; e = e->next)
        out.push_back(std::string(e->portName) + "=" + e->nodeName);
    return out;
}

using CircuitRead = ComponentRead;

// Every line fault of the fixture, in line order, and what each call kept.
TEST_F(CircuitRead, LinesFillTheirCall)
{
    ComponentRecord* c = Read("ccall_lines.ibs");
    ASSERT_NE(c, nullptr);
    const char* tooMany =
        "Too Many Signal Pins (only one instance of Signal_pin, Diff_signal_pins, or Series_pins "
        "is allowed)";
    std::string expected = std::string("E1805 (line   21) - Not Enough arguments to Signal_pin\n") +
                           "E1800 (line   23) - " + tooMany + " <2>\n" +
                           "E1800 (line   24) - " + tooMany + " <1>\n" +
                           "E1806 (line   24) - Extra Charaters on PIN line <extra>\n" +
                           "E1801 (line   27) - Redundant use of port <A_p>\n" +
                           "E1807 (line   28) - Missing port or pad name in Port_map\n" +
                           "E1804 (line   29) - Illegal parameter <port_map>\n" +
                           "E1807 (line   30) - Missing port or pad name in Port_map\n" +
                           "E1806 (line   33) - Extra Charaters on PIN line <4>\n" +
                           "E1800 (line   34) - " + tooMany + " <2>\n" +
                           "E1800 (line   34) - " + tooMany + " <3>\n" +
                           "E1800 (line   40) - " + tooMany + " <3>\n" +
                           "E1805 (line   45) - Not Enough arguments to Diff_signal_pins\n" +
                           "E1805 (line   46) - Not Enough arguments to Series_pins\n";
    EXPECT_EQ(log.Take(), expected);

    struct Want {
        unsigned line;
        const char* first;
        const char* second;
        std::vector<std::string> ports;
    };
    // Calls and their Port_map entries run newest first.
    const Want want[] = {
        {44, "3", "", {"A_n=5", "A_p=3"}},
        {38, "1", "2", {"A_p=1", "A_n=2"}},
        {32, "2", "3", {"A_n=3", "A_p=2"}},
        {20, "1", "", {"A_n=5", "A_p=1"}},
    };
    const CircuitCallRecord* call = c->circuitCalls;
    for (const Want& w : want) {
        ASSERT_NE(call, nullptr);
        EXPECT_EQ(call->beginLine, w.line);
        EXPECT_STREQ(call->externalCircuitName, "xc");
        EXPECT_STREQ(call->firstReferencePin, w.first) << w.line;
        EXPECT_STREQ(call->secondReferencePin, w.second) << w.line;
        EXPECT_EQ(PortMap(call), w.ports) << w.line;
        call = call->next;
    }
    EXPECT_EQ(call, nullptr);
}

// The analog rules run only while the Port_type switch is set; the file's
// Port_type lines are read under the same switch.
TEST_F(CircuitRead, AnalogRulesFollowThePortTypeSwitch)
{
    struct Switch {
        Switch() { gbEtcFlag = 1; }
        ~Switch() { gbEtcFlag = 0; }
    };
    {
        Switch on;
        ComponentRecord* c = Read("ccall_etc.ibs");
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(log.Take(), "");
        CCALL_checkPortNode(c, gpIbis->externalCircuits);
    }
    const char* list = "\n        [CCALL] Line 19 Node <%s>, Conflicting port = Port <%s> = %s";
    auto line = [&](const char* node, const char* port, const char* words) {
        char buf[200];
        snprintf(buf, sizeof buf, list, node, port, words);
        return std::string(buf);
    };
    // d also holds a digital driver (D_receive), which keeps it from 1829.
    std::string allOfD = line("d", "R3", "ANALOG_RECEIVER") + line("d", "U3", "AMS_UNKNOWN ") +
                         line("d", "D_receive", "DIGITAL DIGITAL_DRIVER ");
    std::string nodeD =
        "E1824 - Component etc Node <d>: is analog and digital" +
        line("d", "R3", "ANALOG_RECEIVER") +
        line("d", "D_receive", "DIGITAL DIGITAL_DRIVER ") + "\n" +
        "W1828 - Component <etc> Node: <d> has a digital driver but no obvious digital receiver\n"
        "        This indicates connection to a AMS port that 'may' be digital " +
        allOfD + "\n";
    std::string expected =
        "E1830 - Component <etc> Node: <a> has a analog receiver but no analog driver" +
        line("a", "R1", "ANALOG_RECEIVER") + line("a", "R2", "ANALOG_RECEIVER") + "\n" +
        "E1832 - Component <etc> Node: <b> has a analog driver but no analog receiver" +
        line("b", "D1", "ANALOG_DRIVER ") + line("b", "D2", "ANALOG_DRIVER ") + "\n" +
        "E1829 - Component <etc> Node: <c> has no defined drivers" +
        line("c", "U1", "AMS_UNKNOWN ") + line("c", "U2", "AMS_UNKNOWN ") + "\n" +
        nodeD +
        "W1831 - Component <etc> Node: <d> has a analog receiver but no obvious analog driver\n"
        "        This indicates connection to a AMS port that 'may' be analog " +
        allOfD + "\n" +
        "W1833 - Component <etc> Node: <e> has a analog driver but no obvious analog receiver\n"
        "        This indicates connection to a AMS port that 'may' be analog " +
        line("e", "D3", "ANALOG_DRIVER ") + line("e", "U4", "AMS_UNKNOWN ") + "\n";
    EXPECT_EQ(log.Take(), expected);

    // Switch off: the same records give only the rules that always apply.
    CCALL_checkPortNode(gpIbis->components, gpIbis->externalCircuits);
    EXPECT_EQ(log.Take(), nodeD);
}

// States that no file can make, reached by changing the records that a
// read built: a port wired twice by one call (the line reader refuses the
// second Port_map line), two calls on one line naming different circuits,
// and a node-name entry without its name.  Each is reported and the check
// goes on.
TEST_F(CircuitRead, ImpossibleRecordsAreReportedNotFollowed)
{
    ComponentRecord* c = Read("ccall_ok.ibs");
    ASSERT_NE(c, nullptr);
    ASSERT_NE(c->circuitCalls, nullptr);
    log.Take();
    PortMapEntry* again = nullptr;
    ASSERT_TRUE(CMN_malloc((void**)&again, sizeof(PortMapEntry)));
    strcpy(again->portName, "A_signal");
    strcpy(again->nodeName, "1");
    again->next = c->circuitCalls->portMap;
    c->circuitCalls->portMap = again;
    NodeNameEntry* empty = nullptr;
    ASSERT_TRUE(CMN_malloc((void**)&empty, sizeof(NodeNameEntry)));
    empty->next = c->nodes;
    c->nodes = empty;
    CCALL_checkPortNode(c, gpIbis->externalCircuits);
    EXPECT_EQ(log.Take(), "E1815 - [CIRCUIT CALL] Line: <18> Redundant use of port <A_signal>\n");

    ComponentRecord* ports = Read("ccall_check.ibs");
    ASSERT_NE(ports, nullptr);
    ASSERT_STREQ(ports->name, "ports");
    log.Take();
    // pair at line 70 takes the line of three at 66.
    CircuitCallRecord* pair = ports->circuitCalls->next->next->next;
    ASSERT_EQ(pair->beginLine, 70u);
    pair->beginLine = 66;
    CCALL_checkPortNode(ports, gpIbis->externalCircuits);
    std::string out = WithoutLines(log.Take());
    EXPECT_EQ(Count(out, "B1810 - should not be here IbisParser/circuit "), 1u) << out;
    // The calls after it are still checked.
    EXPECT_NE(out.find("E1827 - Component <ports> Node: <n3>"), std::string::npos) << out;
}

// One call fed line by line: results, messages (with the reader's line 0)
// and the fields left behind.
struct LineCase {
    const char* name;
    std::vector<const char*> lines;
    std::vector<int> results;
    const char* messages;
    const char* first;
    const char* second;
    std::vector<std::string> ports;
};

const LineCase kLineCases[] = {
    {"SignalPinTakesTheFirstField", {"Signal_pin 7", "  Signal_pin 8 9"}, {1, 1},
     "E1800 (line) - Too Many Signal Pins (only one instance of Signal_pin, Diff_signal_pins, "
     "or Series_pins is allowed) <8>\n"
     "E1806 (line) - Extra Charaters on PIN line <9>\n",
     "7", "", {}},
    {"DiffPinsKeepTheFirstWhenTheSecondIsMissing", {"Diff_signal_pins 7"}, {1},
     "E1805 (line) - Not Enough arguments to Diff_signal_pins\n", "7", "", {}},
    {"SeriesPinsAfterSignalPinFillTheSecond", {"Signal_pin 1", "Series_pins 2 3"}, {1, 1},
     "E1800 (line) - Too Many Signal Pins (only one instance of Signal_pin, Diff_signal_pins, "
     "or Series_pins is allowed) <3>\n",
     "1", "2", {}},
    {"PortMapWordsSplitAtTabs", {"Port_map\tp1\tn1", "Port_map p2 n2 extra"}, {1, 1},
     "", "", "",
     {"p2=n2", "p1=n1"}},
    {"IncompleteAndUnknownLinesReturnZero", {"Port_map p1", "Signal_Pin 1", "Signal_pin"},
     {0, 0, 1},
     "E1807 (line) - Missing port or pad name in Port_map\n"
     "E1804 (line) - Illegal parameter <Signal_Pin>\n"
     "E1805 (line) - Not Enough arguments to Signal_pin\n",
     "", "", {}},
    {"RepeatedPortIsRefusedWhateverItsNode", {"Port_map p n1", "Port_map p n2", "Port_map P n2"},
     {1, 1, 1}, "E1801 (line) - Redundant use of port <p>\n", "", "", {"P=n2", "p=n1"}},
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class CircuitLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(CircuitLines, FieldsAndMessages)
{
    const LineCase& c = GetParam();
    LogCapture log;
    CircuitCallRecord* call = CCALL_New(3, "ext");
    ASSERT_NE(call, nullptr);
    std::vector<int> results;
    for (const char* line : c.lines) {
        std::string text = line;
        results.push_back(CCALL_ParseLine(&text[0], &call));
    }
    EXPECT_EQ(results, c.results);
    EXPECT_EQ(WithoutLines(log.Take()), c.messages);
    EXPECT_STREQ(call->firstReferencePin, c.first);
    EXPECT_STREQ(call->secondReferencePin, c.second);
    EXPECT_EQ(PortMap(call), c.ports);
    CCALL_FreeList(call);
}

INSTANTIATE_TEST_SUITE_P(Cases, CircuitLines, ::testing::ValuesIn(kLineCases),
                         [](const ::testing::TestParamInfo<LineCase>& i) { return i.param.name; });

// Words of several hundred characters are cut to their fields with the
// setter's message and never written past them.
TEST(CircuitLongNames, CutToTheirFields)
{
    LogCapture log;
    std::string longName(300, 'x');
    CircuitCallRecord* call = CCALL_New(1, longName.c_str());
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(std::string(call->externalCircuitName), longName.substr(0, 40));
    std::string pins = "Diff_signal_pins " + std::string(200, 'a') + " " + std::string(400, 'b');
    EXPECT_EQ(CCALL_ParseLine(&pins[0], &call), 1);
    EXPECT_EQ(std::string(call->firstReferencePin), "aaaaa");
    EXPECT_EQ(std::string(call->secondReferencePin), "bbbbb");
    std::string map = "Port_map " + std::string(500, 'p') + " " + std::string(600, 'n');
    EXPECT_EQ(CCALL_ParseLine(&map[0], &call), 1);
    ASSERT_NE(call->portMap, nullptr);
    EXPECT_EQ(std::string(call->portMap->portName), std::string(40, 'p'));
    EXPECT_EQ(std::string(call->portMap->nodeName), std::string(46, 'n'));
    // The same port cut the same way is a repeat.
    std::string again = "Port_map " + std::string(41, 'p') + " other";
    EXPECT_EQ(CCALL_ParseLine(&again[0], &call), 1);
    EXPECT_EQ(call->portMap->next, nullptr);
    std::string sub = std::string(700, 'S') + " 1";
    EXPECT_EQ(CCALL_ParseLine(&sub[0], &call), 0);
    std::string text = log.Take();
    auto count = [&](const std::string& what) {
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            n++;
        return n;
    };
    EXPECT_EQ(count("E1912"), 6u);
    EXPECT_EQ(count("truncating to 40 characters."), 3u);   // the name, both ports
    EXPECT_EQ(count("truncating to 5 characters."), 2u);
    EXPECT_EQ(count("truncating to 46 characters."), 1u);
    EXPECT_EQ(count("E1801"), 1u);
    EXPECT_NE(text.find("Redundant use of port <" + std::string(40, 'p') + ">"), std::string::npos);
    EXPECT_EQ(count("E1804"), 1u);
    CCALL_FreeList(call);
}

// Many Port_map lines in one call keep their order and find repeats.
TEST(CircuitLongNames, ManyPortMapLines)
{
    LogCapture log;
    CircuitCallRecord* call = CCALL_New(1, "ext");
    ASSERT_NE(call, nullptr);
    const int n = 20000;
    for (int i = 0; i < n; i++) {
        std::string line = "Port_map p" + std::to_string(i) + " n" + std::to_string(i % 7);
        CCALL_ParseLine(&line[0], &call);
    }
    std::string repeat = "Port_map p123 n1";
    CCALL_ParseLine(&repeat[0], &call);
    EXPECT_EQ(WithoutLines(log.Take()), "E1801 (line) - Redundant use of port <p123>\n");
    int count = 0;
    int expect = n - 1;
    bool ordered = true;
    for (PortMapEntry* e = call->portMap; e != nullptr; e = e->next, expect--, count++)
        ordered = ordered && std::string(e->portName) == "p" + std::to_string(expect);
    EXPECT_EQ(count, n);
    EXPECT_TRUE(ordered);
    CCALL_FreeList(call);
}

// The words of a kind, bit by bit and in their fixed order.
TEST(CircuitKinds, Words)
{
    const std::pair<unsigned, const char*> cases[] = {
        {0x0, ""},
        {0x1, "NC "},
        {0x2, "UNKNOWN "},
        {0x3, "NC "},
        {0x400, ""},
        {0x402, "UNKNOWN "},
        {0x4, "DIGITAL "},
        {0x1000, "ANALOG_RECEIVER"},
        {0x1301, "ANALOG_PIN ANALOG_DRIVER ANALOG_RECEIVER"},
        {0x40C, "DIGITAL DIGITAL_DRIVER "},
        {0x2E0, "ANALOG_RESERVE ANALOG_REFERENCE ANALOG ANALOG_DRIVER "},
        {0x814, "AMS_UNKNOWN DIGITAL DIGITAL_RECEIVER "},
        {0xFFFF,
         "AMS_UNKNOWN DIGITAL DIGITAL_DRIVER DIGITAL_RECEIVER ANALOG_RESERVE ANALOG_REFERENCE "
         "ANALOG ANALOG_PIN ANALOG_DRIVER ANALOG_RECEIVER"},
    };
    for (const auto& c : cases) EXPECT_STREQ(CCALL_etype(c.first), c.second) << std::hex << c.first;
}

// Without external circuits every call is reported, by its keyword line.
TEST(CircuitExternal, MissingCircuitsAreNamed)
{
    LogCapture log;
    CircuitCallRecord* a = CCALL_New(12, "first");
    CircuitCallRecord* b = CCALL_New(30, "second");
    ASSERT_TRUE(a != nullptr && b != nullptr);
    b->next = a;
    CCALL_checkExtCircuitExist(b, nullptr);
    EXPECT_EQ(log.Take(), "E1808 - (Line 30) No [External Circuit] second for [Circuit Call]\n"
                          "E1808 - (Line 12) No [External Circuit] first for [Circuit Call]\n");
    // Against the circuits of a read.
    PARSE_SuppressBanners(1);
    ASSERT_TRUE(INIT());
    ASSERT_EQ(PARSE(IBIS_FIXTURES "/ccall_check.ibs", FILE_IBS), 1);
    PARSE_SuppressBanners(0);
    log.Take();
    ExternalCircuitRecord* circuits = gpIbis->externalCircuits;
    ASSERT_NE(circuits, nullptr);
    int calls = 0;
    for (ComponentRecord* c = gpIbis->components; c != nullptr; c = c->next) {
        CCALL_checkExtCircuitExist(c->circuitCalls, circuits);
        for (CircuitCallRecord* r = c->circuitCalls; r != nullptr; r = r->next) calls++;
    }
    EXPECT_EQ(calls, 10);
    EXPECT_EQ(log.Take(), "E1808 - (Line 16) No [External Circuit] nothere for [Circuit Call]\n");
    IBIS_Free(gpIbis);
    CCALL_checkExtCircuitExist(nullptr, nullptr);
    EXPECT_EQ(log.Take(), "");
    CCALL_FreeList(b);
}

// ---------------------------------------------------------------------------
// Whole checker runs.  The expected texts were worked out by hand from the
// message formats and the port kinds of each fixture's calls; a text of 72
// to 75 characters of an error goes on its own line after "-".

const CheckerCase kCheckerCases[] = {
    // Both ports of a SPICE circuit wired to pins: nothing to report.
    {"CallWiringEveryPort", "-n -c ccall_ok.ibs", 0, R"(
Checking ccall_ok.ibs for IBIS 5.0 Compatibility...

Errors  : 0

File Passed
)"},
    // The line faults; every call still wires both ports, so the check adds
    // nothing.
    {"LineFaults", "-n -c ccall_lines.ibs", 1, R"(
Checking ccall_lines.ibs for IBIS 5.0 Compatibility...

E1805 (line   21) - Not Enough arguments to Signal_pin
E1800 (line   23) - Too Many Signal Pins (only one instance of Signal_pin, Diff_signal_pins, or Series_pins is allowed) <2>
E1800 (line   24) - Too Many Signal Pins (only one instance of Signal_pin, Diff_signal_pins, or Series_pins is allowed) <1>
E1806 (line   24) - Extra Charaters on PIN line <extra>
E1801 (line   27) - Redundant use of port <A_p>
E1807 (line   28) - Missing port or pad name in Port_map
E1804 (line   29) - Illegal parameter <port_map>
E1807 (line   30) - Missing port or pad name in Port_map
E1806 (line   33) - Extra Charaters on PIN line <4>
E1800 (line   34) - Too Many Signal Pins (only one instance of Signal_pin, Diff_signal_pins, or Series_pins is allowed) <2>
E1800 (line   34) - Too Many Signal Pins (only one instance of Signal_pin, Diff_signal_pins, or Series_pins is allowed) <3>
E1800 (line   40) - Too Many Signal Pins (only one instance of Signal_pin, Diff_signal_pins, or Series_pins is allowed) <3>
E1805 (line   45) - Not Enough arguments to Diff_signal_pins
E1805 (line   46) - Not Enough arguments to Series_pins

Errors  : 14

File Failed
)"},
    // Components newest first; in each, the call findings newest call
    // first, then the unwired ports, then the nodes newest first.
    {"CallsAgainstCircuitsPinsAndNodes", "-n -c ccall_check.ibs", 1, R"(
Checking ccall_check.ibs for IBIS 5.0 Compatibility...

E1846 - [Circuit Call] at (line 75), no node/pin <zz> in Component ports
E1845 -
    [Circuit Call] at (line 70), no port <A_nope> in [External Circuit] pair
E1817 - Circuit Call Line 66 instantiates  External Circuit at 93 with Floating Internal Node <A_extra> type ANALOG 
W1822 - Component <ports> Unused Node <n1> (0 connection)
E1821 - Component <ports> Floating Node <n2> (1 connection)
        [CCALL] Line 79 Node <n2>, Conflicting port = Port <A_signal> = ANALOG 
E1821 - Component <ports> Floating Node <n3> (1 connection)
        [CCALL] Line 83 Node <n3>, Conflicting port = Port <D_receive> = DIGITAL 
E1827 - Component <ports> Node: <n3> has a digital driver but no digital receiver
        [CCALL] Line 83 Node <n3>, Conflicting port = Port <D_receive> = DIGITAL DIGITAL_DRIVER 
E1842 -
    CMPT <refpins>, [CIRCUIT CALL] at (line 42) references same pin twice: <1>
E1840 - [Circuit Call] at (line 37) first reference pin <2> is not declared CIRCUITCALL in [Pin] section
E1841 - [Circuit Call] at (line 37) second reference pin <3> is not declared CIRCUITCALL in [Pin] section
E1839 -
    CMPT <refpins>, [Circuit Call] at (line 32) refererences illegal pin: <7>
E1823 - Component <refpins> Floating Pin <4> (no connections but used in CIRCIUT CALL)
E1838 - (line 16) No [External Circuit] for [Circuit Call] nothere in Component unknown

Errors  : 12
Warnings: 1

File Failed
)"},
    // Converters of SPICE circuits meeting VHDL-AMS ports and pins.  fight:
    // two calls drive pin 1 through their D_to_A, and both analog ends of
    // each converter sit on nodes marked 0x40 (two analog drivers on 1,
    // A_gnd's reference on 2).  mix1 and mix2 join a VHDL-AMS and a
    // Verilog-AMS port to a converter's digital port.  odd: A_x is a Ports
    // word and the digital port of an A_to_D, left unwired.
    {"MixedNodesAndConverters", "-n -c ccall_mix.ibs", 1, R"(
Checking ccall_mix.ibs for IBIS 5.0 Compatibility...

E1825 - Component <fight> Node: <nd> has a digital receiver but no digital driver
        [CCALL] Line 110 Node <nd>, Conflicting port = Line <125> Port <D_drive> = DIGITAL DIGITAL_RECEIVER 
        [CCALL] Line 115 Node <nd>, Conflicting port = Line <125> Port <D_drive> = DIGITAL DIGITAL_RECEIVER 
E1819 - CCALL Line <115> A2D Line <125> Illegal connection,
        2 analog reference/driver ports <A_out>=<1> <A_gnd>=<2>
        [CCALL] Line 110 Node <1>, Conflicting port = Line <125> Port <A_out> = ANALOG_DRIVER 
        [CCALL] Line 115 Node <1>, Conflicting port = Line <125> Port <A_out> = ANALOG_DRIVER 
        [CCALL] Line 110 Node <2>, Conflicting port = Line <125> Port <A_gnd> = ANALOG_RESERVE ANALOG_REFERENCE ANALOG_DRIVER 
        [CCALL] Line 115 Node <2>, Conflicting port = Line <125> Port <A_gnd> = ANALOG_RESERVE ANALOG_REFERENCE ANALOG_DRIVER 
E1819 - CCALL Line <110> A2D Line <125> Illegal connection,
        2 analog reference/driver ports <A_out>=<1> <A_gnd>=<2>
        [CCALL] Line 110 Node <1>, Conflicting port = Line <125> Port <A_out> = ANALOG_DRIVER 
        [CCALL] Line 115 Node <1>, Conflicting port = Line <125> Port <A_out> = ANALOG_DRIVER 
        [CCALL] Line 110 Node <2>, Conflicting port = Line <125> Port <A_gnd> = ANALOG_RESERVE ANALOG_REFERENCE ANALOG_DRIVER 
        [CCALL] Line 115 Node <2>, Conflicting port = Line <125> Port <A_gnd> = ANALOG_RESERVE ANALOG_REFERENCE ANALOG_DRIVER 
E1818 - Internal Node <A_x>, External Circuit at 143: is analog and digital
W1828 - Component <mix2> Node: <ny> has a digital driver but no obvious digital receiver
        This indicates connection to a AMS port that 'may' be digital 
        [CCALL] Line 76 Node <ny>, Conflicting port = Line <131> Port <D_receive> = DIGITAL DIGITAL_DRIVER 
        [CCALL] Line 81 Node <ny>, Conflicting port = Port <A_x> = AMS_UNKNOWN 
W1826 - Component <mix1> Node: <nx> has a digital receiver but no obvious digital driver
        This indicates connection to a AMS port that 'may' be digital 
        [CCALL] Line 54 Node <nx>, Conflicting port = Line <125> Port <D_drive> = DIGITAL DIGITAL_RECEIVER 
        [CCALL] Line 59 Node <nx>, Conflicting port = Port <A_x> = AMS_UNKNOWN 
E1824 - Component adc1 Node <2>: is analog and digital
        [CCALL] Line 36 Node <2>, Conflicting port = Line <131> Port <D_receive> = DIGITAL DIGITAL_DRIVER 
E1827 - Component <adc1> Node: <2> has a digital driver but no digital receiver
        [CCALL] Line 36 Node <2>, Conflicting port = Line <131> Port <D_receive> = DIGITAL DIGITAL_DRIVER 
E1834 - Component <adc1> Pin <2> Used as Digital in CIRCUIT CALL(s)(pins are analog)
        [CCALL] Line 36 Node <2>, Conflicting port = Line <131> Port <D_receive> = DIGITAL DIGITAL_DRIVER 
E1825 - Component <dac1> Node: <nd> has a digital receiver but no digital driver
        [CCALL] Line 20 Node <nd>, Conflicting port = Line <125> Port <D_drive> = DIGITAL DIGITAL_RECEIVER 

Errors  : 8
Warnings: 2

File Failed
)"},
};

class CircuitOutput : public ::testing::TestWithParam<CheckerCase> {};

TEST_P(CircuitOutput, WholeOutputAndStatus) { CheckCase(IBIS_FIXTURES, GetParam()); }

INSTANTIATE_TEST_SUITE_P(Fixtures, CircuitOutput, ::testing::ValuesIn(kCheckerCases), CaseName);

// ---------------------------------------------------------------------------
// Hostile files, written at run time and checked in process.

// Reads and checks text as the file name in a fresh directory; returns the
// log.
std::string CheckFile(const std::string& name, const std::string& text)
{
    char dir[] = "/tmp/ccallXXXXXX";
    if (mkdtemp(dir) == nullptr) return "no directory";
    std::string path = std::string(dir) + "/" + name;
    std::ofstream(path) << text;
    LogCapture log;
    int banners = gbSuppressBanners;
    PARSE_SuppressBanners(1);
    if (INIT()) {
        if (PARSE(path.c_str(), FILE_IBS)) (TEST)(FILE_IBS, 0);
    }
    FINI();
    gbSuppressBanners = banners;
    unlink(path.c_str());
    rmdir(dir);
    return log.Take();
}

std::string Header(const char* name)
{
    return std::string("[IBIS Ver] 5.0\n[File Name] ") + name +
           "\n[File Rev] 1.0\n[Component] c\n[Manufacturer] M\n[Package]\nR_pkg 1 NA NA\n"
           "L_pkg 1n NA NA\nC_pkg 1p NA NA\n";
}

// Names of hundreds of characters in every field of a call and in the
// circuit's Ports: each side is cut the same way, so the call still finds
// its circuit and its ports.  A node name keeps 46 characters, a [Pin] name
// five: a pin named at length in Port_map is no pin.
TEST(CircuitHostile, LongNamesMatchInTheirCutForm)
{
    std::string port(500, 'p'), node(300, 'n'), circuit(300, 'c'), pin(200, '1');
    std::string text = Header("long.ibs") + "[Pin] signal_name model_name\n" + pin +
                       " s CIRCUITCALL\n2 g GND\n[Node Declarations]\n" + node +
                       "\n[End Node Declarations]\n[Circuit Call] " + circuit + "\nSignal_pin " + pin +
                       "\nPort_map " + port + " " + node + "\nPort_map A_gnd 2\nPort_map " +
                       std::string(200, 'q') + " " + pin + "\n[End Circuit Call]\n[External Circuit] " +
                       circuit + "\nLanguage SPICE\nCorner Typ x.sp x\nPorts " + port + " A_gnd " +
                       std::string(400, 'q') + "\n[End External Circuit]\n[End]\n";
    std::string out = CheckFile("long.ibs", text);
    EXPECT_EQ(Count(out, "E1912"), 7u);   // pin row, call, reference pin, 2 ports, 2 nodes
    EXPECT_EQ(Count(out, "E1838"), 0u);
    EXPECT_EQ(Count(out, "E1845"), 0u);
    EXPECT_EQ(Count(out, "E1839"), 0u);
    std::string n46 = node.substr(0, 46);
    const std::string findings[] = {
        "E1846 - [Circuit Call] at (line 16), no node/pin <" + pin.substr(0, 46) + "> in Component c\n",
        "E1817 - Circuit Call Line 16 instantiates  External Circuit at 22 with Floating Internal "
        "Node <" + std::string(40, 'q') + "> type ANALOG \n",
        "E1821 - Component <c> Floating Node <" + n46 + "> (1 connection)\n        [CCALL] Line 16 Node <" +
            n46 + ">, Conflicting port = Port <" + port.substr(0, 40) + "> = ANALOG \n",
        "E1823 - Component <c> Floating Pin <11111> (no connections but used in CIRCIUT CALL)\n",
    };
    size_t at = 0;
    for (const std::string& f : findings) {
        size_t found = out.find(f, at);
        EXPECT_NE(found, std::string::npos) << f << out;
        if (found != std::string::npos) at = found;
    }
    EXPECT_EQ(Count(out, "E18"), 4u) << out;
}

// 150 converters drive one node and their digital ports share another: the
// connection lists far exceed their buffers and are cut, never overrun.
TEST(CircuitHostile, OneNodeOfManyConverters)
{
    std::string text = Header("wide.ibs") +
                       "[Pin] signal_name model_name\n1 s CIRCUITCALL\n2 g GND\n"
                       "[Node Declarations]\nm\n[End Node Declarations]\n[Circuit Call] wide\n";
    std::string ports, converters;
    for (int k = 0; k < 150; k++) {
        std::string p = "P" + std::to_string(k), d = "d" + std::to_string(k);
        text += "Port_map " + p + " 1\nPort_map " + d + " m\n";
        ports += (k % 10 == 0 ? "\nPorts " : " ") + p;   // a Ports line keeps 30 words
        converters += "D_to_A " + d + " " + p + " A_gnd 0 1 1n 1n\n";
    }
    text += "Port_map A_gnd 2\n[End Circuit Call]\n[External Circuit] wide\nLanguage SPICE\n"
            "Corner Typ w.sp w\nPorts A_gnd" +
            ports + "\n" + converters + "[End External Circuit]\n[End]\n";
    std::string out = CheckFile("wide.ibs", text);
    EXPECT_EQ(Count(out, "E0"), 0u) << out.substr(0, 2000);
    // Every converter drives pin 1 with 149 others and has A_gnd on pin 2.
    EXPECT_EQ(Count(out, "E1819 - CCALL Line <16>"), 150u);
    EXPECT_EQ(Count(out, "E1825 - Component <c> Node: <m>"), 1u);
    // Each message stops at the log's bound; 150 listed connections would
    // need far more.
    size_t longest = 0, start = 0;
    for (size_t at = out.find("\nE", 1); start != std::string::npos; start = at, at = out.find("\nE", at + 1)) {
        size_t end = at == std::string::npos ? out.size() : at;
        longest = std::max(longest, end - start);
        if (at == std::string::npos) break;
    }
    EXPECT_LT(longest, (size_t)ERRLOG_MESSAGE_SIZE + 100);
    EXPECT_LT(Count(out, "[CCALL] Line"), 150u * 150u);
}

// Hundreds of calls in one component, each on its own pin: nothing to
// report, and nothing left behind for the next component or read.
TEST(CircuitHostile, HundredsOfCalls)
{
    std::string pins = "[Pin] signal_name model_name\n", calls;
    for (int k = 1; k <= 400; k++) {
        std::string pin = "p" + std::to_string(k);
        pins += pin + " s CIRCUITCALL\n";
        calls += "[Circuit Call] term\nSignal_pin " + pin + "\nPort_map A_signal " + pin +
                 "\nPort_map A_gnd g\n[End Circuit Call]\n";
    }
    std::string text = Header("many.ibs") + pins + "g gnd GND\n" + calls +
                       "[External Circuit] term\nLanguage SPICE\nCorner Typ t.sp t\n"
                       "Ports A_signal A_gnd\n[End External Circuit]\n[End]\n";
    EXPECT_EQ(CheckFile("many.ibs", text), "Errors  : 0\n\nFile Passed\n");
    EXPECT_EQ(CheckFile("many.ibs", text), "Errors  : 0\n\nFile Passed\n");
}

// Every prefix of the mixed fixture reads and checks without a stop.
TEST(CircuitHostile, EveryTruncationOfAFixture)
{
    std::ifstream in(std::string(IBIS_FIXTURES) + "/ccall_mix.ibs");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(text.size(), 1000u);
    size_t lines = 0;
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
        CheckFile("ccall_mix.ibs", text.substr(0, at + 1));
        CheckFile("ccall_mix.ibs", text.substr(0, at));
        lines++;
    }
    EXPECT_GT(lines, 100u);
}

}  // namespace
