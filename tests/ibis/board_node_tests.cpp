// Boards, circuit calls and node names through the checker program: a name
// repeated by n items gives n - 1 messages (two equal items give the one
// message they always gave), and the look-ups of the board reference check
// and of the circuit-call check find what a walk along the lists finds (the
// newest board, component or map entry of a name; names compared exactly).
// Every expected output is worked out by hand from the message formats.
#include <gtest/gtest.h>

#include <stdio.h>

#include <ostream>
#include <string>

#include "checker_run.h"

namespace {

// Small fixtures, whole output.
const CheckerCase kCases[] = {
    // Three pins P (4322 at the second and the third), two pins Q (one
    // 4322), three paths p, four map entries U1, boards b, b, e, b, e: the
    // board list is newest first, e b e b b, and each board that an older
    // board repeats is named once in that order.
    {"BoardRepeats", "-n -c ebd_repeat.ebd", 1,
     R"(
Checking ebd_repeat.ebd for IBIS 4.2 Compatibility...

E4322 (line    9) - Duplicate Pin <P>.
E4322 (line   11) - Duplicate Pin <P>.
E4322 (line   12) - Duplicate Pin <Q>.
E4354 (line   16) - Duplicate Path_Description 'p'
E4354 (line   18) - Duplicate Path_Description 'p'
E4373 (line   22) - Duplicate Reference Designator 'U1'
E4373 (line   24) - Duplicate Reference Designator 'U1'
E4373 (line   25) - Duplicate Reference Designator 'U1'
E4306 - Board Description 'e' is duplicated within the .ebd file.
E4306 - Board Description 'b' is duplicated within the .ebd file.
E4306 - Board Description 'b' is duplicated within the .ebd file.

Errors  : 11

File Failed
)"},
    // The nodes of board top, in path order (the Fork branch in its place):
    // U1.1 U1.9 U2.B1 | U4.P1 U4.P2 U5.X1 | U6.Q1 U6.Q7 U2.C9 U3.1 U1.2.
    // U4 and U5 name this file: board inner is defined twice and the newer
    // one (pins P2 only) is the one looked up, so P1 is missing; missing is
    // no board.  U6 is mapped twice; the newer entry, ebd_refsub.ebd, wins.
    // Three entries name ebd_refpart.ibs: one nested pass for all, files
    // newest first (ebd_refsub.ebd was met after ebd_refpart.ibs), each
    // file's references newest first.  In ebd_refpart.ibs component chip is
    // defined twice; the newer one has pins 1 and 2, so 9 is missing.
    {"BoardReferences", "-n -c ebd_refs.ebd", 1,
     R"(
Checking ebd_refs.ebd for IBIS 4.2 Compatibility...

E4373 (line   22) - Duplicate Reference Designator 'U6'
E4306 - Board Description 'inner' is duplicated within the .ebd file.
E4392 - Pin 'P1' not found on Component 'inner' in file 'ebd_refs.ebd'
E4391 - Component 'missing' not found in file 'ebd_refs.ebd'

Checking ebd_refsub.ebd for IBIS 4.2 Compatibility...

E4394 - Ebd file 'ebd_refsub.ebd' recursively references the component top in the calling Ebd file 'ebd_refs.ebd'
E4392 - Pin 'Q7' not found on Component 'sub' in file 'ebd_refsub.ebd'

Errors  : 2

File Failed

Checking ebd_refpart.ibs for IBIS 4.2 Compatibility...

E0511 - Component 'chip' is duplicated within the .ibs file.
E4391 - Component 'nochip' not found in file 'ebd_refpart.ibs'
E4392 - Pin 'C9' not found on Component 'dram' in file 'ebd_refpart.ibs'
E4392 - Pin '9' not found on Component 'chip' in file 'ebd_refpart.ibs'

Errors  : 4

File Failed

Errors  : 10

File Failed
)"},
    // Node words a b a / c b a c: the list is newest first, c a b c a b a.
    // 1708 for each node that a later one repeats: c a b a.  Pin a is given
    // twice (606); the three nodes a are each named once, at the first pin
    // a, not again at its repeat.
    {"NodeRepeats", "-n -c chk_nodes.ibs", 1,
     R"(
Checking chk_nodes.ibs for IBIS 5.0 Compatibility...

E0606 (line   13) - Duplicate Pin 'a'.
E1708 - Component <c>: Duplicate Node Name <c>
E1708 - Component <c>: Duplicate Node Name <a>
E1708 - Component <c>: Duplicate Node Name <b>
E1708 - Component <c>: Duplicate Node Name <a>
E1709 - Component <c>: Illegal Node: <a> same as pin <a>
E1709 - Component <c>: Illegal Node: <a> same as pin <a>
E1709 - Component <c>: Illegal Node: <a> same as pin <a>

Errors  : 8

File Failed
)"},
    // Five calls, checked newest first: tb at 34 (B_x is no port of tb),
    // TA at 31 (no circuit of that case), ta at 26, tb at 21, ta at 16.  Each
    // call of a circuit gets its own port table: only the call at 34 leaves
    // ports unwired.  The Port_map line at 29 repeats a port of its call.
    {"CircuitCallLookUps", "-n -c ccall_index.ibs", 1,
     R"(
Checking ccall_index.ibs for IBIS 5.0 Compatibility...

E1801 (line   29) - Redundant use of port <A_signal>
E1845 - [Circuit Call] at (line 34), no port <B_x> in [External Circuit] tb
E1838 - (line 31) No [External Circuit] for [Circuit Call] TA in Component cc
E1817 - Circuit Call Line 34 instantiates  External Circuit at 43 with Floating Internal Node <B_out> type ANALOG 
E1817 - Circuit Call Line 34 instantiates  External Circuit at 43 with Floating Internal Node <B_gnd> type ANALOG 

Errors  : 5

File Failed
)"},
};

class BoardNodeOutput : public ::testing::TestWithParam<CheckerCase> {};

TEST_P(BoardNodeOutput, WholeOutputAndStatus) { CheckCase(IBIS_FIXTURES, GetParam()); }

INSTANTIATE_TEST_SUITE_P(Fixtures, BoardNodeOutput, ::testing::ValuesIn(kCases), CaseName);

// ---------------------------------------------------------------------------
// Many equal items: the whole output, line by line, from the message
// formats.

const int kMany = 1000;

std::string Lines(const std::string& line, int n)
{
    std::string s;
    for (int i = 0; i < n; i++) s += line;
    return s;
}

std::string AtLine(const char* code, int line, const std::string& text)
{
    char head[32];
    snprintf(head, sizeof head, "%s (line %4d) - ", code, line);
    return head + text + "\n";
}

std::string Failed(int errors)
{
    return "\nErrors  : " + std::to_string(errors) + "\n\nFile Failed\n";
}

const char kEbdHead[] = "[IBIS Ver] 4.2\n[File Name] m.ebd\n[File Rev] 1.0\n";

std::string Board(const std::string& name, const std::string& pins, int pinCount,
                  const std::string& rest)
{
    return "[Begin Board Description] " + name + "\n[Manufacturer] Acme\n[Number Of Pins] " +
           std::to_string(pinCount) + "\n[Pin List] signal_name\n" + pins + rest +
           "[End Board Description]\n";
}

struct ManyCase {
    const char* name;
    const char* file;
    std::string (*text)();
    std::string (*expected)();
};

// Pins at lines 8 to 1007, all P.
std::string ManyPins()
{
    return kEbdHead + Board("b", Lines("P sig\n", kMany), kMany, "[Path Description] p\nPin P\n") +
           "[End]\n";
}
std::string ManyPinsOut()
{
    std::string s;
    for (int k = 2; k <= kMany; k++) s += AtLine("E4322", 7 + k, "Duplicate Pin <P>.");
    return s + Failed(kMany - 1);
}

// Pins P1..Pn at lines 8 to 1007; path k (all named p) at line 1006 + 2k
// names Pk.
std::string ManyPaths()
{
    std::string pins, paths;
    for (int k = 1; k <= kMany; k++) {
        pins += "P" + std::to_string(k) + " sig\n";
        paths += "[Path Description] p\nPin P" + std::to_string(k) + "\n";
    }
    return kEbdHead + Board("b", pins, kMany, paths) + "[End]\n";
}
std::string ManyPathsOut()
{
    std::string s;
    for (int k = 2; k <= kMany; k++)
        s += AtLine("E4354", 1006 + 2 * k, "Duplicate Path_Description 'p'");
    return s + Failed(kMany - 1);
}

// Map entries at lines 12 to 1011, all U; no node uses them.
std::string ManyRefs()
{
    return kEbdHead +
           Board("b", "A sig\n", 1,
                 "[Path Description] p\nPin A\n[Reference Designator Map]\n" +
                     Lines("U m.ebd c\n", kMany)) +
           "[End]\n";
}
std::string ManyRefsOut()
{
    std::string s;
    for (int k = 2; k <= kMany; k++)
        s += AtLine("E4373", 11 + k, "Duplicate Reference Designator 'U'");
    return s + Failed(kMany - 1);
}

std::string ManyBoards()
{
    return kEbdHead + Lines(Board("b", "A sig\n", 1, "[Path Description] p\nPin A\n"), kMany) +
           "[End]\n";
}
std::string ManyBoardsOut()
{
    return Lines("E4306 - Board Description 'b' is duplicated within the .ebd file.\n", kMany - 1) +
           Failed(kMany - 1);
}

const char kIbsHead[] =
    "[IBIS Ver] 5.0\n[File Name] m.ibs\n[File Rev] 1.0\n[Component] c\n[Manufacturer] M\n"
    "[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name\n";

// Node x on 1000 lines beside pin y.
std::string ManyNodes()
{
    return kIbsHead + std::string("y s POWER\n[Node Declarations]\n") + Lines("x\n", kMany) +
           "[End Node Declarations]\n[End]\n";
}
std::string ManyNodesOut()
{
    return Lines("E1708 - Component <c>: Duplicate Node Name <x>\n", kMany - 1) + Failed(kMany - 1);
}

// Pin x at lines 11 to 1010 and 1000 nodes x, ten to a line: each node is
// named like a pin once, whatever the number of pins x.
std::string NodesLikePins()
{
    return kIbsHead + Lines("x s POWER\n", kMany) + "[Node Declarations]\n" +
           Lines("x x x x x x x x x x\n", kMany / 10) + "[End Node Declarations]\n[End]\n";
}
std::string NodesLikePinsOut()
{
    std::string s;
    for (int k = 2; k <= kMany; k++) s += AtLine("E0606", 10 + k, "Duplicate Pin 'x'.");
    s += Lines("E1708 - Component <c>: Duplicate Node Name <x>\n", kMany - 1);
    s += Lines("E1709 - Component <c>: Illegal Node: <x> same as pin <x>\n", kMany);
    return s + Failed(3 * kMany - 2);
}

const ManyCase kMany_[] = {
    {"Pins4322", "m.ebd", ManyPins, ManyPinsOut},
    {"Paths4354", "m.ebd", ManyPaths, ManyPathsOut},
    {"MapEntries4373", "m.ebd", ManyRefs, ManyRefsOut},
    {"Boards4306", "m.ebd", ManyBoards, ManyBoardsOut},
    {"Nodes1708", "m.ibs", ManyNodes, ManyNodesOut},
    {"NodesLikePins1709", "m.ibs", NodesLikePins, NodesLikePinsOut},
};

void PrintTo(const ManyCase& c, std::ostream* os) { *os << c.name; }

class ManyEqual : public CheckerTempDir, public ::testing::WithParamInterface<ManyCase> {};

TEST_P(ManyEqual, OneMessagePerRepeat)
{
    const ManyCase& c = GetParam();
    Write(c.file, c.text());
    CheckerRun r = RunChecker(dir_, std::string("-n -c -q ") + c.file);
    EXPECT_EQ(r.out, c.expected());
    EXPECT_EQ(r.status, 1);
}

INSTANTIATE_TEST_SUITE_P(Codes, ManyEqual, ::testing::ValuesIn(kMany_),
                         [](const ::testing::TestParamInfo<ManyCase>& i) { return i.param.name; });

// ---------------------------------------------------------------------------
// Many references through the look-ups: each node looked up finds exactly
// what it names.  Pins 1..n of one component, every tenth node naming a pin
// beyond them; a board in the same file likewise.

TEST_F(CheckerTempDir, ManyNodesOntoPinsOfAnIbsFile)
{
    const int n = 2000;
    std::string part = "[IBIS Ver] 4.2\n[File Name] part.ibs\n[File Rev] 1.0\n[Component] chip\n"
                       "[Manufacturer] Acme\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\n"
                       "C_pkg 1p NA NA\n[Pin] signal_name model_name\n";
    for (int k = 1; k <= n; k++) part += std::to_string(k) + " s POWER\n";
    Write("part.ibs", part + "[End]\n");
    std::string nodes;
    for (int k = 1; k <= n; k++) nodes += "Node U1." + std::to_string(k % 10 ? k : n + k) + "\n";
    Write("m.ebd", kEbdHead +
                       Board("b", "A sig\n", 1,
                             "[Path Description] p\nPin A\n" + nodes +
                                 "[Reference Designator Map]\nU1 part.ibs chip\n") +
                       "[End]\n");
    // References newest first: n + n, n + n - 10, ..., n + 10.
    std::string missing;
    for (int k = n; k >= 10; k -= 10)
        missing += "E4392 - Pin '" + std::to_string(n + k) +
                   "' not found on Component 'chip' in file 'part.ibs'\n";
    const int errors = n / 10;
    CheckerRun r = RunChecker(dir_, "-n -c -q m.ebd");
    EXPECT_EQ(r.out, missing + Failed(errors) + Failed(errors));
}

TEST_F(CheckerTempDir, ManyNodesOntoPinsOfABoardInTheSameFile)
{
    const int n = 2000;
    std::string pins, nodes;
    for (int k = 1; k <= n; k++) {
        pins += "P" + std::to_string(k) + " NC\n";
        nodes += "Node U1.P" + std::to_string(k % 10 ? k : n + k) + "\n";
    }
    Write("m.ebd", kEbdHead +
                       Board("b", "A sig\n", 1,
                             "[Path Description] p\nPin A\n" + nodes +
                                 "[Reference Designator Map]\nU1 m.ebd b2\n") +
                       Board("b2", pins, n, "[Path Description] p\nPin P1\n") + "[End]\n");
    // In the order of the path: P(n+10), P(n+20), ..., P(2n).
    std::string missing;
    for (int k = 10; k <= n; k += 10)
        missing += "E4392 - Pin 'P" + std::to_string(n + k) +
                   "' not found on Component 'b2' in file 'm.ebd'\n";
    CheckerRun r = RunChecker(dir_, "-n -c -q m.ebd");
    EXPECT_EQ(r.out, missing + Failed(n / 10));
}

}  // namespace
