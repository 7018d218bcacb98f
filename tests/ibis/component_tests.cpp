// The component group of the reader: whole checker output for small files
// (one per keyword family and IBIS version), the records that the reader
// builds, and the search of the .pkg files beside an .ibs file.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "checker_run.h"
#include "cmn.h"
#include "component_read.h"
#include "cmpnt.h"
#include "errlog.h"
#include "ibis.h"
#include "log_capture.h"
#include "mdl.h"
#include "msel.h"
#include "pkgmdl.h"
#include "rng.h"
#include "parse.h"

namespace {

// The source line in a program-bug text ("IbisParser/cmpnt:123:") becomes
// "L", so that the expected texts do not depend on where a line of the
// reader sits.
CheckerRun Normalized(CheckerRun r)
{
    r.out = std::regex_replace(r.out, std::regex("(IbisParser/[a-z]+):[0-9]+:"), "$1:L:");
    return r;
}

struct Case {
    const char* name;
    const char* file;
    const char* expected;
};

// Numbered messages with cautions shown (-n -c).  A text of 60 to 75
// characters of a line error (58 to 75 of a line warning, 72 to 75 of a plain
// error, 70 to 75 of a plain warning) goes on its own line.
const Case kCases[] = {
    {"ComponentKeywordsVersion5", "comp50.ibs",
     R"X(
Checking comp50.ibs for IBIS 5.0 Compatibility...

W0513 (line    4) - Component 'My Chip' contains a blank character.
E0540 (line    5) - Invalid Si_location ("pin") (try "Pin")
E0539 (line    6) -
    Incorrect Number of Line Items (3) For Timing_location: Expecting 2
E0537 (line    7) - Si_location Already Defined For Component 'My Chip'
E0535 (line    8) - Unknown Line after Component Description
E0537 (line    9) - Timing_location Already Defined For Component 'My Chip'
E0538 (line    9) - 'Timing_location' Subparameter Missing Setting
E0507 (line   11) - Data on this line appears to be for the Manufacturer keyword, which does not allow data on subsequent lines.
E1911 (line   12) - Duplicate 'Manufacturer' keyword.
E0508 (line   14) - Data on this line appears to be for the Package Model keyword, which does not allow data on subsequent lines.
E0503 (line   15) - Unexpected End Alternate Package Models keyword
E1603 (line   15) - Alternate Package Model has no package models defined
E0521 (line   16) - Unknown data after [Alternate Package Models] keyword.
E0504 (line   18) - Expecting End Alternate Package Models keyword
E0509 (line   24) - IbisParser/cmpnt:L:Unknown keyword received data.
E0548 (line   25) - Duplicate Node Declaration keyword found.
E0509 (line   29) - IbisParser/cmpnt:L:Unknown keyword received data.
W4712 (line   31) - Empty Emi Component block found
E0519 - Keyword 'Package' not defined for Component 'My Chip'.
E0519 - Keyword 'Package' not defined for Component 'Second'.
E0519 - Keyword 'Package' not defined for Component 'Second'.
E0511 - Component 'Second' is duplicated within the .ibs file.
E0524 - Unable to find Pin keyword data for Component 'Second'.
E0516 - Unable to find Package Model 'QFP100' for Component 'My Chip'
E1838 - (line 26) No [External Circuit] for [Circuit Call] extc in Component My Chip
E0516 - Unable to find Package Model 'pkgA' for Component 'My Chip'

Errors  : 24
Warnings: 2

File Failed
)X"},
    {"PinsAndPinMappingVersion2", "comp21.ibs",
     R"X(
Checking comp21.ibs for IBIS 2.1 Compatibility...

E0506 (line    5) - Data on this line appears to be for the Component keyword, which does not allow data on subsequent lines.
E1912 (line   10) - Model name string 'buffer_model_name_long_x' is too long, truncating to 20 characters.
E0604 (line   11) - Each line of Pin data must contain either 3 or 6 columns.
E0606 (line   12) - Duplicate Pin '1'.
E1912 (line   13) -
    Pin string 'pin678' is too long, truncating to 5 characters.
E0729 (line   17) - na is an invalid Pin_Mapping column entry.
E0705 (line   18) - Pin Mapping data lines must contain either 3 or 5 columns.
E0519 - Keyword 'Package' not defined for Component 'chip21'.
W1701 - CMPT 'chip21', Pin '4': Pin Inductance 1e+09nH greater than 1000nH
W1702 - CMPT 'chip21', Pin '4': Pin Capacitance 2e+12pF greater than 1000pF
E0608 -
    Component 'chip21': Model 'buffer_model_name_lo' for Pin '3' not defined.
E0612 - Component 'chip21': Pin 'pin67' not referenced in Pin Mappings.
W0712 - Pin 4 is a GND pin. Usually only has Pulldown_ref in Pin Mapping
E0722 - Component 'chip21': Pin Mapping gnd_clamp_ref entry 'na' is not connected to at least one pin whose model_name is POWER or GND.

Errors  : 11
Warnings: 3

File Failed
)X"},
    {"ColumnHeadings", "heads42.ibs",
     R"X(
Checking heads42.ibs for IBIS 4.2 Compatibility...

E0528 (line    6) - Unable to find column headers after Pin keyword.
E0523 (line    7) - Duplicate Pin keyword found.
E0526 (line    8) -
    Pin_Mappings keyword column count must be 3, 5 or 6, found 8 columns.
E0529 (line    9) - 'inv_pin' column header not found or out of order.
E0543 (line   10) - Unknown column header after 'function_table_group'
E0542 (line   11) - Duplicate Series_Pin_Mapping keyword found.
E0532 (line   11) -
    Series_Pin_Mappings keyword column count must be 3 or 4, found 2 columns.
E0529 (line   11) - 'model_name' column header not found or out of order.
E0519 - Keyword 'Package' not defined for Component 'c1'.
E0532 (line   14) - Pin keyword column count must be 3 or 6, found 7 columns.
E0531 (line   14) - Duplicate column header 'L_pin' .
E0526 (line   15) -
    Pin_Mappings keyword column count must be 3, 5 or 6, found 2 columns.
E0529 (line   15) - 'pulldown_ref' column header not found or out of order.
E0529 (line   15) - 'pullup_ref' column header not found or out of order.
E0707 (line   16) - When 6 columns are specified, the headings gnd_clamp_ref, power_clamp_ref and ext_ref must be used.
E0528 (line   17) - Unable to find column headers after Diff_Pins keyword.
E0539 (line   18) -
    Incorrect Number of Line Items (3) For Series_Switch_Groups: Expecting 1
E0519 - Keyword 'Package' not defined for Component 'c2'.
E0532 (line   21) - Pin keyword column count must be 3 or 6, found 4 columns.
E0529 (line   21) - 'signal_name' column header not found or out of order.
E0529 (line   21) - 'model_name' column header not found or out of order.
E0530 (line   21) - Unknown column header 'X_pin' or out of order.
E0519 - Keyword 'Package' not defined for Component 'c3'.
E0524 - Unable to find Pin keyword data for Component 'c3'.
E0524 - Unable to find Pin keyword data for Component 'c2'.
E0524 - Unable to find Pin keyword data for Component 'c1'.

Errors  : 26

File Failed
)X"},
    {"PinMappingChecksVersion4", "mpg42.ibs",
     R"X(
Checking mpg42.ibs for IBIS 4.2 Compatibility...

E0700 (line   21) - Extra data columns on this line.
E0704 (line   23) -
    Pin Mapping data lines must contain either 3, 5 or 6 columns.
E0708 (line   23) - Duplicate Pin Mapping Pin.
E0519 - Keyword 'Package' not defined for Component 'm42'.
W0711 - Component m42 Pin 2 is a GND pin. Usually only has Pulldown_ref in Pin Mapping
W0713 -
    Component m42 Pin 3 is NC. Should not have any references in Pin Mapping
W0709 - Component m42 Pin 4 is a POWER pin. Usually only has Pullup_ref in Pin Mapping
E0715 - Component 'm42': Pin Mapping Pin '8' not previously declared in Pin section.
W0718 -
    Component m42: Pulldown Reference VDD is also used as a Pullup Reference
W0718 -
    Component m42: Pulldown Reference VDD is also used as a Pullup Reference
W0717 - Component 'm42': Pin Mapping 'VDD': pulldown_ref entry is usually connected to GND.
E0716 - Component 'm42': Pin Mapping pulldown_ref entry 'PD8' is not connected to at least one pin whose model_name is POWER or GND.
W0721 - Component 'm42': Pin Mapping 'GPU': pullup_ref entry is usually connected to POWER.
E0720 - Component 'm42': Pin Mapping pullup_ref entry 'PU8' is not connected to at least one pin whose model_name is POWER or GND.
W0723 - Component 'm42': Pin Mapping 'VDD': gnd_clamp_ref entry is usually connected to GND.
E0722 - Component 'm42': Pin Mapping gnd_clamp_ref entry 'GC8' is not connected to at least one pin whose model_name is POWER or GND.
W0725 - Component 'm42': Pin Mapping 'GPU': power_clamp_ref entry is usually connected to POWER.
E0724 - Component 'm42': Pin Mapping power_clamp_ref entry 'PC8' is not connected to at least one pin whose model_name is POWER or GND.
E0726 - Component 'm42': Pin Mapping ext_ref entry 'EXT' is not connected to at least one pin whose model_name is POWER or GND.
W0727 - Component 'm42': Pin Mapping 'GPU': ext_ref entry is usually connected to POWER.

Errors  : 10
Warnings: 10

File Failed
)X"},
    {"DiffPins", "dif42.ibs",
     R"X(
Checking dif42.ibs for IBIS 4.2 Compatibility...

W0807 (line   13) - Typ value is not in between Min and Max 
E0804 (line   15) - Diff_Pin column pin same as inv_pin column pin.
E0816 (line   15) - Bad value for vdiff column.
W0817 (line   15) - Suspicious value for tdelay_typ column.
E0808 (line   16) - Diff_Pin data line column count must be 4 or 6.
E0801 (line   17) - Too many Diff Pin data columns.
E0519 - Keyword 'Package' not defined for Component 'd42'.
E0809 (line   21) -
    When using 6 columns, the tdelay_min and tdelay_max headers must be used.
E0519 - Keyword 'Package' not defined for Component 'd42b'.
E0524 - Unable to find Pin keyword data for Component 'd42b'.
E0810 - Component 'd42': Diff_Pin '5' not previously declared in Pin section.
E0811 - Component 'd42': inv_pin '5' not previously declared in Pin section.
E0810 - Component 'd42': Diff_Pin '6' not previously declared in Pin section.
E0811 - Component 'd42': inv_pin '7' not previously declared in Pin section.
E0814 - Component 'd42': Diff_pin '2' already in use as an inv_pin.
W0812 - Component 'd42': Diff_Pin '1' is not unique.
E0813 - Component 'd42': Inv_pin '3' already in use as a Diff_pin.
W0815 - Component 'd42': inv_pin '4' is not unique.

Errors  : 14
Warnings: 4

File Failed
)X"},
    {"SeriesPinsAndSwitchGroupsVersion3", "ser32.ibs",
     R"X(
Checking ser32.ibs for IBIS 3.2 Compatibility...

E2500 (line   13) - Unknown sub parameter 'Bad'
E0533 (line   13) - Unable to add data for Series_Switch_Group keyword.
E2502 (line   14) - No Group names specified on this line
E2506 (line   15) - Duplicate Series switch Group name 'E'
E2505 (line   15) - Series switch Group name cannot be 'On' or 'Off'
E2504 (line   15) -
    Series switch Group name 'averyveryverylongname_x' over 20 characters long
E1916 (line   16) - Illegal use of Reserved Word 'NC'.
E0909 (line   18) -
    Previous keyword not terminated properly. Possibly missing a "/"

E2602 (line   21) - No Pin2 specified.
E2603 (line   21) - No Model specified.
E2604 (line   21) -
     [Series Pin Mapping] Data lines must contain either 3 or 4 columns.
E2600 (line   22) - Extra data columns on this line.
E0546 (line   23) - Duplicate [Series_Switch_Groups] keyword found.
E0519 - Keyword 'Package' not defined for Component 's32'.
E2605 (line   28) - [Series Pin Mapping] When 4 columns are specified, the heading 'function_table_group' must be used.
E0542 (line   29) - Duplicate Series_Pin_Mapping keyword found.
E0519 - Keyword 'Package' not defined for Component 's32b'.
E0524 - Unable to find Pin keyword data for Component 's32b'.
E2618 - Component 's32b': [Series Pin Mapping] defined but [Pins] not defined.
E2617 - Component 's32': [Series Pin Mapping] Model 'sermodel' is not defined.
E2611 - Component 's32': [Series Pin Mapping] Pin2 '3' not previously declared in Pin section.
E2617 - Component 's32': [Series Pin Mapping] Model 'sermodel' is not defined.
E2611 - Component 's32': [Series Pin Mapping] Pin2 '' not previously declared in Pin section.
E2617 - Component 's32': [Series Pin Mapping] Model '' is not defined.
E2617 - Component 's32': [Series Pin Mapping] Model 'm' is not defined.
W2507 - Component 's32': Series switch Group name 'B' is not used by any [Series Pin Mapping] function_table_group
W2507 - Component 's32': Series switch Group name 'C' is not used by any [Series Pin Mapping] function_table_group
W2507 - Component 's32': Series switch Group name 'D' is not used by any [Series Pin Mapping] function_table_group
W2507 - Component 's32': Series switch Group name 'E' is not used by any [Series Pin Mapping] function_table_group
W2507 - Component 's32': Series switch Group name 'E' is not used by any [Series Pin Mapping] function_table_group
W2507 - Component 's32': Series switch Group name 'On' is not used by any [Series Pin Mapping] function_table_group
W2507 - Component 's32': Series switch Group name 'averyveryverylongnam' is not used by any [Series Pin Mapping] function_table_group
W2507 - Component 's32': Series switch Group name 'NC' is not used by any [Series Pin Mapping] function_table_group
W2507 - Component 's32': Series switch Group name 'F' is not used by any [Series Pin Mapping] function_table_group

Errors  : 25
Warnings: 9

File Failed
)X"},
    {"EmiBlock", "emi50.ibs",
     R"X(
Checking emi50.ibs for IBIS 5.0 Compatibility...

E4704 (line    9) - Unexpected data 'junk' found after the Keyword
E4720 (line   10) - Invalid Domain ("digital") (try "Digital")
E4721 (line   11) - Invalid Domain ("Mixed")
E4701 (line   13) - Domain Already Defined For EMI Component
E4719 (line   13) - Incorrect Number of Line Items (3) For Domain: Expecting 2
E4701 (line   15) - Cpd Already Defined For EMI Component
E4723 (line   16) - Invalid C_Heatsink_gnd Line
E4715 (line   17) - C_Heatsink_float cannot be specified since C_Heatsink_gnd is already specified
E4716 (line   18) - Unknown Line after [Begin EMI Component]
E4714 (line   19) - C_Heatsink_gnd cannot be specified since C_Heatsink_float is already specified
E4701 (line   19) - C_Heatsink_gnd Already Defined For EMI Component
E4704 (line   20) - Unexpected data 'extra' found after the Keyword
E4904 (line   23) - clock_div should be at most 5 characters long
E4905 (line   24) - Unexpected data 'x' after clock_div
E4906 (line   24) - Duplicate Pin '2'
E1916 (line   25) - Illegal use of Reserved Word 'GND'.
E4903 (line   26) - clock_div not found
E4729 (line   27) - [Pin EMI]: Already defined for this EMI Component.
E4728 (line   30) - Invalid percentage '120'. Should be greater than 0 and less than equal to 100
E4728 (line   31) -
    Invalid percentage '12.345'. Should be specified using at most 5 characters
E4727 (line   32) - domain_name 'D1' is redefined
E4728 (line   33) - Invalid percentage 'abc'. Invalid Number
E4719 (line   34) -
    Incorrect Number of Line Items (1) For Pin Domain EMI: Expecting 2
E0553 (line   35) - Unexpected Keyword in a [Component EMI] block
E1213 - Component 'e50': Required sub-parameter R_pkg not found.
E1215 - Component 'e50': Required sub-parameter L_pkg not found.
E1217 - Component 'e50': Required sub-parameter C_pkg not found.
E4730 (line   40) - Unable to find column headers after [Pin EMI] keyword.
E4719 (line   41) -
    Incorrect Number of Line Items (3) For Pin Domain EMI: Expecting 2
E4724 (line   42) - [Pin Domain EMI]: Already Defined for this EMI Component
E4726 (line   42) - Unknown parameter 'Percentage': Expected 'percentage'
E0553 (line   43) - Unexpected Keyword in a [Component EMI] block
E4703 (line   43) - [Emi Component] is already defined for this Component
E4731 (line   44) - 'domain_name' column header not found or out of order.
E4731 (line   44) - 'clock_div' column header not found or out of order.
E4711 (line   46) - [End EMI Component] expected
E0519 - Keyword 'Package' not defined for Component 'e50b'.
E0524 - Unable to find Pin keyword data for Component 'e50b'.
E4909 - Component 'e50b': pin_name '1' found in [Pin EMI] section was not found in the [Pin] section
E4908 - Component 'e50': domain_name 'D9' found in [Pin Domain EMI] section was not associated with any pin_name in the [Pin EMI] section
E4911 - Component 'e50': Pin '1' is of model 'POWER' and cannot be referened in a [Pin EMI] section
E4909 - Component 'e50': pin_name '3' found in [Pin EMI] section was not found in the [Pin] section
E4911 - Component 'e50': Pin '2' is of model 'CIRCUITCALL' and cannot be referened in a [Pin EMI] section
E4911 - Component 'e50': Pin '2' is of model 'CIRCUITCALL' and cannot be referened in a [Pin EMI] section
E4909 - Component 'e50': pin_name '4' found in [Pin EMI] section was not found in the [Pin] section
E4909 - Component 'e50': pin_name '5' found in [Pin EMI] section was not found in the [Pin] section

Errors  : 46

File Failed
)X"},
    {"AlternatePackageModels", "alt42.ibs",
     R"X(
Checking alt42.ibs for IBIS 4.2 Compatibility...

E0522 (line   10) - Unknown data after [End Alternate Package Models] keyword.
W1604 (line   10) -
    Alternate Package Model has only one package model defined
E0520 (line   11) - Duplicate [Alternate Package Models] keyword.
E1605 (line   12) - Package Model Name Previously Defined ("pkgOne")
E1600 (line   13) - Invalid Package Model name: 'a_package_model_name_that_is_much_too_long_x' is too long.
E0504 (line   14) - Expecting End Alternate Package Models keyword
E0519 - Keyword 'Package' not defined for Component 'a1'.
E1603 (line   17) - Alternate Package Model has no package models defined
E0519 - Keyword 'Package' not defined for Component 'a2'.
E0524 - Unable to find Pin keyword data for Component 'a2'.
E0516 - Unable to find Package Model 'pkgOne' for Component 'a1'
E0516 - Unable to find Package Model 'pkgOne' for Component 'a1'
E0516 - Unable to find Package Model 'a_package_model_name_that_is_much_too_lo' for Component 'a1'

Errors  : 12
Warnings: 1

File Failed
)X"},
    {"SeriesPinsAndSwitchesThroughModelsAndSelectors", "mref42.ibs",
     R"X(
Checking mref42.ibs for IBIS 4.2 Compatibility...

E4024 - Model 'nomodel' in Model Selector 'ssel' is not defined in the file
E0610 - Component 'c1':  Pin '2': Model 'ser': model type for a Pin cannot be Series or Series_switch.
C0611 - Pin 3 is not defined as a Diff Pin though the associated Model dif was determined to be Differential
E0610 - Component 'c1':  Pin '4': Model 'sw': model type for a Pin cannot be Series or Series_switch.
C0611 - Pin 7 is not defined as a Diff Pin though the associated Model rx was determined to be Differential
C0609 - Pin 9 is not defined as a Diff Pin though the associated Model Selector sel was determined to be Differential
E0613 - Pin 'A2' found in Package_Model 'QFP3' Pin_Numbers list not found in Component 'c1' Pin list.
W2625 - Component 'c1': [Series Pin Mapping] Model 'ser' is of type Series so function_table_group 'G1' is ignored.
E2627 - Component 'c1': [Series Pin Mapping] Model 'sw' is of type Series_Switch so function_table_group is required.
E2629 - Component 'c1': [Series Pin Mapping] Model 'sw' uses function NOPE which is not defined.
E2623 - Component 'c1': [Series Pin Mapping] Model 'in' is not of type Series.
E2621 - Component 'c1': [Series Pin Mapping] Model 'in' is not of type Series_Switch.
E2626 - Component 'c1': [Series Pin Mapping] Model Selector 'ssel' Model 'sw' is of type Series_Switch so function_table_group is required.
E2622 - Component 'c1': [Series Pin Mapping] Model Selector 'ssel' Model 'in' is not of type Series.
E2630 - Component 'c1': [Series Pin Mapping] Model Selector 'ssel' Model 'nomodel' is of unknown type.
W2624 - Component 'c1': [Series Pin Mapping] Model Selector 'ssel' Model 'ser' is of type Series so function_table_group 'G1' is ignored.
E2620 - Component 'c1': [Series Pin Mapping] Model Selector 'ssel' Model 'in' is not of type Series_Switch.
E2630 - Component 'c1': [Series Pin Mapping] Model Selector 'ssel' Model 'nomodel' is of unknown type.
W2624 - Component 'c1': [Series Pin Mapping] Model Selector 'ssel' Model 'ser' is of type Series so function_table_group 'NOPE' is ignored.
E2628 - Component 'c1': [Series Pin Mapping] Model Selector 'ssel' Model 'sw' uses function NOPE which is not defined.
E2620 - Component 'c1': [Series Pin Mapping] Model Selector 'ssel' Model 'in' is not of type Series_Switch.
E2630 - Component 'c1': [Series Pin Mapping] Model Selector 'ssel' Model 'nomodel' is of unknown type.
E0544 - TBD: Put this in model check, *_DIFF without external model
E0545 - Component <c1> pin <3> model <dif> type <Input_diff> using [External Model] without corresponding [Diff_Pin]
E0544 - TBD: Put this in model check, *_DIFF without external model
E0544 - TBD: Put this in model check, *_DIFF without external model

Errors  : 20
Warnings: 3
Cautions: 3

File Failed
)X"},
    {"PackageValues", "pkg32.ibs",
     R"X(
Checking pkg32.ibs for IBIS 3.2 Compatibility...

E0518 (line    6) - Unknown data after Package keyword.
E1209 (line    7) - The typical column must be specified.
E1202 (line    8) -
    Expected 4 columns in Package sub-parameter line, found 3 columns.
E1204 (line   10) - Duplicate L_pkg sub-parameter.
E1206 (line   12) - Unknown Package subparameter.
E1205 (line   13) - Duplicate C_pkg sub-parameter.
E0517 (line   14) - Duplicate Package keyword.
E1909 (line   20) - Invalid Minimum Value ("x")
E1207 (line   20) - Unable to parse data for Package subparameter 'R_pkg'.
E1215 - Component 'p2': Required sub-parameter L_pkg not found.
E1217 - Component 'p2': Required sub-parameter C_pkg not found.

Errors  : 11

File Failed
)X"},
    // A name repeated n times gives n - 1 messages, not one per pair.
    {"RepeatedNamesOncePerRow", "rep42.ibs",
     R"X(
Checking rep42.ibs for IBIS 4.2 Compatibility...

E0606 (line    8) - Duplicate Pin '1'.
E0606 (line    9) - Duplicate Pin '1'.
E0708 (line   13) - Duplicate Pin Mapping Pin.
E0708 (line   14) - Duplicate Pin Mapping Pin.
E2506 (line   21) - Duplicate Series switch Group name 'A'
E2506 (line   21) - Duplicate Series switch Group name 'A'
E0519 - Keyword 'Package' not defined for Component 'x'.
E0519 - Keyword 'Package' not defined for Component 'x'.
E0519 - Keyword 'Package' not defined for Component 'x'.
E0511 - Component 'x' is duplicated within the .ibs file.
E0511 - Component 'x' is duplicated within the .ibs file.
E0524 - Unable to find Pin keyword data for Component 'x'.
E0524 - Unable to find Pin keyword data for Component 'x'.
W0812 - Component 'x': Diff_Pin '1' is not unique.
W0815 - Component 'x': inv_pin '2' is not unique.
W0812 - Component 'x': Diff_Pin '1' is not unique.
W0815 - Component 'x': inv_pin '2' is not unique.
W2507 - Component 'x': Series switch Group name 'A' is not used by any [Series Pin Mapping] function_table_group
W2507 - Component 'x': Series switch Group name 'A' is not used by any [Series Pin Mapping] function_table_group
W2507 - Component 'x': Series switch Group name 'A' is not used by any [Series Pin Mapping] function_table_group

Errors  : 13
Warnings: 7

File Failed
)X"},
};

class ComponentOutput : public ::testing::TestWithParam<Case> {};

TEST_P(ComponentOutput, WholeOutput)
{
    const Case& c = GetParam();
    CheckerRun r = Normalized(RunChecker(IBIS_FIXTURES, std::string("-n -c ") + c.file));
    EXPECT_EQ(r.out, c.expected);
    EXPECT_EQ(r.status, 1);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ComponentOutput, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------
// Records, read in process.


TEST_F(ComponentRead, PinValueColumnsFollowTheHeadings)
{
    Read("comp21.ibs");
    ComponentRecord* c = Find("chip21");
    ASSERT_NE(c, nullptr);
    PinRecord* pin = c->pins;
    ASSERT_NE(pin, nullptr);
    // Headings L_pin C_pin R_pin: the row's values 1n 2p 3.
    EXPECT_EQ(pin->L_pinState, 1);
    EXPECT_DOUBLE_EQ(pin->L_pin, 1e-9);
    EXPECT_EQ(pin->C_pinState, 1);
    EXPECT_DOUBLE_EQ(pin->C_pin, 2e-12);
    EXPECT_EQ(pin->R_pinState, 1);
    EXPECT_DOUBLE_EQ(pin->R_pin, 3);
    // Rows stay in file order, duplicates included; names are kept cut.
    std::vector<std::string> names;
    for (PinRecord* p = c->pins; p != nullptr; p = p->next) names.push_back(p->pinName);
    EXPECT_EQ(names, (std::vector<std::string>{"1", "2", "3", "4", "1", "pin67"}));
    EXPECT_STREQ(c->pins->next->next->modelName, "buffer_model_name_lo");
    EXPECT_EQ(PIN_FindPin(c->pins, "pin67"), c->pins->next->next->next->next->next);
    EXPECT_EQ(PIN_FindPin(c->pins, "pin678"), nullptr);
    EXPECT_TRUE(PIN_ModelNameIsPOWER(c->pins, "1"));
    EXPECT_TRUE(PIN_ModelNameIsGND(c->pins, "4"));
    EXPECT_TRUE(PIN_ModelNameIsPOWEROrGND(c->pins, "2"));
    EXPECT_FALSE(PIN_ModelNameIsPOWEROrGND(c->pins, "3"));
    EXPECT_FALSE(PIN_ModelNameIsPOWER(c->pins, "absent"));
    EXPECT_STREQ(PIN_GetModel(c->pins, "pin67"), "NC");
    EXPECT_EQ(c->pinColumns, 6);
}

TEST_F(ComponentRead, SwitchGroupOverTwoLinesIsOneGroup)
{
    Read("ser32.ibs");
    ComponentRecord* c = Find("s32");
    ASSERT_NE(c, nullptr);
    std::vector<std::string> groups;
    for (SwitchGroupRecord* g = c->switchGroups; g != nullptr; g = g->next) {
        std::string text = g->state;
        for (int i = 0; i < g->nameCount; i++) text += std::string(" ") + g->names[i];
        groups.push_back(text);
    }
    EXPECT_EQ(groups, (std::vector<std::string>{"On A B", "Off C D", "Off",
                                                "On E E On averyveryverylongnam", "On NC",
                                                "On F", "On G"}));
    EXPECT_TRUE(SSWCH_HasFunction(c->switchGroups, "D"));
    EXPECT_FALSE(SSWCH_HasFunction(c->switchGroups, "averyveryverylongname_x"));
    EXPECT_FALSE(SSWCH_HasFunction(nullptr, "A"));
    // The second [Series Pin Mapping] of s32b replaced the first one's rows.
    ComponentRecord* b = Find("s32b");
    ASSERT_NE(b, nullptr);
    ASSERT_NE(b->seriesPinMappings, nullptr);
    EXPECT_STREQ(b->seriesPinMappings->pin1, "3");
    EXPECT_EQ(b->seriesPinMappings->next, nullptr);
}

TEST_F(ComponentRead, NodeNamesAreOneEntryPerName)
{
    Read("comp50.ibs");
    ComponentRecord* c = Find("My Chip");
    ASSERT_NE(c, nullptr);
    std::vector<std::string> nodes;
    for (NodeNameEntry* n = c->nodes; n != nullptr; n = n->next) nodes.push_back(n->name);
    EXPECT_EQ(nodes, (std::vector<std::string>{"n2", "n1"}));
    ASSERT_NE(c->circuitCalls, nullptr);
    EXPECT_EQ(c->circuitCalls->beginLine, 26u);
    EXPECT_STREQ(c->circuitCalls->externalCircuitName, "extc");
    EXPECT_EQ(c->siLocation, 2);       // Die
    EXPECT_EQ(c->timingLocation, 1);   // given, bad value
    ASSERT_NE(c->altPackages, nullptr);
    EXPECT_STREQ(c->altPackages->name, "pkgA");
}

TEST_F(ComponentRead, EmiValuesAndRows)
{
    Read("emi50.ibs");
    ComponentRecord* c = Find("e50");
    ASSERT_NE(c, nullptr);
    ComponentEmiRecord* emi = c->emi;
    ASSERT_NE(emi, nullptr);
    EXPECT_EQ(emi->domain, 0);   // the last Domain line was refused
    ASSERT_NE(emi->Cpd, nullptr);
    EXPECT_DOUBLE_EQ(*emi->Cpd, 1.2e-12);
    // A refused capacitance line still counts as given.
    ASSERT_NE(emi->C_Heatsink_gnd, nullptr);
    EXPECT_DOUBLE_EQ(*emi->C_Heatsink_gnd, 0.0);
    ASSERT_NE(emi->C_Heatsink_float, nullptr);
    EXPECT_DOUBLE_EQ(*emi->C_Heatsink_float, 2e-12);
    std::vector<std::string> rows;
    for (PinEmiRecord* r = emi->pinEmis; r != nullptr; r = r->next)
        rows.push_back(std::string(r->pinName) + ":" + r->domainName + ":" +
                       std::to_string(r->clock_divState));
    EXPECT_EQ(rows, (std::vector<std::string>{"1:D1:1", "3:D2:2", "2:NA:1", "2:D1:1", "4:GND:1",
                                              "5:D3:0"}));
    EXPECT_TRUE(PINEMI_PinExists(emi->pinEmis, "5"));
    EXPECT_EQ(PINEMI_FindPin(emi->pinEmis, "9"), nullptr);
    ASSERT_NE(emi->pinDomains, nullptr);
    std::vector<std::string> domains;
    for (PinDomainEntry* d = *emi->pinDomains; d != nullptr; d = d->next)
        domains.push_back(std::string(d->domainName) + "=" + std::to_string(*d->percentage));
    EXPECT_EQ(domains, (std::vector<std::string>{"D1=50.000000", "D9=120.000000",
                                                 "D2=12.345000"}));
    // The block that replaced an open one is the one kept; none stays open.
    ComponentRecord* b = Find("e50b");
    ASSERT_NE(b, nullptr);
    ASSERT_NE(b->emi, nullptr);
    ASSERT_NE(b->emi->pinEmis, nullptr);
    EXPECT_STREQ(b->emi->pinEmis->pinName, "1");
    EXPECT_FALSE(CMPNTEMI_InProgress());
    EXPECT_EQ(gpCmpnt, nullptr);
}

// A file that ends inside a component and an open EMI block: the next read
// starts with nothing open, and its lines are not taken for the old ones.
TEST_F(ComponentRead, NothingStaysOpenAcrossReads)
{
    char dir[] = "/tmp/cmpnt_reset_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string a = std::string(dir) + "/a.ibs", b = std::string(dir) + "/b.ibs";
    std::ofstream(a) << "[IBIS Ver] 5.0\n[File Name] a.ibs\n[File Rev] 1\n[Component] c\n"
                        "[Manufacturer] M\n[Begin EMI Component]\n[Pin EMI] domain_name clock_div\n"
                        "1 D 1\n";
    std::ofstream(b) << "[IBIS Ver] 5.0\n[File Name] b.ibs\n[File Rev] 1\n1 D 1\n[End]\n";
    EXPECT_EQ(PARSE(a.c_str(), FILE_IBS), 1);
    EXPECT_FALSE(CMPNTEMI_InProgress());
    IBIS_Free(gpIbis);
    ASSERT_TRUE(INIT());
    log.Take();
    EXPECT_EQ(PARSE(b.c_str(), FILE_IBS), 1);
    EXPECT_EQ(log.Take(), "E1002 (line    4) - Orphan Data Line.\n");
    (void)system((std::string("rm -rf '") + dir + "'").c_str());
}

// A long pin list keeps its order; rows are appended in constant time.
TEST_F(ComponentRead, LongPinListKeepsFileOrder)
{
    char dir[] = "/tmp/cmpnt_long_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string path = std::string(dir) + "/long.ibs";
    {
        std::ofstream f(path);
        f << "[IBIS Ver] 5.0\n[File Name] long.ibs\n[File Rev] 1\n[Component] c\n"
             "[Manufacturer] M\n[Pin] signal_name model_name\n";
        for (int i = 0; i < 50000; i++) f << i << " s GND\n";
        f << "7 s GND\n[End]\n";
    }
    EXPECT_EQ(PARSE(path.c_str(), FILE_IBS), 1);
    EXPECT_EQ(log.Take(), "E0606 (line 50007) - Duplicate Pin '7'.\n"
                          "E0519 - Keyword 'Package' not defined for Component 'c'.\n");
    int i = 0;
    for (PinRecord* p = gpIbis->components->pins; p != nullptr && i < 50000; p = p->next, i++)
        ASSERT_EQ(std::string(p->pinName), std::to_string(i)) << i;
    EXPECT_EQ(i, 50000);
    (void)system((std::string("rm -rf '") + dir + "'").c_str());
}

// A [Package] line that does not read stores nothing, so a later line of the
// same sub-parameter is taken; a duplicate keeps the first value.
TEST_F(ComponentRead, PackageValuesKeptAndDropped)
{
    Read("pkg32.ibs");
    ComponentRecord* p1 = Find("p1");
    ComponentRecord* p2 = Find("p2");
    ASSERT_NE(p1, nullptr);
    ASSERT_NE(p2, nullptr);
    ASSERT_NE(p1->package, nullptr);
    ASSERT_NE(p1->package->L_pkg, nullptr);
    EXPECT_DOUBLE_EQ(p1->package->L_pkg->typ_value, 2e-9);
    EXPECT_EQ(p1->package->L_pkg->min_state, (uint32_t)RNG_NA);
    ASSERT_NE(p1->package->C_pkg, nullptr);   // "c_pkg" matched ignoring case
    EXPECT_DOUBLE_EQ(p1->package->C_pkg->min_value, 0.5e-12);
    ASSERT_NE(p1->package->R_pkg, nullptr);
    EXPECT_EQ(p1->package->R_pkg->typ_state, (uint32_t)RNG_NA);
    ASSERT_NE(p2->package, nullptr);
    ASSERT_NE(p2->package->R_pkg, nullptr);
    EXPECT_DOUBLE_EQ(p2->package->R_pkg->typ_value, 0.2);
    EXPECT_DOUBLE_EQ(p2->package->R_pkg->min_value, 0.1);
    EXPECT_EQ(p2->package->L_pkg, nullptr);
}

// Which models a diff-pin pair uses, directly or through a model selector;
// the answer marks the model and every selector met as differential.
TEST_F(ComponentRead, DifferentialPinModels)
{
    Read("mref42.ibs");
    struct Row {
        const char* model;
        int differential;
        const char* pin;
    };
    const Row rows[] = {
        {"rx", 1, "8"}, {"dif", 1, "5"}, {"in", 0, nullptr}, {"ser", 0, nullptr}, {"sw", 0, nullptr},
    };
    for (const Row& row : rows) {
        ModelRecord* m = MDL_FindModel(row.model, gpIbis->models);
        ASSERT_NE(m, nullptr) << row.model;
        PinRecord* pin = nullptr;
        EXPECT_EQ(CMPNT_IsDifferentialPinModel(m, &pin), row.differential) << row.model;
        if (row.pin == nullptr) {
            EXPECT_EQ(pin, nullptr) << row.model;
            EXPECT_EQ(m->singleEnded, 2) << row.model;
        } else {
            ASSERT_NE(pin, nullptr) << row.model;
            EXPECT_STREQ(pin->pinName, row.pin) << row.model;
            EXPECT_EQ(m->singleEnded, 0) << row.model;
        }
        EXPECT_EQ(CMPNT_IsDifferentialPinModel(m, nullptr), row.differential) << row.model;
    }
    EXPECT_EQ(log.Take(), "");
}

TEST_F(ComponentRead, DifferentialThroughASelector)
{
    char dir[] = "/tmp/cmpnt_sel_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string path = std::string(dir) + "/sel.ibs";
    std::ofstream(path) << "[IBIS Ver] 4.2\n[File Name] sel.ibs\n[File Rev] 1\n[Component] c\n"
                           "[Manufacturer] M\n[Pin] signal_name model_name\n1 a s1\n2 b s1\n"
                           "3 c GND\n[Diff Pin] inv_pin vdiff tdelay_typ\n1 2 0.1 1n\n"
                           "[Model Selector] s1\nm1 first\nm2 second\n"
                           "[Model] m1\nModel_type Input\n[Model] m2\nModel_type Input\n[End]\n";
    EXPECT_EQ(PARSE(path.c_str(), FILE_IBS), 1);
    ModelRecord* m2 = MDL_FindModel("m2", gpIbis->models);
    ASSERT_NE(m2, nullptr);
    PinRecord* pin = nullptr;
    EXPECT_EQ(CMPNT_IsDifferentialPinModel(m2, &pin), 1);
    ASSERT_NE(pin, nullptr);
    EXPECT_STREQ(pin->pinName, "1");
    EXPECT_EQ(m2->singleEnded, 0);
    EXPECT_EQ(gpIbis->modelSelectors->singleEnded, 0);
    (void)system((std::string("rm -rf '") + dir + "'").c_str());
}

// Without components, or with a component that has no [Pin], nothing
// matches and nothing is reported.
TEST_F(ComponentRead, NoComponentsNoMatch)
{
    char dir[] = "/tmp/cmpnt_none_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string a = std::string(dir) + "/a.ibs", b = std::string(dir) + "/b.ibs";
    std::ofstream(a) << "[IBIS Ver] 4.2\n[File Name] a.ibs\n[File Rev] 1\n"
                        "[Model] m\nModel_type Input\n[End]\n";
    std::ofstream(b) << "[IBIS Ver] 4.2\n[File Name] b.ibs\n[File Rev] 1\n[Component] c\n"
                        "[Manufacturer] M\n[Diff Pin] inv_pin vdiff tdelay_typ\n1 2 0.1 1n\n"
                        "[Model] m\nModel_type Input\n[End]\n";
    for (const std::string& path : {a, b}) {
        EXPECT_EQ(PARSE(path.c_str(), FILE_IBS), 1);
        log.Take();
        PinRecord* pin = nullptr;
        EXPECT_EQ(CMPNT_IsDifferentialPinModel(gpIbis->models, &pin), 0) << path;
        EXPECT_EQ(pin, nullptr);
        EXPECT_EQ(log.Take(), "") << path;
        IBIS_Free(gpIbis);
        ASSERT_TRUE(INIT());
    }
    (void)system((std::string("rm -rf '") + dir + "'").c_str());
}

// ---------------------------------------------------------------------------
// Diff Pin rows, one line at a time.

struct DiffRow {
    const char* line;
    int states[4];   // vdiff, tdelay_typ, tdelay_min, tdelay_max
    double values[4];
    const char* messages;
};

TEST(DiffPinRows, ValuesStatesAndMessages)
{
    LogCapture log;
    PARSE_SetPosition("rows.ibs", 7);
    const int saved = geFileVersion;
    geFileVersion = 4;
    const DiffRow rows[] = {
        // NA is kept as not available, never as 0 or a copy of typ.
        {"3 4 0.2 1n NA NA", {1, 1, 2, 2}, {0.2, 1e-9, 0, 0}, ""},
        {"3 4 NA NA", {2, 2, 0, 0}, {0, 0, 0, 0}, ""},
        {"3 4 0.2 1n 2n 3n", {1, 1, 1, 1}, {0.2, 1e-9, 2e-9, 3e-9},
         "W0807 (line    7) - Typ value is not in between Min and Max \n"},
        {"3 4 0.2 4n 2n 3n", {1, 1, 1, 1}, {0.2, 4e-9, 2e-9, 3e-9},
         "W0807 (line    7) - Typ value is not in between Min and Max \n"},
        {"3 4 0.2 2n 2n 3n", {1, 1, 1, 1}, {0.2, 2e-9, 2e-9, 3e-9}, ""},
        {"3 4 0.2 1n NA 3n", {1, 1, 2, 1}, {0.2, 1e-9, 0, 3e-9}, ""},
        {"3 4", {0, 0, 0, 0}, {0, 0, 0, 0},
         "E0805 (line    7) - No vdiff column entry.\n"
         "E0806 (line    7) - No tdelay_typ column entry.\n"
         "E0808 (line    7) - Diff_Pin data line column count must be 4 or 6.\n"},
        {"3", {0, 0, 0, 0}, {0, 0, 0, 0},
         "E0803 (line    7) - No inv_pin column entry.\n"
         "E0805 (line    7) - No vdiff column entry.\n"
         "E0806 (line    7) - No tdelay_typ column entry.\n"
         "E0808 (line    7) - Diff_Pin data line column count must be 4 or 6.\n"},
        {"3 4 0.1 1n 2n bad", {1, 1, 1, 0}, {0.1, 1e-9, 2e-9, 0},
         "E0816 (line    7) - Bad value for tdelay_max column.\n"},
    };
    for (const DiffRow& row : rows) {
        char text[128];
        snprintf(text, sizeof text, "%s", row.line);
        DiffPinRecord* rec = nullptr;
        ASSERT_EQ(DIFPIN_ParseLine(text, 6, &rec), 1) << row.line;
        int states[4] = {rec->vdiffState, rec->tdelay_typState, rec->tdelay_minState,
                         rec->tdelay_maxState};
        double values[4] = {rec->vdiff, rec->tdelay_typ, rec->tdelay_min, rec->tdelay_max};
        for (int i = 0; i < 4; i++) {
            EXPECT_EQ(states[i], row.states[i]) << row.line << " column " << i;
            EXPECT_DOUBLE_EQ(values[i], row.values[i]) << row.line << " column " << i;
        }
        EXPECT_EQ(log.Take(), row.messages) << row.line;
        DIFPIN_FreeList(rec);
    }
    geFileVersion = saved;
}

TEST(NodeNames, EachWordIsOneEntry)
{
    NodeNameEntry* head = nullptr;
    char line[] = "  a\tbb  c ";
    ASSERT_EQ(NODE_ParseLine(line, &head), 1);
    std::vector<std::string> names;
    for (NodeNameEntry* n = head; n != nullptr; n = n->next) names.push_back(n->name);
    EXPECT_EQ(names, (std::vector<std::string>{"c", "bb", "a"}));
    NODE_FreeList(head);
}

// ---------------------------------------------------------------------------
// The search of the .pkg files beside the .ibs file for a package model that
// the .ibs file names but does not define.

class PackageSearch : public CheckerTempDir {
protected:
    // A package file that defines one model of one pin; before is put
    // ahead of the [Define Package Model] line.
    static std::string Pkg(const std::string& file, const std::string& model,
                           const std::string& before = "")
    {
        return "[IBIS Ver] 5.0\n[File Name] " + file + "\n[File Rev] 1.0\n" + before +
               "[Define Package Model] " + model +
               "\n[Manufacturer] Acme\n[OEM] Acme\n[Description] One pin\n[Number Of Pins] 1\n"
               "[Pin Numbers]\n1\n[Model Data]\n[Inductance Matrix] Full_matrix\n[Row] 1\n3n\n"
               "[Capacitance Matrix] Full_matrix\n[Row] 1\n1p\n[End Model Data]\n"
               "[End Package Model]\n[End]\n";
    }
    // Two components that name the same package model.
    void WriteMain(const std::string& dir)
    {
        std::string component =
            "[Manufacturer] M\n[Package]\nR_pkg 0.2 0.1 0.3\nL_pkg 2n 1n 3n\n"
            "C_pkg 1p 0.5p 1.5p\n[Package Model] QFP100\n[Pin] signal_name model_name\n1 a GND\n";
        Write(dir + "/main.ibs", "[IBIS Ver] 5.0\n[File Name] main.ibs\n[File Rev] 1.0\n"
                                 "[Component] c1\n" + component + "[Component] c2\n" + component +
                                     "[End]\n");
    }
    // A directory whose name the shell would split, holding the defining
    // files, a file whose model name only begins with the wanted one, an
    // unrelated file with a byte outside 7-bit ASCII, and names that are
    // not regular visible .pkg files.
    std::string Populate()
    {
        std::string sub = "a b;c";
        EXPECT_EQ(mkdir((dir_ + "/" + sub).c_str(), 0755), 0);
        EXPECT_EQ(mkdir((dir_ + "/" + sub + "/dir.pkg").c_str(), 0755), 0);
        WriteMain(sub);
        Write(sub + "/b.pkg", Pkg("b.pkg", "QFP100  # the same model", "[Comment Char] #_char\n"));
        Write(sub + "/a.pkg", Pkg("a.pkg", "QFP100"));
        Write(sub + "/qfp100a.pkg", Pkg("qfp100a.pkg", "QFP100A"));
        Write(sub + "/zz.pkg", Pkg("zz.pkg", "OTHER", "|caf\xe9\n"));
        Write(sub + "/.hidden.pkg", Pkg(".hidden.pkg", "QFP100"));
        Write(sub + "/C.PKG", Pkg("C.PKG", "QFP100"));
        EXPECT_EQ(symlink("a.pkg", (dir_ + "/" + sub + "/link.pkg").c_str()), 0);
        return sub;
    }
};

// Both defining files are read once, in name order, into the same container
// (so their model is reported duplicated); nothing else is read or reported.
const char* const kSearchOutput = R"(
Checking a b;c/main.ibs for IBIS 5.0 Compatibility...


Checking a.pkg for IBIS 5.0 Compatibility...


Checking b.pkg for IBIS 5.0 Compatibility...

E3410 - Define_Package_Model 'QFP100' is duplicated within the .ibs file.

Errors  : 1

File Failed
)";

TEST_F(PackageSearch, DefiningFilesAreReadInNameOrder)
{
    std::string sub = Populate();
    CheckerRun r = RunChecker(dir_, "-n '" + sub + "/main.ibs'");
    EXPECT_EQ(r.out, kSearchOutput);
    EXPECT_EQ(r.status, 1);
}

// No command processor is asked for the listing.
TEST_F(PackageSearch, NoShellToolsNeeded)
{
    std::string sub = Populate();
    const char* old = getenv("PATH");
    std::string saved = old ? old : "";
    setenv("PATH", "/nonexistent", 1);
    CheckerRun r = RunChecker(dir_, "-n '" + sub + "/main.ibs'");
    setenv("PATH", saved.c_str(), 1);
    EXPECT_EQ(r.out, kSearchOutput);
}

TEST_F(PackageSearch, NoPackageFile)
{
    WriteMain(".");
    CheckerRun r = RunChecker(dir_, "-n main.ibs");
    EXPECT_EQ(r.out, R"(
Checking main.ibs for IBIS 5.0 Compatibility...

E0516 - Unable to find Package Model 'QFP100' for Component 'c2'
E0516 - Unable to find Package Model 'QFP100' for Component 'c1'

Errors  : 2

File Failed
)");
}

// A file whose [Define Package Model] names a longer model is not read.
TEST_F(PackageSearch, PrefixOnlyIsNotAHit)
{
    WriteMain(".");
    Write("qfp100a.pkg", Pkg("qfp100a.pkg", "QFP100A"));
    Write("qfp1000.pkg", Pkg("qfp1000.pkg", "QFP1000"));
    CheckerRun r = RunChecker(dir_, "-n main.ibs");
    EXPECT_EQ(r.out.find("Checking qfp"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("E0516 - Unable to find Package Model 'QFP100' for Component 'c1'"),
              std::string::npos);
}

// In process: the result, and a file is read once between resets.
TEST_F(PackageSearch, ResultAndReadOnce)
{
    Write("one.pkg", Pkg("one.pkg", "P1"));
    LogCapture log;
    PARSE_SuppressBanners(1);
    ASSERT_TRUE(INIT());
    std::string ibs = dir_ + "/x.ibs";
    Write("x.ibs", "[IBIS Ver] 5.0\n[File Name] x.ibs\n[File Rev] 1\n[End]\n");
    ASSERT_EQ(PARSE(ibs.c_str(), FILE_IBS), 1);
    geFileVersion = 3;
    PKGMDL_ResetPkgSearch();
    EXPECT_EQ(PKGMDL_FindPkgFile("P1"), 1);
    EXPECT_EQ(geFileVersion, 3);
    ASSERT_NE(gpIbis->packageModels, nullptr);
    EXPECT_STREQ(gpIbis->packageModels->name, "P1");
    EXPECT_EQ(PKGMDL_FindPkgFile("P1"), 0);   // already read
    EXPECT_EQ(gpIbis->packageModels->next, nullptr);
    EXPECT_EQ(PKGMDL_FindPkgFile("P2"), 0);
    EXPECT_EQ(log.Take(), "");
    IBIS_Free(gpIbis);
    PARSE_SuppressBanners(0);
}

// A board that refers to an .ibs file finds the component's pins there.
TEST_F(CheckerTempDir, BoardFindsComponentPins)
{
    Write("board.ebd",
          "[IBIS Ver] 4.2\n[File Name] board.ebd\n[File Rev] 1.0\n[Begin Board Description] b1\n"
          "[Manufacturer] Acme\n[Number Of Pins] 2\n[Pin List] signal_name\nA1 sig1\nA2 sig2\n"
          "[Path Description] p1\nPin A1 Len=0 R=1 / Node U1.1\n[Path Description] p2\n"
          "Pin A2 Len=0 R=1 / Node U1.7\n[Reference Designator Map]\nU1 part.ibs chip\n"
          "[End Board Description]\n[End]\n");
    Write("part.ibs", "[IBIS Ver] 4.2\n[File Name] part.ibs\n[File Rev] 1.0\n[Component] chip\n"
                      "[Manufacturer] M\n[Package]\nR_pkg 0.2 0.1 0.3\nL_pkg 2n 1n 3n\n"
                      "C_pkg 1p 0.5p 1.5p\n[Pin] signal_name model_name\n1 a GND\n2 b GND\n[End]\n");
    CheckerRun r = RunChecker(dir_, "-n board.ebd");
    EXPECT_EQ(r.out, R"(
Checking board.ebd for IBIS 4.2 Compatibility...


Checking part.ibs for IBIS 4.2 Compatibility...

E4392 - Pin '7' not found on Component 'chip' in file 'part.ibs'

Errors  : 1

File Failed

Errors  : 1

File Failed
)");
}

}  // namespace
