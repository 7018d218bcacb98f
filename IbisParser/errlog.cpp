#include "errlog.h"

#include "cmn.h"
#include "parse.h"

#include <ctype.h>
#include <math.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <new>
#include <string>

#define CMN_MODULE_PATH "IbisParser/errlog"

extern "C" {

FILE* gpLogFile = NULL;
unsigned long gulBug_cnt = 0;
unsigned long gulError_cnt = 0;
unsigned long gulWarn_cnt = 0;
unsigned long gulCaution_cnt = 0;
int gbOldStyleErrors = 1;
int gbSuppressCautions = 1;
int gbSuppressBugs = 0;
int gbSuppressErrors = 0;
int gbSuppressWarns = 0;

/* Each module owns a block of codes and adds its rows here, in code order,
 * under a comment naming the module. Lookup is by code, never by position. */
const ERRLOG_TABLE_ENTRY errorLogTable[] = {
    {0, "Error code doesn't exist."},
    /* mdl */
    {100, "Unable to Allocate Memory: %s %d"},
    {101, "Unable to get IBIS structure"},
    {102, "Orphan Model keyword."},
    {103, "Illegal Digital Port <%s> (not allowed in SPICE Ports section)"},
    {104, "D_switch not allowed with (D_drive, D_receive, or D_enable) in Ports/A2D/D2A Section"},
    {105, "%s not allowed with D_switch in Ports/A2D/D2A Section"},
    {106, "Reserved Digital Port <%s> used as analog port"},
    {107, "Orphan data line keyword."},
    {108, "TTgnd Typical value should be > 0"},
    {109, "TTgnd Min value should be > 0"},
    {110, "TTgnd Max value should be > 0"},
    {112, "TTpower Typical value should be > 0"},
    {113, "TTpower Min value should be > 0"},
    {114, "TTpower Max value should be > 0"},
    {116, "[Model Spec] should be specified immediately after all the subparameters of a model and before the other keywords of a model"},
    {117, "[Receiver Thresholds] should not be specified for model type %s"},
    {119, "%s Already Defined For Model '%s'"},
    {120, "[Receiver Thresholds] should be specified immediately after all the subparameters of a model and before the other keywords of a model except [Model Spec]"},
    {121, "Expecting Keyword.  Invalid Line"},
    {122, "Should Not Be Here: %s, %d"},
    {123, "Expecting [End External Model]. Invalid Line, FATAL ERROR"},
    {125, "Unable to eat keyword <%s>: %s %d"},
    {127, "'Model' Keyword Missing name"},
    {128, "Incorrect Number of Line Items (%d) For Keyword %s: Expecting %d"},
    {129, "Model Name Over %d Characters Long"},
    {130, "Invalid Model Name (\"%s\"); Reserved Word."},
    {131, "Model Name Previously Defined (\"%s\")"},
    {133, "Digital Port <%s> already used in previous A2D for this corner"},
    {134, "Unable to Parse %s: %s %d"},
    {135, "Duplicate External Language Line"},
    {136, "Invalid %s (\"%s\") (try \"%s\")"},
    {137, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {138, "Missing Language sub-parameter. Language must be defined"},
    {139, "Duplicate Typ Corner"},
    {140, "Duplicate Max Corner"},
    {141, "Duplicate Min Corner"},
    {142, "Wrong number of args in PORT_TYPE"},
    {143, "Port_type not allowed without -etc flag"},
    {144, "Language must be defined before D2A"},
    {145, "D2A only allowed for language = SPICE"},
    {146, "No Typ Corner Defined... required"},
    {149, "Invalid %s Value (\"%s\")"},
    {150, "trise < 0, [%s]"},
    {151, "tfall < 0, [%s]"},
    {152, "Vlow >= Vhigh [%s >= %s]"},
    {153, "Illegal Analog Port %s, not in port list"},
    {154, "Language must be defined before A2D"},
    {155, "NO Typ Corner defined for A2D"},
    {158, "Invalid %s (\"%s\")"},
    {159, "Vinl should not be specified for model type %s"},
    {161, "Vinh should not be specified for model type %s"},
    {162, "Sub Parameter Cref_diff is valid only for IBIS version >= 4.1"},
    {163, "Creff_diff should not be specified for model type %s"},
    {164, "Sub Parameter Rref_diff is valid only for IBIS version >= 4.1"},
    {165, "Rreff_diff should not be specified for model type %s"},
    {166, "Vmeas should not be specified for model type %s"},
    {167, "Cref should not be specified for model type %s"},
    {168, "Rref should not be specified for model type %s"},
    {169, "Vref should not be specified for model type %s"},
    {170, "Sub Parameter C_comp_pullup is valid only for IBIS version >= 4.0"},
    {171, "Sub Parameter C_comp_pulldown is valid only for IBIS version >= 4.0"},
    {172, "Sub Parameter C_comp_power_clamp is valid only for IBIS version >= 4.0"},
    {173, "Sub Parameter C_comp_gnd_clamp is valid only for IBIS version >= 4.0"},
    {174, "Unknown Line Among Model Data"},
    {175, "'%s' Subparameter Missing Setting"},
    {176, "Invalid %s Line"},
    {177, "Model %s: %s min value is not the smallest value listed"},
    {178, "'NA' Not Allowed For Typical Value"},
    {179, "Model %s: %s max value is not the largest value listed"},
    {180, "Model '%s': %s Not Defined"},
    {181, "Model %s: One of C_comp, C_comp_pullup, C_comp_pulldown, C_comp_power_clamp, C_comp_gnd_clamp must be defined"},
    {182, "Vmeas is <= Vinl for model %s"},
    {183, "Vmeas is >= Vinh for model %s"},
    {184, "Model '%s': Model_type '%s' must have %s set"},
    {185, "Model '%s': %s is set when Model_type is not Terminator"},
    {186, "Model '%s': Rac must be defined when Cac is"},
    {187, "Model '%s': Cac must be defined when Rac is"},
    {188, "Model '%s': %s Required when No Voltage Range is Specified"},
    {189, "Model '%s': Ramp Not Allowed for Series and Series_switch"},
    {190, "Model '%s': Ramp Not Defined"},
    {191, "Model '%s': %s is not allowed when Model_type is Series"},
    {192, "Model '%s': %s is not allowed when Model_type is Series_switch"},
    {193, "Model %s is of type Series_switch. [On] keyword is required"},
    {194, "Model %s is of type Series_switch. [Off] keyword is required"},
    {195, "Model %s: Receiver Thresholds use POWER Clamp Reference which is not defined in this Model"},
    {196, "Model %s: Receiver Thresholds use GND Clamp Reference which is not defined in this Model"},
    {197, "Model %s: Receiver Thresholds use Pullup Reference which is not defined in this Model"},
    {198, "Model %s: Receiver Thresholds use Pulldown Reference which is not defined in this Model"},
    {199, "Model %s: Receiver Thresholds use External Reference which is not defined in this Model"},
    {200, "Model '%s': Vmeas, Vref and Rref timing test load parameters should be specified"},
    {201, "Model '%s': Vmeas timing test load parameter should be specified"},
    {202, "Model '%s': Rref_diff or Cref_diff timing test load parameters should be specified"},
    {204, "Model '%s' is of type Series_switch. %s should be defined before the [On] and [Off] sections"},
    {205, "Keyword is valid only for Series_switch models"},
    {206, "Keyword is valid only for Series and Series_switch models"},
    {207, "No preceding [On] or [Off] keyword found. Assuming [On]"},
    {208, "Add sub model: Already Defined for this model"},
    {209, "Add Submodel is not allowed for Series or Series_switch models"},
    {210, "Invalid Add Submodel Line. Expecting two items only"},
    {211, "Add Submodel Name not found"},
    {212, "Add Submodel Name Over %d Characters Long"},
    {213, "Invalid Submodel Name (\"%s\"); Reserved Word."},
    {215, "Add Submodel Mode not found"},
    {216, "Driving mode is not valid for input model types"},
    {217, "Non-Driving mode is not valid for output model types"},
    {218, "Could not find definition for Submodel %s of Model %s"},
    {219, "Model %s not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.\n No more warnings will be generated for un-referenced models"},
    {220, "Submodel %s is not referenced by any model [Add Submodel] keyword"},
    {222, "[External Model] <%s> corner <%s> type <%s> does not contain reserved port <%s> REQUIRED"},
    {223, "[External Model] <%s> corner <%s> type <%s> contains reserved port <%s> ILLEGAL"},
    {224, "Illegal type <%s> or program bug\n"},
    {225, "[EXTERNAL CIRCUIT] <%s>: corner <%s> Port <%s>: used as digital and analog "},
    {226, "MODEL <%s> Corner <%s> line: %d has A2D not matching TYP A2D: <%s> <%s> <%s>"},
    {227, "MODEL <%s> Corner <%s> line: %d has D2A not matching TYP D2A: <%s> <%s> <%s>"},
    {230, "[End_External_Model] with no [External Model]\n"},
    {231, "No Typ Corner Defined for [External Model](required)"},
    {232, "External Model for <%s> has suspiciously few PORTS (%d)"},
    {236, "Illegal (not specified and not reserved) port name <%s> in <%s>"},
    {237, "Reserved Analog Port <%s> used as digital port"},
    {239, "Illegal Digital Port <%s> in D2A "},
    {240, "Illegal Digital Port <%s> in A2D (must use D_receive)"},
    {241, "Illegal Digital Port <%s> in A2D (use D_receive or a User Defined)"},
    {242, "Vlow > Vhigh [%s >= %s]"},
    {245, "[External Circuit] <%s> has suspiciously few PORTS (%d)"},
    {249, "Orphan External Cucuit keyword."},
    {250, "Unable to Save External Circuit Name"},
    {251, "'External Circuit' Keyword Missing name"},
    {252, "External Circuit Name Over %d Characters Long"},
    {253, "Invalid External Circuit Name (\"%s\"); Reserved Word."},
    {254, "External Circuit Name Previously Defined (\"%s\")"},
    {255, "External Model D2A Line <%d> Illegal connection, 2 analog reference/driver ports <%s> <%s>"},
    {256, "A2D only allowed for language = SPICE"},
    {257, "[Composite Current] should be preceded by a [Rising Waveform] or [Falling Waveform] section"},
    {259, "Missing [End Algorithmic Model] keyword"},
    {260, "[End Emi Model] keyword expected"},
    {261, "Orphan [End Algorithmic Model] keyword found"},
    {262, "Orphan [End EMI Model] keyword found"},
    {263, "Composite Current is already associated with the last Waveform"},
    /* cmpnt */
    {500, "%s:%d:Unable to get IBIS."},
    {501, "Orphan Component keyword."},
    {502, "Orphan data line keyword."},
    {503, "Unexpected End Alternate Package Models keyword"},
    {504, "Expecting End Alternate Package Models keyword"},
    {505, "%s:%d:Illegal keyword passed to cmpnt."},
    {506, "Data on this line appears to be for the Component keyword, which does not allow data on subsequent lines."},
    {507, "Data on this line appears to be for the Manufacturer keyword, which does not allow data on subsequent lines."},
    {508, "Data on this line appears to be for the Package Model keyword, which does not allow data on subsequent lines."},
    {509, "%s:%d:Unknown keyword received data."},
    {510, "%s:%d:Illegal line type passed to cmpnt."},
    {511, "Component '%s' is duplicated within the .ibs file."},
    {512, "Unable to create new CMPNT."},
    {513, "Component '%s' contains a blank character."},
    {514, "Required keyword 'Manufacturer' not defined for Component '%s'."},
    {515, "%s:%d:Unable to get IBIS?"},
    {516, "Unable to find Package Model '%s' for Component '%s'"},
    {517, "Duplicate Package keyword."},
    {518, "Unknown data after Package keyword."},
    {519, "Keyword 'Package' not defined for Component '%s'."},
    {520, "Duplicate [Alternate Package Models] keyword."},
    {521, "Unknown data after [Alternate Package Models] keyword."},
    {522, "Unknown data after [End Alternate Package Models] keyword."},
    {523, "Duplicate Pin keyword found."},
    {524, "Unable to find Pin keyword data for Component '%s'."},
    {525, "Duplicate Pin_Mapping keyword found."},
    {526, "%s keyword column count must be %d, %d or %d, found %d columns."},
    {527, "Duplicate Diff_Pin keyword found."},
    {528, "Unable to find column headers after %s keyword."},
    {529, "'%s' column header not found or out of order."},
    {530, "Unknown column header '%s' or out of order."},
    {531, "Duplicate column header '%s' ."},
    {532, "%s keyword column count must be %d or %d, found %d columns."},
    {533, "Unable to add data for %s keyword."},
    {534, "Unable to Parse %s: %s %d"},
    {535, "Unknown Line after Component Description"},
    {537, "%s Already Defined For Component '%s'"},
    {538, "'%s' Subparameter Missing Setting"},
    {539, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {540, "Invalid %s (\"%s\") (try \"%s\")"},
    {541, "Invalid %s (\"%s\")"},
    {542, "Duplicate Series_Pin_Mapping keyword found."},
    {543, "Unknown column header after 'function_table_group'"},
    {544, "TBD: Put this in model check, *_DIFF without external model"},
    {545, "Component <%s> pin <%s> model <%s> type <%s> using [External Model] without corresponding [Diff_Pin]"},
    {546, "Duplicate [Series_Switch_Groups] keyword found."},
    {547, "%s:%d:Unable to get Components."},
    {548, "Duplicate Node Declaration keyword found."},
    {549, "Unable to create new NODE LIST."},
    {550, "Unable to create new Circuit Call (malloc)."},
    {553, "Unexpected Keyword in a [Component EMI] block"},
    /* pin */
    {600, "Unable to add the line of Pin data."},
    {601, "Pin not found."},
    {602, "Signal name not found."},
    {603, "Model name not found."},
    {604, "Each line of Pin data must contain either 3 or 6 columns."},
    {605, "When using 6 columns, the headers R_pin, L_pin, and C_pin must be listed."},
    {606, "Duplicate Pin '%s'."},
    {607, "%s:%d:Unable to get IBIS?"},
    {608, "Component '%s': Model '%s' for Pin '%s' not defined."},
    {609, "Pin %s is not defined as a Diff Pin though the associated Model Selector %s was determined to be Differential"},
    {610, "Component '%s':  Pin '%s': Model '%s': model type for a Pin cannot be Series or Series_switch."},
    {611, "Pin %s is not defined as a Diff Pin though the associated Model %s was determined to be Differential"},
    {612, "Component '%s': Pin '%s' not referenced in Pin Mappings."},
    {613, "Pin '%s' found in Package_Model '%s' Pin_Numbers list not found in Component '%s' Pin list."},
    {614, "Unable to allocate new PIN."},
    /* pinmpg */
    {700, "Extra data columns on this line."},
    {701, "No Pin number."},
    {702, "No pulldown_ref data."},
    {703, "No pullup_ref data."},
    {704, "Pin Mapping data lines must contain either 3, 5 or 6 columns."},
    {705, "Pin Mapping data lines must contain either 3 or 5 columns."},
    {706, "When 5 columns are specified, the headings gnd_clamp_ref and power_clamp_ref must be used."},
    {707, "When 6 columns are specified, the headings gnd_clamp_ref, power_clamp_ref and ext_ref must be used."},
    {708, "Duplicate Pin Mapping Pin."},
    {709, "Component %s Pin %s is a POWER pin. Usually only has Pullup_ref in Pin Mapping"},
    {710, "Pin %s is a POWER pin. Usually only has Pullup_ref in Pin Mapping"},
    {711, "Component %s Pin %s is a GND pin. Usually only has Pulldown_ref in Pin Mapping"},
    {712, "Pin %s is a GND pin. Usually only has Pulldown_ref in Pin Mapping"},
    {713, "Component %s Pin %s is NC. Should not have any references in Pin Mapping"},
    {714, "Pin %s is NC. Should not have any references in Pin Mapping"},
    {715, "Component '%s': Pin Mapping Pin '%s' not previously declared in Pin section."},
    {716, "Component '%s': Pin Mapping pulldown_ref entry '%s' is not connected to at least one pin whose model_name is POWER or GND."},
    {717, "Component '%s': Pin Mapping '%s': pulldown_ref entry is usually connected to GND."},
    {718, "Component %s: Pulldown Reference %s is also used as a Pullup Reference"},
    {719, "Pulldown Reference %s is also used as a Pullup Reference"},
    {720, "Component '%s': Pin Mapping pullup_ref entry '%s' is not connected to at least one pin whose model_name is POWER or GND."},
    {721, "Component '%s': Pin Mapping '%s': pullup_ref entry is usually connected to POWER."},
    {722, "Component '%s': Pin Mapping gnd_clamp_ref entry '%s' is not connected to at least one pin whose model_name is POWER or GND."},
    {723, "Component '%s': Pin Mapping '%s': gnd_clamp_ref entry is usually connected to GND."},
    {724, "Component '%s': Pin Mapping power_clamp_ref entry '%s' is not connected to at least one pin whose model_name is POWER or GND."},
    {725, "Component '%s': Pin Mapping '%s': power_clamp_ref entry is usually connected to POWER."},
    {726, "Component '%s': Pin Mapping ext_ref entry '%s' is not connected to at least one pin whose model_name is POWER or GND."},
    {727, "Component '%s': Pin Mapping '%s': ext_ref entry is usually connected to POWER."},
    {728, "Unable to alloc new PINMPG."},
    {729, "%s is an invalid Pin_Mapping column entry."},
    /* difpin */
    {800, "Unable to alloc DIFPIN."},
    {801, "Too many Diff Pin data columns."},
    {802, "No Diff_Pin column entry."},
    {803, "No inv_pin column entry."},
    {804, "Diff_Pin column pin same as inv_pin column pin."},
    {805, "No vdiff column entry."},
    {806, "No tdelay_typ column entry."},
    {807, "Typ value is not in between Min and Max "},
    {808, "Diff_Pin data line column count must be 4 or 6."},
    {809, "When using 6 columns, the tdelay_min and tdelay_max headers must be used."},
    {810, "Component '%s': Diff_Pin '%s' not previously declared in Pin section."},
    {811, "Component '%s': inv_pin '%s' not previously declared in Pin section."},
    {812, "Component '%s': Diff_Pin '%s' is not unique."},
    {813, "Component '%s': Inv_pin '%s' already in use as a Diff_pin."},
    {814, "Component '%s': Diff_pin '%s' already in use as an inv_pin."},
    {815, "Component '%s': inv_pin '%s' is not unique."},
    {816, "Bad value for %s column."},
    {817, "Suspicious value for %s column."},
    /* parse */
    {900, "Could not determine Version for file %s"},
    {901, "Filename '%s' should be lowercase"},
    {902, "Non-comment line exists after 'End' keyword."},
    {903, "Required keyword 'End' not found."},
    {904, "Unknown enumerated keyword code."},
    {905, "Exceeds %d chararacters."},
    {906, "Keywords Must Begin In Column 1."},
    {907, "Data for unknown keyword.\n%s"},
    {908, "%s:%d:Unknown current keyword."},
    {909, "Previous keyword not terminated properly. Possibly missing a \"/\"\n"},
    {910, "Duplicate IBIS_Ver keyword."},
    {911, "Illegal keyword for a '.pkg' file."},
    {912, "Illegal keyword for a '.ebd' file."},
    {913, "Illegal keyword for a '.ibs' file."},
    {914, "Keyword Missing Ending Bracket (']')."},
    {915, "Invalid Keyword."},
    {916, "Invalid Keyword: %s"},
    {917, "Invalid Comment Character Definition."},
    {918, "Invalid Comment Character '%c'."},
    {919, "Too Many Line Items For Keyword COMMENT_CHAR."},
    {920, "Extraneous data on End keyword line."},
    {921, "IBIS files should not contain tab characters."},
    {922, "Unable to Allocate Memory: %s %d"},
    {923, "Description line in AMI file (at line no %d) is greater than %d characters"},
    /* hdr */
    {1000, "Unable to get ptr to IBIS struct?"},
    {1001, "Orphan File Header keyword."},
    {1002, "Orphan Data Line."},
    {1003, "Bad keyword type passed to hdr."},
    {1004, "Bad line type passed to hdr."},
    {1005, "Duplicate IBIS_Ver keyword"},
    {1006, "Unable to create new File Header structure."},
    {1007, "IBIS_Version must be first keyword.\n"},
    {1008, "Illegal IBIS_Version '%s'."},
    {1009, "Duplicate File_name keyword."},
    {1010, "File_name '%s' contains an upper case character '%c'."},
    {1011, "File_name '%s' contains a character '%c' that is illegal for DOS."},
    {1012, "File_name '%s' contains more than one period."},
    {1013, "File_name '%s' must contain one period."},
    {1014, "File name opened '%s' not the same as File_name '%s'."},
    {1015, "Duplicate File_Rev keyword."},
    {1016, "Duplicate Date keyword."},
    {1017, "Duplicate Source keyword."},
    {1018, "Duplicate Notes keyword."},
    {1019, "Duplicate Copyright keyword."},
    {1020, "Unable to add text."},
    /* crv */
    {1100, "%s Already Defined"},
    {1101, "Unable to Allocate Memory: %s %d"},
    {1102, "Should Not Be Here: %s, %d"},
    {1103, "Unable to Parse %s: %s %d"},
    {1104, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {1105, "Out of Memory"},
    {1106, "Voltage Value Cannot Be 'NA'"},
    {1107, "More Than %d Voltage Points Provided For %s"},
    {1108, "Require at least 2 Voltage Points for %s Beginning at Line %d"},
    {1109, "%s %s Value Cannot Be 'NA' for %s Beginning at Line %d"},
    {1110, "%s %s data is non-monotonic"},
    {1111, "%s %s: %s has Decreasing Current"},
    {1112, "%s %s: %s has Increasing Current"},
    {1113, "%s %s: %s : Typical value never becomes zero"},
    {1114, "%s %s: %s : Minimum value never becomes zero"},
    {1115, "%s %s: %s : Maximum value never becomes zero"},
    /* pkg */
    {1200, "Unable to allocate a Package"},
    {1201, "Package sub-parameters must start in column 1."},
    {1202, "Expected %d columns in Package sub-parameter line, found %d columns."},
    {1203, "Duplicate R_pkg sub-parameter."},
    {1204, "Duplicate L_pkg sub-parameter."},
    {1205, "Duplicate C_pkg sub-parameter."},
    {1206, "Unknown Package subparameter."},
    {1207, "Unable to parse data for Package subparameter '%s'."},
    {1209, "The typical column must be specified."},
    {1210, "The minimum column must be specified or NA."},
    {1211, "The maximum column must be specified or NA."},
    {1213, "Component '%s': Required sub-parameter R_pkg not found."},
    {1215, "Component '%s': Required sub-parameter L_pkg not found."},
    {1217, "Component '%s': Required sub-parameter C_pkg not found."},
    /* ramp */
    {1300, "Ramp Already Defined"},
    {1301, "Unable to Allocate Memory: %s %d"},
    {1302, "Should Not Be Here: %s, %d"},
    {1303, "Unable to Parse %s: %s %d"},
    {1304, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {1305, "Unknown Line Among Ramp Data"},
    {1306, "%s Not Defined For Ramp Beginning on Line %d"},
    {1307, "%s Already Defined For Model '%s'"},
    {1308, "No %s Value Was Provided for %s"},
    {1309, "'NA' not allowed for %s Typical value"},
    {1310, "%s must be greater than 0 in a Ramp specification"},
    {1311, "Suspicious %s %s Value (\"%s\"); Numeric in Scale"},
    {1312, "Invalid %s %s Value (\"%s\")"},
    {1313, "Invalid Ramp %s Line"},
    {1314, "Invalid %s Value (\"%s\")"},
    /* rngp */
    {1400, "Unable to parse %s arguments"},
    {1401, "No %s Value Was Provided for %s"},
    {1402, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {1403, "Value %e repeated in the First Column"},
    {1404, "Unable to Allocate Memory: %s %d"},
    /* acdc */
    {1500, "Model '%s': %s VI curves cannot drive through Vmeas=%gV\n          given load Rref=%g Ohms to Vref=%gV"},
    {1503, "Model %s: The [%s Waveform] \n      with [R_fixture]=%g Ohms and [%s]=%gV\n      has %s column DC endpoints of %5.2fV and %5.2fv, but\n      an equivalent load applied to the model's I-V tables yields\n      different voltages (%5.2fV and %5.2fV),\n      a difference of %5.2f%% and %5.2f%%, respectively."},
    {1506, "Model '%s': Extreme currents present in %s %s VI Curve (%gA @ %gV)"},
    {1507, "Model '%s': Currents <> 0.0mA in 'Pullup' for Open_drain/Open_sink device"},
    {1508, "Model '%s': Currents <> 0.0mA in 'Pulldown' for Open_source device"},
    {1509, "%s %s %s data is non-monotonic"},
    {1510, "Model '%s': Currents <> 0.0mA in 'ISSO PU' for Open_drain/Open_sink device"},
    {1511, "Model '%s': Currents <> 0.0mA in 'ISSO PD' for Open_source device"},
    {1512, "Model %s: %s %s current (%6.3fA) at 0V does not match %s current (%6.3fA) at reference (%6.3fV)"},
    {1513, "Model %s: %s %s current (%6.3fA) at %s reference (%6.3fV) - table value (%6.3fV) is non-zero"},
    /* apkg */
    {1600, "Invalid Package Model name: '%s' is too long."},
    {1601, "Missing Package Model name"},
    {1602, "Unable to create new APKG."},
    {1603, "Alternate Package Model has no package models defined"},
    {1604, "Alternate Package Model has only one package model defined"},
    {1605, "Package Model Name Previously Defined (\"%s\")"},
    /* chk */
    {1700, "CMPT '%s', Pin '%s': Pin Resistance %g Ohms greater than %g Ohms"},
    {1701, "CMPT '%s', Pin '%s': Pin Inductance %gnH greater than %gnH"},
    {1702, "CMPT '%s', Pin '%s': Pin Capacitance %gpF greater than %gpF"},
    {1703, "%s '%s': %s %s Ramptime %5.3ensec unusually large ( > %5.3ensec )"},
    {1704, "[Model] %s has no description of the buffer's high state\n         DC drive characteristics (no [Pullup] table).  This warning\n         can be silenced by using an open drain Model_type or by\n         adding a [Pullup] table."},
    {1705, "[Model] %s has no description of the buffer's low state DC\n         drive characteristics (no [Pulldown] table).  This warning\n         can be silenced by using an open source Model_type or by\n         adding a [Pulldown] table."},
    {1706, "[Model] %s has no description of the buffer's low state DC\n         drive characteristics (no [Pulldown] table).  This warning\n         can be silenced by changing the Model_type or by adding a\n         [Pulldown] table."},
    {1707, "[Model] %s has no description of the buffer's high state\n         DC drive characteristics (no [Pullup] table).  This warning\n         can be silenced by changing the Model_type or by adding a\n         [Pullup] table."},
    {1708, "Component <%s>: Duplicate Node Name <%s>"},
    {1709, "Component <%s>: Illegal Node: <%s> same as pin <%s>"},
    {1710, "CMPT '%s': Rpkg %s value %g Ohms not within expected range (%g Ohms, %g Ohms)"},
    {1711, "CMPT '%s': Rpkg Max value < Min value"},
    {1712, "CMPT '%s': Lpkg %s value %gnH not within expected range (%gnH, %gnH)"},
    {1713, "CMPT '%s': Lpkg Max value < Min value"},
    {1714, "CMPT '%s': Cpkg %s value %gpF not within expected range (%gpF, %gpF)"},
    {1715, "CMPT '%s': Cpkg Max value < Min value"},
    {1716, "Model '%s': C_comp %s value %gpF out of expected range (%gpF, %gpF)  "},
    {1717, "Model '%s': C_comp_pullup %s value %gpF out of expected range (%gpF, %gpF)  "},
    {1718, "Model '%s': C_comp_pulldown %s value %gpF out of expected range (%gpF, %gpF)  "},
    {1719, "Model '%s': C_comp_power_clamp %s value %gpF out of expected range (%gpF, %gpF)  "},
    {1720, "Model '%s': C_comp_gnd_clamp %s value %gpF out of expected range (%gpF, %gpF)  "},
    /* circuit */
    {1800, "Too Many Signal Pins (only one instance of Signal_pin, Diff_signal_pins, or Series_pins is allowed) <%s>"},
    {1801, "Redundant use of port <%s>"},
    {1803, "Unable to Allocate Memory: %s %d"},
    {1804, "Illegal parameter <%s>"},
    {1805, "Not Enough arguments to %s"},
    {1806, "Extra Charaters on PIN line <%s>"},
    {1807, "Missing port or pad name in Port_map"},
    {1808, "(Line %d) No [External Circuit] %s for [Circuit Call]"},
    {1810, "should not be here %s %d"},
    {1811, "should not be here <%s> <%d>"},
    {1812, "should not get here <%s> <%d>"},
    {1813, "should not be here %s %d %s %d\n"},
    {1814, "should not get here %s %d"},
    {1815, "[CIRCUIT CALL] Line: <%d> Redundant use of port <%s>"},
    {1816, "CCALL Line <%d> A2D Line <%d> Illegal connection, 2 analog reference/driver ports <%s>=<%s> <%s>=<%s>"},
    {1817, "Circuit Call Line %d instantiates  External Circuit at %d with Floating Internal Node <%s> type %s"},
    {1818, "Internal Node <%s>, External Circuit at %d: is analog and digital"},
    {1819, "CCALL Line <%d> A2D Line <%d> Illegal connection,\n        2 analog reference/driver ports <%s>=<%s> <%s>=<%s>%s%s"},
    {1820, "should not get here %s %d\n"},
    {1821, "Component <%s> Floating Node <%s> (1 connection)%s"},
    {1822, "Component <%s> Unused Node <%s> (0 connection)%s"},
    {1823, "Component <%s> Floating Pin <%s> (no connections but used in CIRCIUT CALL)"},
    {1824, "Component %s Node <%s>: is analog and digital%s"},
    {1825, "Component <%s> Node: <%s> has a digital receiver but no digital driver%s"},
    {1826, "Component <%s> Node: <%s> has a digital receiver but no obvious digital driver\n        This indicates connection to a AMS port that 'may' be digital %s"},
    {1827, "Component <%s> Node: <%s> has a digital driver but no digital receiver%s"},
    {1828, "Component <%s> Node: <%s> has a digital driver but no obvious digital receiver\n        This indicates connection to a AMS port that 'may' be digital %s"},
    {1829, "Component <%s> Node: <%s> has no defined drivers%s"},
    {1830, "Component <%s> Node: <%s> has a analog receiver but no analog driver%s"},
    {1831, "Component <%s> Node: <%s> has a analog receiver but no obvious analog driver\n        This indicates connection to a AMS port that 'may' be analog %s"},
    {1832, "Component <%s> Node: <%s> has a analog driver but no analog receiver%s"},
    {1833, "Component <%s> Node: <%s> has a analog driver but no obvious analog receiver\n        This indicates connection to a AMS port that 'may' be analog %s"},
    {1834, "Component <%s> Pin <%s> Used as Digital in CIRCUIT CALL(s)(pins are analog)%s"},
    {1838, "(line %d) No [External Circuit] for [Circuit Call] %s in Component %s"},
    {1839, "CMPT <%s>, [Circuit Call] at (line %d) refererences illegal pin: <%s>"},
    {1840, "[Circuit Call] at (line %d) first reference pin <%s> is not declared CIRCUITCALL in [Pin] section"},
    {1841, "[Circuit Call] at (line %d) second reference pin <%s> is not declared CIRCUITCALL in [Pin] section"},
    {1842, "CMPT <%s>, [CIRCUIT CALL] at (line %d) references same pin twice: <%s>"},
    {1845, "[Circuit Call] at (line %d), no port <%s> in [External Circuit] %s"},
    {1846, "[Circuit Call] at (line %d), no node/pin <%s> in Component %s"},
    /* cmn */
    {1900, "File Name Requires '.ibs' Extension."},
    {1901, "Unable to append filename extension."},
    {1902, "File Name Requires '.ebd' Extension."},
    {1903, "File Name Requires '.pkg' Extension."},
    {1904, "Unable to assemble filename."},
    {1905, "Unable To Open File '%s%s'"},
    {1906, "Memory allocation failed.  This request %u.\n"},
    {1907, "Memory reallocation failed.  This request %u.\n"},
    {1908, "Unable to Allocate Memory: %s %d"},
    {1909, "Invalid %s Value (\"%s\")"},
    {1910, "Suspicious %s %s Value (\"%s\"); Numeric in Scale"},
    {1911, "Duplicate '%s' keyword."},
    {1912, "%s string '%s' is too long, truncating to %u characters."},
    {1913, "Zero length value for keyword '%s'."},
    {1914, "%s string '%s' is too long, maximum length %u allowed."},
    {1915, "Required keyword '%s' not found in file '%s'."},
    {1916, "Illegal use of Reserved Word '%s'."},
    {1917, "Found illegal %s character (code %x).%s"},
    {1918, "Unexpected '=' found"},
    {1919, "Unexpected token '%s' found in R/L/C section"},
    {1920, "Premature end of R/L/C section"},
    {1921, "Error parsing R/L/C section. Missing '='"},
    {1922, "Illegal number found '%s'"},
    {1923, "Numerical value expected"},
    {1924, "File Name Requires '.ami' Extension."},
    /* wvfrm */
    {2000, "More than 100 %ss are defined"},
    {2001, "Should Not Be Here: %s, %d"},
    {2002, "Unable to Parse %s: %s %d"},
    {2003, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {2004, "%s Not Defined For %s Waveform Beginning on Line %d"},
    {2005, "Require at least 2 Data Points for %s Waveform Beginning at Line %d"},
    {2006, "%s %s Value Cannot Be 'NA' for %s Waveform Beginning at Line %d"},
    {2007, "First %s Value should be the same as the Last for %s Waveform Beginning at Line %d"},
    {2008, "Found some %s (%s) offsets less than 0 for Table Beginning at Line %d"},
    {2009, "Found some %s (%s) offsets greater than 0 for Table Beginning at Line %d"},
    {2010, "SubParameters are not allowed in Golden Waveforms"},
    {2011, "Unknown Line Among %s Data"},
    {2012, "Unable to Allocate Memory: %s %d"},
    {2013, "%s specified after beginning of timing data"},
    {2014, "Duplicate definition for %s %s"},
    {2015, "Invalid %s line"},
    {2016, "Suspicious %s %s Value (\"%s\"); Numeric in Scale"},
    {2017, "Invalid %s Value (\"%s\")"},
    {2018, "More than %d data points provided for %s table"},
    {2019, "'NA' not allowed for %s value"},
    {2020, "Time value did not increase"},
    {2021, "Model %s: %s Waveform [%d] and its Composite Current don't have identical time points"},
    /* string */
    {2100, "Unable to Allocate Memory: %s %d"},
    {2101, "Should not be here %s %d"},
    /* testload */
    {2200, "Unable to Allocate Memory: %s %d"},
    {2201, "Unable to get IBIS structure"},
    {2202, "Orphan Test Load keyword."},
    {2203, "Orphan data line keyword."},
    {2204, "%s:%d:Illegal keyword."},
    {2205, "Orphan Data line."},
    {2206, "Unable to eat keyword <%s>: %s %d"},
    {2207, "Unable to Save Test Load Name"},
    {2208, "'Test Load' Keyword Missing name"},
    {2209, "Incorrect Number of Line Items (%d) For Keyword %s: Expecting %d"},
    {2210, "Test Load Name Over %d Characters Long"},
    {2211, "Invalid Test Load Name (\"%s\"); Reserved Word."},
    {2212, "TestLoad Name Previously Defined (\"%s\")"},
    {2213, "Unable to Parse %s: %s %d"},
    {2214, "Unknown Line Among Test Load"},
    {2216, "%s Already Defined For Test Load '%s'"},
    {2217, "'%s' Subparameter Missing Setting"},
    {2218, "Invalid %s Line"},
    {2219, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {2220, "Invalid %s (\"%s\") (try \"%s\")"},
    {2221, "Invalid %s (\"%s\")"},
    {2222, "%s Name Over %d Characters Long"},
    {2223, "Invalid %s (\"%s\"); Reserved Word."},
    {2224, "Test Load '%s': %s Not Defined"},
    {2225, "Test Load '%s': If Td is specified then Zo must be specified also"},
    {2226, "Test Load '%s': V_term1 must be specified when Rp1_near or Rp1_far is specified"},
    {2227, "Test Load '%s': V_term2 must be specified when Rp2_near or Rp2_far is specified"},
    {2228, "Test Load '%s' : R_diff_near specified for Test_load_type which is not Differential"},
    {2229, "Test Load '%s' : R_diff_far specified for Test_load_type which is not Differential"},
    {2230, "Test Load '%s' : Receiver_model_inv specified for Test_load_type which is not Differential"},
    {2231, "%s:%d:Unable to get IBIS?"},
    {2232, "Test Load '%s' references undefined models"},
    {2233, "Receiver_model '%s' in Test Load '%s' is not defined in the file"},
    {2234, "Driver_model '%s' in Test Load '%s' is not an input type."},
    {2235, "Receiver_model_inv '%s' in Test Load '%s' is not defined in the file"},
    {2236, "Receiverr_model_inv '%s' in Test Load '%s' is not associated with a Differential Pin."},
    {2237, "%s Already Defined For Test Load"},
    {2238, "Invalid %s Value (\"%s\")"},
    {2239, "'NA' Not Allowed For Typical Value"},
    /* testdata */
    {2300, "Unable to Allocate Memory: %s %d"},
    {2301, "Unable to get IBIS structure"},
    {2302, "Orphan Test Data keyword."},
    {2303, "Orphan data line keyword."},
    {2304, "[Rising Waveform Near] Already Defined"},
    {2305, "[Falling Waveform Near] Already Defined"},
    {2306, "[Rising Waveform Far] Already Defined"},
    {2307, "[Falling Waveform Far] Already Defined"},
    {2308, "[Diff Rising Waveform Near] Already Defined"},
    {2309, "[Diff Falling Waveform Near] Already Defined"},
    {2310, "[Diff Rising Waveform Far] Already Defined"},
    {2311, "[Diff Falling Waveform Far] Already Defined"},
    {2312, "%s:%d:Illegal keyword."},
    {2313, "Orphan Data line."},
    {2314, "Unable to eat keyword <%s>: %s %d"},
    {2315, "Unable to Save Test Data Name"},
    {2316, "'Test Data' Keyword Missing name"},
    {2317, "Incorrect Number of Line Items (%d) For Keyword %s: Expecting %d"},
    {2318, "Test Data Name Over %d Characters Long"},
    {2319, "Invalid Test Data Name (\"%s\"); Reserved Word."},
    {2320, "TestData Name Previously Defined (\"%s\")"},
    {2321, "Unable to Parse %s: %s %d"},
    {2322, "Unknown Line Among Test Data"},
    {2324, "%s Already Defined For Test Data '%s'"},
    {2325, "'%s' Subparameter Missing Setting"},
    {2326, "Invalid %s Line"},
    {2327, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {2328, "Invalid %s (\"%s\") (try \"%s\")"},
    {2329, "Invalid %s (\"%s\")"},
    {2330, "%s Name Over %d Characters Long"},
    {2331, "Invalid %s (\"%s\"); Reserved Word."},
    {2332, "Test Data '%s': %s Not Defined"},
    {2333, "Test Data '%s': Driver_model_inv can only be specified with Differential Test_data_type"},
    {2334, "Test Data '%s': At least one Rising/Falling Waveform must be specified"},
    {2335, "Test Data '%s': Differential Rising/Falling Waveform can be specified only with Differential Test_data_type"},
    {2336, "%s:%d:Unable to get IBIS?"},
    {2337, "Test Data '%s' references undefined models"},
    {2338, "Driver_model '%s' in Test Data '%s' is not defined in the file"},
    {2339, "Driver_model '%s' in Test Data '%s' is not an output type."},
    {2340, "Driver_model_inv '%s' in Test Data '%s' is not defined in the file"},
    {2341, "Driver_model_inv '%s' in Test Data '%s' is not associated with a Differential Pin."},
    {2342, "Test Data '%s' references undefined Test Loads"},
    {2343, "Test Load '%s' referenced in Test Data '%s' is not defined in the file"},
    {2344, "Test_data_type in Test Data '%s' is not the same as Test_load_type in referenced Test Load '%s'"},
    /* submdl */
    {2400, "Unable to Allocate Memory: %s %d"},
    {2401, "Unable to get IBIS structure"},
    {2402, "Orphan Sub Model keyword."},
    {2403, "Orphan data line keyword."},
    {2404, "[GND Pulse Table] Already Defined"},
    {2405, "[POWER Pulse Table] Already Defined"},
    {2406, "[Submodel Spec] should be specified before other keywords for a model"},
    {2408, "Unable to eat keyword <%s>: %s %d"},
    {2409, "Unable to Save Sub Model Name"},
    {2410, "'Sub Model' Keyword Missing name"},
    {2411, "Incorrect Number of Line Items (%d) For Keyword %s: Expecting %d"},
    {2412, "Sub Model Name Over %d Characters Long"},
    {2413, "Invalid Sub Model Name (\"%s\"); Reserved Word."},
    {2414, "SubModel Name Previously Defined (\"%s\")"},
    {2415, "Unable to Parse %s: %s %d"},
    {2416, "Unknown Line Among Sub Model Data"},
    {2417, "%s Already Defined For Submodel '%s'"},
    {2418, "'%s' Subparameter Missing Setting"},
    {2419, "Invalid %s Line"},
    {2420, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {2421, "Invalid %s (\"%s\") (try \"%s\")"},
    {2422, "Invalid %s (\"%s\")"},
    {2423, "Submodel '%s': %s Not Defined"},
    {2424, "Submodel %s: [Submodel Spec] is required when Submodel_type is Bus_hold"},
    {2425, "Submodel %s: [Submodel Spec] V_trigger_r is required when Submodel_type is Bus_hold"},
    {2426, "Submodel %s: [Submodel Spec] V_trigger_f is required when Submodel_type is Bus_hold"},
    {2427, "SubModel %s: Both Pullup and Pulldown cannot be specified when Off_delay is specified."},
    {2428, "Submodel %s: [Ramp] is required when Submodel_type is Bus_hold"},
    {2429, "Submodel %s: Either [Pullup] or [Pulldown] is required when Submodel_type is Bus_hold"},
    {2430, "Submodel %s: [Submodel Spec] V_trigger_f is required when GND_Pulse is specified"},
    {2431, "Submodel %s: [Submodel Spec] V_trigger_r is required when POWER_Pulse is specified"},
    {2432, "Submodel %s: GND Pulse Table or POWER Pulse Table or GND Clamp or POWER Clamp is required when Submodel_type is Dynamic_clamp"},
    {2433, "Submodel %s: [Submodel Spec] Off_delay  cannot be specified with Dynamic_clamp submodels"},
    {2434, "Submodel %s: [Submodel Spec] is required when Submodel_type is Fall_back"},
    {2435, "Submodel %s: [Submodel Spec] V_trigger_r is required when Submodel_type is Fall_back"},
    {2436, "Submodel %s: [Submodel Spec] V_trigger_f is required when Submodel_type is Fall_back"},
    {2437, "Submodel %s: Either [Pullup] or [Pulldown] is required when Submodel_type is Fall_back"},
    {2438, "Submodel %s: Pullup and Pulldown  cannot both be specified with Fall_back submodels"},
    {2439, "Submodel %s: [Ramp] is required when Submodel_type is Fall_back"},
    {2440, "Submodel %s: [Submodel Spec] Off_delay  cannot be specified with Fall_back submodels"},
    {2441, "Submodel %s: V_trigger_r (%s) is less than the start of Rising Waveform"},
    {2442, "Submodel %s: V_trigger_r (%s) is greater than the end of Rising Waveform"},
    {2443, "Submodel %s: V_trigger_f (%s) is greater than the start of Falling Waveform"},
    {2444, "Submodel %s: V_trigger_f (%s) is less than the end of Falling Waveform"},
    /* sswch */
    {2500, "Unknown sub parameter '%s'"},
    {2501, "Unable to add Series_Switch_Groups."},
    {2502, "No Group names specified on this line"},
    {2503, "Unable to allocate new Series Switch Group name."},
    {2504, "Series switch Group name '%s' over %d characters long"},
    {2505, "Series switch Group name cannot be 'On' or 'Off'"},
    {2506, "Duplicate Series switch Group name '%s'"},
    {2507, "Component '%s': Series switch Group name '%s' is not used by any [Series Pin Mapping] function_table_group"},
    {2508, "Unable to allocate new SSWCH."},
    /* spinmpg */
    {2600, "Extra data columns on this line."},
    {2601, "No Pin1 specified."},
    {2602, "No Pin2 specified."},
    {2603, "No Model specified."},
    {2604, " [Series Pin Mapping] Data lines must contain either 3 or 4 columns."},
    {2605, "[Series Pin Mapping] When 4 columns are specified, the heading 'function_table_group' must be used."},
    {2606, "%s:%d:Unable to get IBIS?"},
    {2607, "Component '%s': [Series Pin Mapping] Pin1 '%s' not previously declared in Pin section."},
    {2611, "Component '%s': [Series Pin Mapping] Pin2 '%s' not previously declared in Pin section."},
    {2617, "Component '%s': [Series Pin Mapping] Model '%s' is not defined."},
    {2618, "Component '%s': [Series Pin Mapping] defined but [Pins] not defined."},
    {2619, "Unable to alloc new Series_Pin_Mapping."},
    {2620, "Component '%s': [Series Pin Mapping] Model Selector '%s' Model '%s' is not of type Series_Switch."},
    {2621, "Component '%s': [Series Pin Mapping] Model '%s' is not of type Series_Switch."},
    {2622, "Component '%s': [Series Pin Mapping] Model Selector '%s' Model '%s' is not of type Series."},
    {2623, "Component '%s': [Series Pin Mapping] Model '%s' is not of type Series."},
    {2624, "Component '%s': [Series Pin Mapping] Model Selector '%s' Model '%s' is of type Series so function_table_group '%s' is ignored."},
    {2625, "Component '%s': [Series Pin Mapping] Model '%s' is of type Series so function_table_group '%s' is ignored."},
    {2626, "Component '%s': [Series Pin Mapping] Model Selector '%s' Model '%s' is of type Series_Switch so function_table_group is required."},
    {2627, "Component '%s': [Series Pin Mapping] Model '%s' is of type Series_Switch so function_table_group is required."},
    {2628, "Component '%s': [Series Pin Mapping] Model Selector '%s' Model '%s' uses function %s which is not defined."},
    {2629, "Component '%s': [Series Pin Mapping] Model '%s' uses function %s which is not defined."},
    {2630, "Component '%s': [Series Pin Mapping] Model Selector '%s' Model '%s' is of unknown type."},
    {2631, "Component '%s': [Series Pin Mapping] Model '%s' is of unknown type."},
    /* smspec */
    {2700, "Sub Model Specification: Already Defined for this sub model"},
    {2701, "Unable to Allocate Memory: %s %d"},
    {2702, "Should Not Be Here: %s, %d"},
    {2703, "Unable to Parse %s: %s %d"},
    {2704, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {2705, "Submodel %s: Empty Submodel Spec"},
    {2706, "Unknown Line Among Sub Model Spec Data"},
    {2707, "%s Already Defined For Submodel '%s'"},
    {2708, "'NA' not allowed for Typical value"},
    /* smos */
    {2800, "More than 100 [Series_MOSFET]s are defined"},
    {2801, "Should Not Be Here: %s, %d"},
    {2802, "Unable to Parse %s: %s %d"},
    {2803, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {2804, "Model %s: Vds not specified for [Series MOSFET] defined on line %d"},
    {2805, "Model %s: Vds should be >= 0 for [Series MOSFET] defined on line %d"},
    {2806, "Model %s %s: Found two Series_MOSFETs with identical Vds value %e"},
    {2807, "Unknown data line in Series_MOSFET"},
    {2808, "Vds is already defined"},
    {2809, "Unable to Allocate Memory: %s %d"},
    {2810, "Invalid %s Line"},
    {2811, "Invalid %s Value (\"%s\")"},
    /* sinfo */
    {2900, "%s Series Info: Already Defined for this model"},
    {2901, "Unable to Allocate Memory: %s %d"},
    {2902, "Should Not Be Here: %s, %d"},
    {2903, "Unable to Parse %s: %s %d"},
    {2904, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {2905, "Model %s %s: No series data found"},
    {2906, "Model %s: [Series_MOSFET] is not allowed in conjunction with the [Off] keyword"},
    {2907, "Model %s %s: Rl_series cannot be specified if L_series is not specified"},
    {2908, "Model %s %s: Rc_series cannot be specified if C_series is not specified"},
    {2909, "Model %s %s: Lc_series cannot be specified if C_series is not specified"},
    /* sect */
    {3000, "Duplicate Len sub param in R/L/C section"},
    {3001, "Len should not be less than zero"},
    {3002, "Len should be specified before R"},
    {3003, "Duplicate R sub param in R/L/C section"},
    {3004, "R should not be less than zero"},
    {3005, "Len should be specified before L"},
    {3006, "Duplicate L sub param in R/L/C section"},
    {3007, "L should not be less than zero"},
    {3008, "Len should be specified before C"},
    {3009, "Duplicate C sub param in R/L/C section"},
    {3010, "C should not be less than zero"},
    {3011, "Empty R/L/C section found"},
    {3012, " L and C must be specified when Len != 0"},
    {3013, "Premature end of R/L/C section. Trailing '/' missing"},
    {3014, "Unable to Allocate Memory: %s %d"},
    /* row */
    {3100, "Unable to find Pin <%s> in Package Model Pin_Number list."},
    {3101, "Repeated ROW <%s>."},
    {3102, "Expected Pin <%s> at matrix row index %u, found at matrix row index %u."},
    {3103, "Unable to convert row data."},
    {3104, "Suspicious row data."},
    {3105, "More row data than allowed for this row."},
    {3106, "Unable to add row data."},
    {3107, "Only %u columns of data allowed for this Row ."},
    {3109, "%s:%d:pRow->uiColumnCount > uiNewColumnCount"},
    {3110, "No Column Index."},
    {3111, "This Row Column Index defines an entry in the lower matrix triangle."},
    {3113, "Duplicate Row column index %u."},
    {3114, "No row data."},
    {3115, "Excessive data <%s>, only Index and Value should be specified for a Sparse_matrix."},
    {3116, "Expected %u columns of Row data for [Row] %s in Matrix ending previous to this line, found %u column%c."},
    {3117, "Expected at least one column of Row data for [Row] %s in Matrix ending previous to this line."},
    {3118, "[Row] %s must contain a self-coupled index and entry."},
    {3119, "Unable to add new matrix row."},
    {3120, "Unknown PIN NUMBER."},
    {3121, "PIN NUMBER string too long."},
    {3122, "Unable to add new matrix row, expected column count = 0."},
    {3123, "Unable to create pin entry array."},
    /* rcvth */
    {3200, "Receiver Threshold: Already Defined for this model"},
    {3201, "Unable to Allocate Memory: %s %d"},
    {3202, "Should Not Be Here: %s, %d"},
    {3203, "Unable to Parse %s: %s %d"},
    {3204, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {3205, "Model %s Receiver Thresholds: Reference Supply must be specified when Threshold Sensitivity is specified"},
    {3206, "Model %s Receiver Thresholds: Vcross_low must be specified for differential receivers (Pin %s)"},
    {3207, "Model %s Receiver Thresholds: Vcross_high must be specified for differential receivers (Pin %s)"},
    {3208, "Model %s Receiver Thresholds: Vdiff_ac must be specified for differential receivers (Pin %s)"},
    {3209, "Model %s Receiver Thresholds: Vdiff_dc must be specified for differential receivers (Pin %s)"},
    {3210, "Model %s Receiver Thresholds: Tdiffslew_ac must be specified for differential receivers (Pin %s)"},
    {3219, "Model %s Receiver Thresholds: Vth must be specified for single ended receivers"},
    {3220, "Model %s Receiver Thresholds: Vinh_ac must be specified for single ended receivers"},
    {3221, "Model %s Receiver Thresholds: Vinl_ac must be specified for single ended receivers"},
    {3222, "Model %s Receiver Thresholds: Vinh_dc must be specified for single ended receivers"},
    {3223, "Model %s Receiver Thresholds: Vinl_dc must be specified for single ended receivers"},
    {3224, "Model %s Receiver Thresholds: Tslew_ac must be specified for single ended receivers"},
    {3230, "Unknown Line Among Receiver Threshold Data"},
    {3231, "%s Already Defined For Receiver Threshold"},
    {3232, "Invalid %s Line"},
    {3233, "Invalid %s Value (\"%s\")"},
    {3234, "Unknown Reference_supply %s specified"},
    /* query */
    {3300, "Out of Memory"},
    /* pkgmdl */
    {3400, "%s:%d:PKGMDL_Init unable to get IBIS?"},
    {3401, "Orphan Package Model keyword."},
    {3402, "Orphan Data Line."},
    {3403, "%s:%d:Illegal keyword."},
    {3404, "Orphan Data line."},
    {3405, "%s:%d:Illegal line type received."},
    {3406, "COMMAND.COM not available?"},
    {3407, "/bin/sh not available?"},
    {3408, "tmpnam() failed."},
    {3409, "fopen(%s) failed."},
    {3410, "Define_Package_Model '%s' is duplicated within the .ibs file."},
    {3411, "Resistance_Matrix cannot be specified when Number_Of_Sections is specified for Package Model %s."},
    {3412, "Inductance_Matrix cannot be specified when Number_Of_Sections is specified for Package Model %s."},
    {3413, "Inductance matrix not found for Package Model '%s'."},
    {3414, "Capacitance_Matrix cannot be specified when Number_Of_Sections is specified for Package Model %s."},
    {3415, "Capacitance matrix not found for Package Model '%s'."},
    {3416, "Unable to create new PKGMDL."},
    {3417, "Package Model keyword 'Define_Package_Model' not found or blank."},
    {3418, "OEM keyword not found for Package Model '%s'."},
    {3419, "Description keyword not found for Package Model '%s'."},
    {3420, "Blank Number_of_Pins value."},
    {3421, "Duplicate Number_of_Pins keyword."},
    {3422, "Suspicious Number_of_Pins value."},
    {3423, "Bad Number_of_Pins value."},
    {3424, "Number_of_Pins = 0."},
    {3425, "Blank Number_of_Sections value."},
    {3426, "Duplicate Number_of_Sections keyword."},
    {3427, "Number of Sections should be specified before Pin Numbers"},
    {3428, "Suspicious Number_of_Sections value."},
    {3429, "Bad Number_of_Sections value."},
    {3430, "Number_of_Sections = 0."},
    {3431, "Number_of_Pins keyword not found or value bad for Package Model '%s'."},
    {3432, "Pin Numbers name string too long. will be truncated."},
    {3433, "Number of Pins is zero, unable to add Pin Number."},
    {3434, "Unable to allocate Pin_Numbers array."},
    {3435, "More Pin Numbers names than Number of pins."},
    {3436, "Unable to allocate PIN."},
    {3437, "Duplicate Pin <%s>."},
    {3438, "Detected the start of an orphan R/L/C section"},
    {3439, "Cannot Nest Forks"},
    {3440, "Detected the start of an orphan 'Fork'"},
    {3441, "Detected the start of an orphan 'Endfork'"},
    {3442, "Empty Fork/Endfork found"},
    {3443, "Endfork found without enclosing Fork"},
    {3444, "A new Pin %s has been defined before terminating a previous Fork with the corresponding Endfork"},
    {3445, "Found a Pin Name '%s' containing '='. Possible syntax error"},
    {3446, "Found a Pin Name '%s' containing '/'. Possible syntax error"},
    {3447, "Found a Pin Name '%s'. Possible syntax error"},
    {3448, "Unable to allocate Pin_Sections array."},
    {3449, "No Sections were defined for this pin even though [Number of Sections] was defined."},
    {3450, "Some Fork sub parameters were not terminated with Endfork"},
    {3451, "Pin '%s' has %d sections. This is greater than the Number of Sections %d specified"},
    {3452, "Required keyword Pin_Numbers not found for Package Model '%s'."},
    {3453, "No Pin Numbers names found for Package Model '%s'."},
    {3454, "Number of Pins <%u> not the same as count of Pin Numbers names found <%u> for Package Model '%s'."},
    {3455, "Required Model_Data keyword not found for package %s."},
    {3456, "Model_Data cannot be specified when Number_Of_Sections is specified for package %s."},
    {3457, "Required End_Model_Data keyword not found for package %s."},
    {3458, "End_Model_Data cannot be specified when Number_Of_Sections is specified for package %s."},
    {3459, "Required End_Package_Model keyword not found."},
    {3460, "Duplicate Resistance Matrix."},
    {3461, "Duplicate Inductance Matrix."},
    {3462, "Duplicate Capacitance Matrix."},
    {3464, "Multiple Bandwidth keywords."},
    {3465, "Bandwidth keyword in wrong location."},
    {3466, "Row keyword in wrong location."},
    {3467, "Keyword '%s' not found or blank for Package Model '%s'."},
    {3468, "Duplicate '%s' keyword found."},
    {3469, "Extraneous data on '%s' line."},
    {3470, "Unable to remove(%s)."},
    /* node */
    {3600, "Unable to Allocate Memory: %s %d"},
    /* mtx */
    {3700, "Unable to allocate MTX."},
    {3701, "Matrix type not specified."},
    {3702, "Unknown matrix type '%s'."},
    {3703, "Bandwidth only allowed for Banded Matrices"},
    {3704, "Bad Bandwidth value."},
    {3705, "Suspicious Bandwidth value."},
    {3706, "Bandwidth <%u> must be less than Number_of_Pins <%u>."},
    {3707, "gpMtx is NULL, cannot reset banded wrap type."},
    {3708, "Bandwidth for this Banded, circle-back matrix exceeds the limit of %u."},
    {3709, "gpMtx->eMatrixType is alreaded banded wrap"},
    {3710, "gpMtx->eMatrixType is not a banded type, cannot reset banded wrap type."},
    {3711, "gpMtx is NULL, cannot determine banded wrap type."},
    {3712, "gpMtx->eMatrixType is not a banded type, cannot determine banded wrap type."},
    {3713, "gpMtx is NULL, cannot determine row count."},
    {3714, "gpMtx is NULL, cannot determine bandwidth."},
    {3715, "gpMtx is not banded type, cannot determine bandwidth."},
    {3716, "The %s Matrix is Banded and requires the 'Bandwidth' keyword."},
    {3717, "Expected %u Rows, found %u for Matrix ending previous to this line."},
    {3718, "gpMtx->eMatrixType is unknown, cannot determine CheckColumnCount."},
    /* mspec */
    {3800, "Model Specification: Already Defined for this model"},
    {3801, "Unable to Allocate Memory: %s %d"},
    {3802, "Should Not Be Here: %s, %d"},
    {3803, "Unable to Parse %s: %s %d"},
    {3804, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {3805, "%s should not be specified for model type %s"},
    {3806, "Unknown Line Among Model Spec Data"},
    {3807, "%s Already Defined For Model '%s'"},
    {3808, "'NA' not allowed for Typical value"},
    {3809, "All %s Hystereis Thresholds should be specified for Model Spec defined on line %d"},
    {3810, "%s is greater than zero for Model Spec defined on line %d"},
    {3811, "%s is less than zero for Model Spec defined on line %d"},
    {3812, "%s requires %s to be specified for Model Spec defined on line %d"},
    {3813, "%s must be specified when %s is specified for [Model Spec] defined on line %d"},
    {3814, "orphan %s found for Model Spec defined on line %d"},
    {3815, "%s must be specified when %s is specified"},
    {3816, "%s must not be specified when %s is specified"},
    {3817, "%s(%s) is not less than %s(%s) for Model Spec defined on line %d"},
    {3818, "%s(%s) is not greater than %s(%s) for Model Spec defined on line %d"},
    {3819, "%s(%s) is not less than or equal to %s(%s) for Model Spec defined on line %d"},
    {3820, "%s(%s) is not greater than or equal to %s(%s) for Model Spec defined on line %d"},
    /* rng */
    {3900, "Unable to Parse %s: %s %d"},
    {3901, "No %s Value Was Provided for %s"},
    {3902, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {3903, "Typ value is not in between Min and Max "},
    {3904, "Unable to Allocate Memory: %s %d"},
    /* ibis (its two codes follow those of rng in the shared block) */
    {3950, "Unable to create IBIS."},
    {3951, "Required keyword 'Component' not found."},
    /* msel */
    {4000, "%s:%d:MSEL_Init unable to get IBIS?"},
    {4001, "Orphan Model Selector keyword."},
    {4002, "Orphan Data Line."},
    {4003, "%s:%d:Illegal keyword."},
    {4005, "Model Selector: '%s' has no models defined"},
    {4006, "Model Selector: '%s' has only one model defined"},
    {4007, "Unable to create new MSEL."},
    {4008, "Unable to create new MSEL Model."},
    {4009, "Unable to Save Model Selector Name"},
    {4010, "'Model Selector' Keyword Missing name"},
    {4011, "Incorrect Number of Line Items (%d) For Keyword %s: Expecting %d"},
    {4012, "Model Selector Name Over %d Characters Long"},
    {4013, "Invalid Model SelectorName (\"%s\"); Reserved Word."},
    {4014, "Model Selector Name Previously Defined (\"%s\")"},
    {4015, "Unable to Parse %s: %s %d"},
    {4016, "'Model Selector' Keyword: Missing model name"},
    {4017, "Model Name Over %d Characters Long"},
    {4018, "Invalid Model Name (\"NA\")"},
    {4019, "Model Descriptor string '%s' is too long, truncating to %u characters."},
    {4020, "%s:%d:Unable to get IBIS?"},
    {4021, "'%s' is the name of a Model and a Model Selector"},
    {4022, "Model %s in Model Selector %s is Differential, but this Model Selector contains Single Ended models too "},
    {4023, "Model %s in Model Selector %s is Single Ended, but this Model Selector contains Differential models too "},
    {4024, "Model '%s' in Model Selector '%s' is not defined in the file"},
    {4025, "Model '%s'. already used in this Model Selector"},
    /* drvsh */
    {4200, "Driver Schedule: Already Defined for this model"},
    {4201, "Unable to Allocate Memory: %s %d"},
    {4202, "Should Not Be Here: %s, %d"},
    {4203, "Unable to Parse %s: %s %d"},
    {4204, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {4205, "Model '%s': The [Driver_Schedule] has no models defined"},
    {4206, "Model '%s': The [Driver_Schedule] has only one model defined"},
    {4207, "Model %s used in the Driver Schedule of Model %s is not defined"},
    {4208, "Model %s used in the Driver Schedule of Model %s cannot itself have a Driver Schedule"},
    {4209, "Model %s used in the Driver Schedule of Model %s should be an output model"},
    {4210, "Unable to Set Model Name in Driver Schedule"},
    {4211, "'Driver Schedule' Missing model Name"},
    {4212, "Model Name Over %d Characters Long"},
    {4213, "Model Name in Driver Schedule is the same as enclosing Model (\"%s\")"},
    {4214, "Invalid Model Name in Driver Schedule (\"%s\"); Reserved Word."},
    {4215, "Model Name (\"%s\") previously used in this Driver Schedule"},
    {4216, "Unable to create new Driver Schedule Model."},
    /* ebdmdl */
    {4300, "%s:%d:EBDMDL_Init unable to get IBIS?"},
    {4301, "Orphan Electrical Board Description keyword."},
    {4302, "Orphan Data Line."},
    {4303, "Detected previous unterminated Forks"},
    {4304, "%s:%d:Illegal keyword."},
    {4305, "%s:%d:Illegal line type received."},
    {4306, "Board Description '%s' is duplicated within the .ebd file."},
    {4307, "Unable to create new EBDMDL."},
    {4308, "Ebd Model keyword 'Begin_Board_Description' not found or blank."},
    {4309, "Duplicate [Number of Pins] keyword"},
    {4310, "Blank Number_of_Pins value."},
    {4311, "Duplicate Number_of_Pins keyword."},
    {4312, "Suspicious Number_of_Pins value."},
    {4313, "Bad Number_of_Pins value."},
    {4314, "Number_of_Pins = 0."},
    {4315, "Number_of_Pins keyword not found or value bad for Ebd Model '%s'."},
    {4316, "No Pin_name found ."},
    {4317, "Pin name string too long. will be truncated."},
    {4318, "Number of Pins is zero, unable to add Pin Number."},
    {4319, "Unable to allocate Pin_Name array."},
    {4320, "More Pin Numbers names than Number of pins."},
    {4321, "Unable to allocate PIN."},
    {4322, "Duplicate Pin <%s>."},
    {4323, "No signal_name found"},
    {4324, "signal_name too long. will be truncated."},
    {4325, "Unexpected data after signal_name."},
    {4326, "Required keyword Pin_List not found."},
    {4327, "No Pin Numbers names found."},
    {4328, "Pin '%s' was not referenced on any Electrical Path"},
    {4329, "Pin '%s' was referenced on Electrical Paths but is implicitly connected to a power or a gnd plane"},
    {4330, "Pin '%s' was referenced %d times on Electrical Paths"},
    {4331, "Number of Pins <%u> not the same as count of Pin Numbers names found <%u>."},
    {4332, "Required End_Board_Description keyword not found."},
    {4333, "Keyword '%s' not found or blank for Ebd Model '%s'."},
    {4334, "Duplicate '%s' keyword found."},
    {4335, "Extraneous data on '%s' line."},
    {4336, "Duplicate [Pin List] keyword found."},
    {4337, "Unable to find 'signal_name' after [Pin List] keyword."},
    {4338, "'signal_name' column header not found."},
    {4339, "Unrecognized data after 'signal_name'"},
    {4340, "Unexpected '=' found"},
    {4341, "Unexpected '/' found"},
    {4342, "Detected the start of an orphan R/L/C section"},
    {4344, "Detected the start of an orphan 'NC'"},
    {4345, "Detected the start of an orphan 'Fork'"},
    {4346, "Detected the start of an orphan 'Endfork'"},
    {4347, "Empty Fork/Endfork found"},
    {4348, "Endfork found without enclosing Fork"},
    {4349, "No Pin Name found after Pin sub param"},
    {4350, "No ref_designatior.pin found after Node sub param"},
    {4351, "Detected an orphan 'Node' sub param"},
    {4352, "Unknown token found: '%s'"},
    {4353, "Unable to create new EBDPATH."},
    {4354, "Duplicate Path_Description '%s'"},
    {4355, "EBD Model '%s' has no paths defined"},
    {4356, "Path Descriptor '%s' has no segments"},
    {4357, "Path %s or a branch does not terminate after NC"},
    {4358, "Pin '%s' used in Path '%s' not defined"},
    {4359, "Reference Designator '%s' used in Path '%s' not defined"},
    {4360, "Could not allocate path element"},
    {4361, "Pin_name string too long. will be truncated."},
    {4362, "Found a Pin Name '%s' containing '/'. Possible syntax error"},
    {4363, "Found a Pin Name '%s' containing '='. Possible syntax error"},
    {4364, "Found a Pin Name '%s'. Possible syntax error"},
    {4365, "Cannot allocate path element"},
    {4366, "Cannot allocate path element pin"},
    {4368, "Invalid Node specified. Missing '.'"},
    {4369, "Node Reference designator string too long. will be truncated."},
    {4370, "Cannot allocate reference designator"},
    {4371, "No Reference Designator name found"},
    {4372, "Reference Designator name '%s' too long. Will be truncated"},
    {4373, "Duplicate Reference Designator '%s'"},
    {4374, "No file name found"},
    {4375, "File name '%s' too long. Will be truncated"},
    {4376, "Invalid file name '%s'. It has no extension"},
    {4377, "Unknown file extension'%s'. Should be '.ibs' or '.ebd'"},
    {4378, "File_name '%s' contains an upper case character '%c'."},
    {4379, "File_name '%s' contains a character '%c' that is illegal for DOS."},
    {4380, "File_name '%s' contains more than one period."},
    {4381, "No Component name found"},
    {4382, "Component name '%s' too long. Will be truncated"},
    {4383, "Cannot allocate path element node"},
    {4384, "Node Pin name string too long. will be truncated."},
    {4385, "Found a Node '%s' containing '='. Possible syntax error"},
    {4386, "Found a Node '%s' containing '/'. Possible syntax error"},
    {4387, "Found a Node '%s'. Possible syntax error"},
    {4388, "Unable to allocate FILEREF."},
    {4389, "Unable to allocate PINREF."},
    {4390, "Reference Designator '%s' refers to the Component '%s' itself being defined"},
    {4391, "Component '%s' not found in file '%s'"},
    {4392, "Pin '%s' not found on Component '%s' in file '%s'"},
    {4393, "Length of Pin '%s' referenced for Component '%s' is too long"},
    {4394, "Ebd file '%s' recursively references the component %s in the calling Ebd file '%s'"},
    /* dly */
    {4500, "Unable to Parse %s: %s %d"},
    {4501, "No %s Value Was Provided for %s"},
    {4502, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {4503, "Unable to Allocate Memory: %s %d"},
    {4504, "At least two delays must be specified"},
    {4505, "%s and %s cannot be specified together"},
    {4506, "%s is less than zero"},
    /* algmod */
    {4600, "Expected a branch but found '%s'  as a leaf of '%s'"},
    {4601, "Algorithmic Model: Already Defined for this model"},
    {4602, "Unable to Allocate Memory: %s %d"},
    {4603, "Should Not Be Here: %s, %d"},
    {4604, "Unable to Parse %s: %s %d"},
    {4605, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {4606, "The Number of Bits should be 32 or 64 for Platform %s and Compiler %s for Algorithmic Model defined on line %d"},
    {4607, "Duplicate Sub-Parameter: Platform %s Compiler %s Bits %d for Algorithmic Model defined on line %d"},
    {4608, "Unable to Parse %s: %s %d"},
    {4609, "Unknown Line in Algorithmic Model"},
    {4610, "Could not parse Platform, Compiler, Bits  for [Algorithmic Model] Executable Sub-parameter"},
    {4611, "Platform name too long %s"},
    {4612, "Compiler name too long %s"},
    {4613, "Could not parse the Bits in %s for [Algorithmic Model] Executable Sub-parameter"},
    {4614, "Filename too long %s"},
    {4615, "Empty [Algorithmic Model] defined for Model %s"},
    {4616, "Code file %s not found. It was defined in [Algorithmic Model] for Model %s"},
    {4617, "AMI Parameter file %s should have '.ami' extension. It was defined in [Algorithmic Model] for Model %s"},
    {4618, "AMI parameter file %s not found. It was defined in [Algorithmic Model] for Model %s"},
    {4619, "The AMI parameter file has mismatched parenthesis"},
    {4620, "The AMI parameter file should start with a parenthesis"},
    {4621, "Internal error while parsing AMI Parameter file"},
    {4622, "No Reserved_Parameters found"},
    {4623, "Unknown branch %s found"},
    {4624, "Unknown parameter %s found as a child of %s"},
    {4625, "%s parameter is mandatory"},
    {4626, "%s: Illegal format for %s"},
    {4627, "Illegal %s value %s specified for %s"},
    {4628, "Found a branch %s expecting a leaf for %s"},
    {4629, "Unexpected parameter %s specified for %s"},
    {4630, "Parameter %s is mandatory for %s"},
    {4632, "%s: Illegal Format for %s. Expected %d number(s)"},
    {4633, "%s: Illegal Format for %s. Expected %d integer(s)"},
    {4634, "Invalid syntax of branch or leaf. At least 2 elements expected in a list"},
    {4635, "Too few nodes in branches or leaves"},
    /* cmpntemi */
    {4701, "%s Already Defined For EMI Component"},
    {4703, "[Emi Component] is already defined for this Component"},
    {4704, "Unexpected data '%s' found after the Keyword"},
    {4705, "Orphan keyword line."},
    {4706, "Orphan data line"},
    {4707, "%s:%d:Illegal keyword passed to EMI Component."},
    {4709, "%s:%d:Unknown keyword received data."},
    {4710, "%s:%d:Illegal line type passed to EMI Component."},
    {4711, "[End EMI Component] expected"},
    {4712, "Empty Emi Component block found"},
    {4713, "Unable to create new EMI Component."},
    {4714, "C_Heatsink_gnd cannot be specified since C_Heatsink_float is already specified"},
    {4715, "C_Heatsink_float cannot be specified since C_Heatsink_gnd is already specified"},
    {4716, "Unknown Line after [Begin EMI Component]"},
    {4718, "'%s' Subparameter Missing Setting"},
    {4719, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {4720, "Invalid %s (\"%s\") (try \"%s\")"},
    {4721, "Invalid %s (\"%s\")"},
    {4722, "Could not allocate memory in file %s at line %d"},
    {4723, "Invalid %s Line"},
    {4724, "[Pin Domain EMI]: Already Defined for this EMI Component"},
    {4725, "Expected 'percentage' parameter after keyword"},
    {4726, "Unknown parameter '%s': Expected 'percentage'"},
    {4727, "domain_name '%s' is redefined"},
    {4728, "Invalid percentage '%s'. %s"},
    {4729, "[Pin EMI]: Already defined for this EMI Component."},
    {4730, "Unable to find column headers after [Pin EMI] keyword."},
    {4731, "'%s' column header not found or out of order."},
    {4732, "Unable to add data for [Pin EMI] keyword."},
    /* mdlemi */
    {4800, "EMI Model: Already Defined for this model"},
    {4801, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {4802, "Unable to Parse %s: %s %d"},
    {4803, "Should Not Be Here: %s, %d"},
    {4804, "Unable to Allocate Memory: %s %d"},
    {4805, "%s is already specified for the EMI Model"},
    {4806, "'%s' Subparameter Missing Setting"},
    {4807, "Invalid %s (\"%s\") (try \"%s\")"},
    {4808, "Invalid %s (\"%s\")"},
    /* pinemi */
    {4900, "Unable to add the line of Pin EMI data"},
    {4901, "pin_name not found"},
    {4902, "domain_name not found"},
    {4903, "clock_div not found"},
    {4904, "clock_div should be at most %d characters long"},
    {4905, "Unexpected data '%s' after clock_div"},
    {4906, "Duplicate Pin '%s'"},
    {4907, "%s:%d:Unable to get IBIS?"},
    {4908, "Component '%s': domain_name '%s' found in [Pin Domain EMI] section was not associated with any pin_name in the [Pin EMI] section"},
    {4909, "Component '%s': pin_name '%s' found in [Pin EMI] section was not found in the [Pin] section"},
    {4910, "Unable to allocate new Pin EMI."},
    {4911, "Component '%s': Pin '%s' is of model '%s' and cannot be referened in a [Pin EMI] section"},
};

const int errorLogTableCount = (int)(sizeof(errorLogTable) / sizeof(errorLogTable[0]));

} /* extern "C" */

namespace {

struct SeverityForm {
    const char* sWord;   /* unnumbered style; null: print nothing */
    char cLetter;        /* numbered style */
    int bLine;           /* carries the reader's line number */
    int iWrapMin;        /* window of text lengths printed on a second line */
    int iWrapMax;
};

/* Indexed by ERRLOG_SEVERITY. The windows keep a one-line message from
 * running past the usual terminal width; very long texts stay on one line. */
const SeverityForm kForms[] = {
    {"PROGRAM BUG", 'B', 0, 0, -1},
    {"PROGRAM BUG", 'B', 1, 0, -1},
    {"ERROR", 'E', 0, 72, 75},
    {"ERROR", 'E', 1, 60, 75},
    {"WARNING", 'W', 0, 70, 75},
    {"WARNING", 'W', 1, 58, 75},
    {"CAUTION", 'C', 0, 70, 75},
    {"CAUTION", 'C', 1, 58, 75},
    {"NOTE", 'N', 0, 73, 75},
    {"NOTE", 'N', 1, 61, 75},
    {NULL, 'I', 0, 0, -1},
};

FILE* s_Stream()
{
    if (gpLogFile == NULL)
        gpLogFile = stdout;
    return gpLogFile;
}

int s_Suppressed(int severity)
{
    switch (severity) {
    case ERRLOG_BUG:
    case ERRLOG_LINEBUG:
        return gbSuppressBugs;
    case ERRLOG_ERROR:
    case ERRLOG_LINEERROR:
        return gbSuppressErrors;
    case ERRLOG_WARN:
    case ERRLOG_LINEWARN:
        return gbSuppressWarns;
    case ERRLOG_CAUTION:
    case ERRLOG_LINECAUTION:
        return gbSuppressCautions;
    default:
        return 0;
    }
}

void s_Count(int severity)
{
    switch (severity) {
    case ERRLOG_BUG:
    case ERRLOG_LINEBUG:
        ++gulBug_cnt;
        break;
    case ERRLOG_ERROR:
    case ERRLOG_LINEERROR:
        ++gulError_cnt;
        break;
    case ERRLOG_WARN:
    case ERRLOG_LINEWARN:
        ++gulWarn_cnt;
        break;
    case ERRLOG_CAUTION:
    case ERRLOG_LINECAUTION:
        ++gulCaution_cnt;
        break;
    default:
        break;
    }
}

/* A copy of what the log prints, while one is being kept. */
std::string* s_capture = NULL;

/* Writes text where the log prints, and to the copy being kept. */
void s_Write(const char* text, size_t n)
{
    fwrite(text, 1, n, s_Stream());
    if (s_capture != NULL) s_capture->append(text, n);
}

/* Prints one formatted message; numbered adds the severity letter and code. */
void s_Print(int severity, int numbered, int code, const char* text)
{
    const SeverityForm& form = kForms[severity];
    if (!numbered && form.sWord == NULL)
        return;
    int len = (int)strlen(text);
    const char* sep = (len >= form.iWrapMin && len <= form.iWrapMax) ? " -\n    " : " - ";
    char head[64];
    int n = numbered ? snprintf(head, sizeof head, "%c%04d", form.cLetter, code)
                     : snprintf(head, sizeof head, "%s", form.sWord);
    if (form.bLine)
        n += snprintf(head + n, sizeof head - (size_t)n, " (line %*lu)", 4, PARSE_GetLineNum());
    std::string line(head, (size_t)n);
    line.append(sep).append(text).append("\n");
    s_Write(line.data(), line.size());
}

/* The C libraries print a NaN whose sign bit is set differently ("-nan" or
 * "nan"), and arithmetic on x86 makes such NaNs: a text that shows a NaN is
 * formatted again one conversion at a time, every NaN without its sign, so
 * that the messages read the same on every platform. */
void s_FormatNaNWithoutSign(char* buffer, const char* format, va_list args)
{
    size_t used = 0;
    const size_t room = ERRLOG_MESSAGE_SIZE;
    for (const char* f = format; *f != '\0' && used + 1 < room;) {
        if (*f != '%') {
            buffer[used++] = *f++;
            continue;
        }
        const char* start = f++;
        while (*f != '\0' && strchr("-+ #0", *f) != NULL) f++;
        int stars = 0, star[2] = {0, 0};
        if (*f == '*') {
            star[stars++] = va_arg(args, int);
            f++;
        }
        while (isdigit((unsigned char)*f)) f++;
        if (*f == '.') {
            f++;
            if (*f == '*') {
                star[stars++] = va_arg(args, int);
                f++;
            }
            while (isdigit((unsigned char)*f)) f++;
        }
        int longs = 0, wide = 0;
        for (; *f != '\0' && strchr("hlLzjt", *f) != NULL; f++) {
            if (*f == 'l') longs++;
            else if (*f != 'h') wide = *f;
        }
        char conversion = *f;
        if (conversion == '\0') break;
        f++;
        char spec[32];
        size_t specLen = (size_t)(f - start);
        if (specLen >= sizeof spec) break;
        memcpy(spec, start, specLen);
        spec[specLen] = '\0';
        char* out = buffer + used;
        size_t left = room - used;
        int n = 0;
#define S_ONE(value)                                                             \
    (stars == 2   ? snprintf(out, left, spec, star[0], star[1], value)           \
     : stars == 1 ? snprintf(out, left, spec, star[0], value)                    \
                  : snprintf(out, left, spec, value))
        switch (conversion) {
        case '%': n = snprintf(out, left, "%%"); break;
        case 'd': case 'i':
            if (longs >= 2 || wide == 'j') n = S_ONE(va_arg(args, long long));
            else if (longs == 1 || wide == 'z' || wide == 't') n = S_ONE(va_arg(args, long));
            else n = S_ONE(va_arg(args, int));
            break;
        case 'u': case 'x': case 'X': case 'o':
            if (longs >= 2 || wide == 'j') n = S_ONE(va_arg(args, unsigned long long));
            else if (longs == 1 || wide == 'z' || wide == 't') n = S_ONE(va_arg(args, unsigned long));
            else n = S_ONE(va_arg(args, unsigned));
            break;
        case 'c': n = S_ONE(va_arg(args, int)); break;
        case 's': n = S_ONE(va_arg(args, const char*)); break;
        case 'p': n = S_ONE(va_arg(args, void*)); break;
        case 'e': case 'E': case 'f': case 'F': case 'g': case 'G': case 'a': case 'A':
            if (wide == 'L') {
                long double v = va_arg(args, long double);
                n = S_ONE(isnan(v) ? (long double)NAN : v);
            } else {
                double v = va_arg(args, double);
                n = S_ONE(isnan(v) ? NAN : v);
            }
            break;
        default: n = snprintf(out, left, "%s", spec); break;
        }
#undef S_ONE
        if (n < 0) break;
        used += (size_t)n < left ? (size_t)n : left - 1;
    }
    buffer[used < room ? used : room - 1] = '\0';
}

void s_Format(char* buffer, const char* format, va_list args)
{
    va_list again;
    va_copy(again, args);
    /* vsnprintf cuts a text longer than the buffer and always terminates. */
    if (vsnprintf(buffer, ERRLOG_MESSAGE_SIZE, format, args) < 0)
        buffer[0] = '\0';
    else if (strstr(buffer, "nan") != NULL || strstr(buffer, "NAN") != NULL)
        s_FormatNaNWithoutSign(buffer, format, again);
    va_end(again);
}

void s_ErrLogNew(int code, int severity, const char* format, va_list args)
{
    if (s_Suppressed(severity))
        return;
    char buffer[ERRLOG_MESSAGE_SIZE];
    s_Format(buffer, format, args);
    s_Print(severity, !gbOldStyleErrors, code, buffer);
    s_Count(severity);
}

void s_ErrLog(int severity, const char* format, va_list args)
{
    if (s_Suppressed(severity))
        return;
    char buffer[ERRLOG_MESSAGE_SIZE];
    s_Format(buffer, format ? format : "", args);
    s_Print(severity, 0, 0, buffer);
    s_Count(severity);
}

/* An unknown code says so at Info severity, whatever the switches, and
 * formats nothing: its arguments belong to a text that does not exist. */
void s_Raise(int code, int severity, va_list args)
{
    int row = BSearchErrorLogTable(code);
    if (row < 0) {
        s_Print(ERRLOG_INFO, !gbOldStyleErrors, 0, "Error code doesn't exist.");
        return;
    }
    s_ErrLogNew(code, severity, errorLogTable[row].sFormat, args);
}

} // namespace

extern "C" {

int BSearchErrorLogTable(int code)
{
    int lo = 0;
    int hi = errorLogTableCount - 1;
    while (lo <= hi) {
        int mid = lo + (hi - lo) / 2;
        int here = errorLogTable[mid].iCode;
        if (here == code)
            return mid;
        if (here < code)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    return -1;
}

#define ERRLOG_NUMBERED(name, severity)     \
    void name(int code, ...)                \
    {                                       \
        va_list args;                       \
        va_start(args, code);               \
        s_Raise(code, severity, args);      \
        va_end(args);                       \
    }

ERRLOG_NUMBERED(ERRLOG_BugNew, ERRLOG_BUG)
ERRLOG_NUMBERED(ERRLOG_LineBugNew, ERRLOG_LINEBUG)
ERRLOG_NUMBERED(ERRLOG_ErrorNew, ERRLOG_ERROR)
ERRLOG_NUMBERED(ERRLOG_LineErrorNew, ERRLOG_LINEERROR)
ERRLOG_NUMBERED(ERRLOG_WarnNew, ERRLOG_WARN)
ERRLOG_NUMBERED(ERRLOG_LineWarnNew, ERRLOG_LINEWARN)
ERRLOG_NUMBERED(ERRLOG_CautionNew, ERRLOG_CAUTION)
ERRLOG_NUMBERED(ERRLOG_NoteNew, ERRLOG_NOTE)
ERRLOG_NUMBERED(ERRLOG_LineNoteNew, ERRLOG_LINENOTE)

static void s_RaiseFormatted(int code, int severity, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    s_ErrLogNew(code, severity, format, args);
    va_end(args);
}

void ERRLOG_LineErrorTextNew(int code, const char* text)
{
    if (BSearchErrorLogTable(code) < 0) {
        s_Print(ERRLOG_INFO, !gbOldStyleErrors, 0, "Error code doesn't exist.");
        return;
    }
    s_RaiseFormatted(code, ERRLOG_LINEERROR, "%s", text ? text : "");
}

#define ERRLOG_UNNUMBERED(name, severity)   \
    void name(const char* format, ...)      \
    {                                       \
        va_list args;                       \
        va_start(args, format);             \
        s_ErrLog(severity, format, args);   \
        va_end(args);                       \
    }

ERRLOG_UNNUMBERED(ERRLOG_Bugx, ERRLOG_BUG)
ERRLOG_UNNUMBERED(ERRLOG_LineBugx, ERRLOG_LINEBUG)
ERRLOG_UNNUMBERED(ERRLOG_Errorx, ERRLOG_ERROR)
ERRLOG_UNNUMBERED(ERRLOG_LineErrorx, ERRLOG_LINEERROR)
ERRLOG_UNNUMBERED(ERRLOG_Warnx, ERRLOG_WARN)
ERRLOG_UNNUMBERED(ERRLOG_LineWarnx, ERRLOG_LINEWARN)
ERRLOG_UNNUMBERED(ERRLOG_Cautionx, ERRLOG_CAUTION)
ERRLOG_UNNUMBERED(ERRLOG_LineCautionx, ERRLOG_LINECAUTION)
ERRLOG_UNNUMBERED(ERRLOG_Notex, ERRLOG_NOTE)
ERRLOG_UNNUMBERED(ERRLOG_LineNotex, ERRLOG_LINENOTE)

void ERRLOG_SetOutputFile(FILE* stream) { gpLogFile = stream; }
void ERRLOG_SuppressBugs(int on) { gbSuppressBugs = on; }
void ERRLOG_SuppressErrors(int on) { gbSuppressErrors = on; }
void ERRLOG_SuppressWarns(int on) { gbSuppressWarns = on; }

void ERRLOG_GetCounts(unsigned long* bugs, unsigned long* errors, unsigned long* warns)
{
    if (bugs)
        *bugs = gulBug_cnt;
    if (errors)
        *errors = gulError_cnt;
    if (warns)
        *warns = gulWarn_cnt;
}

void ERRLOG_TotalsOf(unsigned long bugs, unsigned long errors, unsigned long warns,
                     unsigned long cautions)
{
    FILE* out = s_Stream();
    if (bugs || errors || warns) {
        fputs("\n", out);
        if (bugs)
            fprintf(out, "Bugs    : %lu\n", bugs);
    }
    fprintf(out, "Errors  : %lu\n", errors);
    if (warns)
        fprintf(out, "Warnings: %lu\n", warns);
    if (cautions)
        fprintf(out, "Cautions: %lu\n", cautions);
    fprintf(out, "\nFile %s\n", (bugs || errors) ? "Failed" : "Passed");
}

void ERRLOG_BeginCapture(void)
{
    delete s_capture;
    s_capture = new (std::nothrow) std::string;
}

char* ERRLOG_EndCapture(void)
{
    char* text = NULL;
    if (s_capture != NULL) {
        text = (char*)malloc(s_capture->size() + 1);
        if (text != NULL) memcpy(text, s_capture->c_str(), s_capture->size() + 1);
    }
    delete s_capture;
    s_capture = NULL;
    return text;
}

void ERRLOG_PrintText(const char* text)
{
    CMN_ASSERT(text != NULL);
    s_Write(text, strlen(text));
}

void ERRLOG_Totals(void)
{
    ERRLOG_TotalsOf(gulBug_cnt, gulError_cnt, gulWarn_cnt, gulCaution_cnt);
}

} /* extern "C" */
