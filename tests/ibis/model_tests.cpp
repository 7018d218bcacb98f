// The [Model] group: whole checker runs over model fixtures, and the model
// look-ups, the delay parser and the model list checks in process.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <ostream>
#include <string>
#include <vector>

#include "checker_run.h"
#include "cmn.h"
#include "dly.h"
#include "extern.h"
#include "errlog.h"
#include "ibis.h"
#include "log_capture.h"
#include "mdl.h"
#include "parse.h"

namespace {

// Every code of the model group's blocks is raised by one of these files
// or by a test below, except those no file can reach: allocation failures
// and failed splits (100, 127, 134, 2801 is a missing ']' too, 2802, 2809,
// 2901-2903, 3801-3803, 4201-4203, 4210, 4216, 4500, 4503, 4802-4804),
// 101 (a [Model] is only read inside a pass, which has its container), 125
// (the frame hands every keyword line with its ']'), 211 and 4211 (an empty
// data line never reaches a module), 2808 (the Vds line is read once per
// record) and 3819 (no check compares with "less than or equal"); 220 is
// raised in model_lookup_tests.cpp.
// Of the external-model codes: 230 (the keyword always makes its record
// unless allocation failed), 250 (a failed split), 142 (nothing sets
// gbEtcFlag), 224 (Model_type never exceeds 22), 236 (a converter's analog
// ports are already refused with 153 unless listed), and 122 for an
// [External Circuit] (its text after the end has no current circuit: 107).

// Expected texts are the messages of each fixture, worked out line by line
// from the message formats; the log puts a text of 60 to 75 characters of a
// line error (58 to 75 of a line warning, 72 to 75 of an error, 70 to 75 of
// a warning or caution) on its own line after "-" and four blanks.
const CheckerCase kModelCases[] = {
    // A complete file with every model keyword of IBIS 4.2: only the model reference warning.
    {"CleanModels", "mdl_ok.ibs", 1,
     R"(
Checking mdl_ok.ibs for IBIS 4.2 Compatibility...

E1503 - Model io1: The [Rising Waveform] 
      with [R_fixture]=50 Ohms and [V_fixture]=0V
      has TYP column DC endpoints of  0.00V and  1.00v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 0.00V and  1.99V),
      a difference of  0.00% and 49.70%, respectively.
E1503 - Model io1: The [Falling Waveform] 
      with [R_fixture]=50 Ohms and [V_fixture]=3.3V
      has TYP column DC endpoints of  2.00V and  3.30v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 1.31V and  3.30V),
      a difference of 34.61% and  0.00%, respectively.
E1503 - Model io1: The [Rising Waveform] 
      with [R_fixture]=50 Ohms and [V_fixture]=0V
      has MIN column DC endpoints of  0.00V and  1.00v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 0.00V and  1.73V),
      a difference of  0.00% and 42.22%, respectively.
E1503 - Model io1: The [Falling Waveform] 
      with [R_fixture]=50 Ohms and [V_fixture]=3.3V
      has MIN column DC endpoints of  2.00V and  3.30v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 1.40V and  3.08V),
      a difference of 35.85% and 13.03%, respectively.
E1503 - Model io1: The [Rising Waveform] 
      with [R_fixture]=50 Ohms and [V_fixture]=0V
      has MAX column DC endpoints of  0.00V and  1.00v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 0.00V and  2.25V),
      a difference of  0.00% and 55.56%, respectively.
E1503 - Model io1: The [Falling Waveform] 
      with [R_fixture]=50 Ohms and [V_fixture]=3.3V
      has MAX column DC endpoints of  2.00V and  3.30v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 1.24V and  3.49V),
      a difference of 33.89% and  8.33%, respectively.
E3951 - Required keyword 'Component' not found.
W0219 - Model in1 not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 7
Warnings: 1

File Failed
)"},
    // The [Model] line: missing and extra names, 20 and 40 character limits, reserved words, names used twice.
    {"ModelNamesPerVersion", "mdl_names32.ibs mdl_names42.ibs", 1,
     R"(
Checking mdl_names32.ibs for IBIS 3.2 Compatibility...

E0128 (line    4) -
    Incorrect Number of Line Items (0) For Keyword Model: Expecting 1
E0128 (line    8) -
    Incorrect Number of Line Items (2) For Keyword Model: Expecting 1
E0129 (line   12) - Model Name Over 20 Characters Long
E0130 (line   16) - Invalid Model Name ("gnd"); Reserved Word.
E0131 (line   20) - Model Name Previously Defined ("t1")
E0131 (line   24) - Model Name Previously Defined ("abcdefghijklmnopqrst")
E3951 - Required keyword 'Component' not found.
W0219 - Model abcdefghijklmnopqrst not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 7
Warnings: 1

File Failed

Checking mdl_names42.ibs for IBIS 4.2 Compatibility...

E0129 (line    8) - Model Name Over 40 Characters Long
E0131 (line   12) -
    Model Name Previously Defined ("abcdefghijklmnopqrstuvwxyzabcdefghijklmn")
E3951 - Required keyword 'Component' not found.
W0219 - Model abcdefghijklmnopqrstuvwxyzabcdefghijklmn not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 3
Warnings: 1

File Failed
)"},
    // Model_type rows by version: 14 in 2.1, 17 in 3.2, 21 in 4.2; a case-only match offers the row's spelling.
    {"ModelTypesPerVersion", "mdltyp21.ibs mdl_types32.ibs mdl_types42.ibs", 1,
     R"(
Checking mdltyp21.ibs for IBIS 2.1 Compatibility...

E0158 (line    9) - Invalid Model_type ("Series")
E0190 - Model 't15': Ramp Not Defined
E0136 (line   13) - Invalid Model_type ("i/o") (try "I/O")
E0190 - Model 'lower': Ramp Not Defined
E3951 - Required keyword 'Component' not found.
W0219 - Model lower not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 5
Warnings: 1

File Failed

Checking mdl_types32.ibs for IBIS 3.2 Compatibility...

E0158 (line   15) - Invalid Model_type ("I/O_diff")
E0190 - Model 't18': Ramp Not Defined
W1500 - Model 't17': TYP VI curves cannot drive through Vmeas=1V
          given load Rref=50 Ohms to Vref=0V
W1500 - Model 't17': MIN VI curves cannot drive through Vmeas=1V
          given load Rref=50 Ohms to Vref=0V
W1500 - Model 't17': MAX VI curves cannot drive through Vmeas=1V
          given load Rref=50 Ohms to Vref=0V
W1704 - [Model] t17 has no description of the buffer's high state
         DC drive characteristics (no [Pullup] table).  This warning
         can be silenced by using an open drain Model_type or by
         adding a [Pullup] table.
W1705 - [Model] t17 has no description of the buffer's low state DC
         drive characteristics (no [Pulldown] table).  This warning
         can be silenced by using an open source Model_type or by
         adding a [Pulldown] table.
E3951 - Required keyword 'Component' not found.
W0219 - Model t18 not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 3
Warnings: 6

File Failed

Checking mdl_types42.ibs for IBIS 4.2 Compatibility...

E0158 (line    9) - Invalid Model_type ("Bogus")
E0190 - Model 't22': Ramp Not Defined
E3951 - Required keyword 'Component' not found.
W0219 - Model t22 not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 3
Warnings: 1

File Failed
)"},
    // Sub-parameter line shapes, values kept only once read, type and version rules.
    {"SubParameterLines", "mdl_subparams.ibs mdl_subparams32.ibs", 1,
     R"(
Checking mdl_subparams.ibs for IBIS 4.2 Compatibility...

W0159 (line    5) - Vinl should not be specified for model type No Type
E0119 (line    7) - Model_type Already Defined For Model 'early'
E0175 (line    8) - 'Polarity' Subparameter Missing Setting
E0176 (line    9) - Invalid Enable Line
E0176 (line   10) - Invalid Vinl Line
E0137 (line   11) - Incorrect Number of Line Items (4) For Vinh: Expecting 3
E0119 (line   12) - Vinh Already Defined For Model 'early'
E0149 (line   13) - Invalid Vmeas Value ("x1")
W0177 (line   14) -
    Model early: C_comp min value is not the smallest value listed
W0179 (line   14) -
    Model early: C_comp max value is not the largest value listed
E0119 (line   15) - C_comp Already Defined For Model 'early'
E0178 (line   16) - 'NA' Not Allowed For Typical Value
E0174 (line   17) - Unknown Line Among Model Data
W0184 - Model 'early': Model_type 'I/O' must have Vinl set
W0201 - Model 'early': Vmeas timing test load parameter should be specified
W0166 (line   26) - Vmeas should not be specified for model type Input
W0167 (line   27) - Cref should not be specified for model type Input
W0168 (line   28) - Rref should not be specified for model type Input
W0169 (line   29) - Vref should not be specified for model type Input
W0165 (line   30) - Rreff_diff should not be specified for model type Input
W0163 (line   31) - Creff_diff should not be specified for model type Input
E0176 (line   35) - Invalid Model_type Line
E0137 (line   36) -
    Incorrect Number of Line Items (3) For Polarity: Expecting 2
E0136 (line   37) - Invalid Enable ("Active-high") (try "Active-High")
E0190 - Model 'odd': Ramp Not Defined
E0180 - Model 'notype': Model_type Not Defined
E0190 - Model 'notype': Ramp Not Defined
W1704 - [Model] early has no description of the buffer's high state
         DC drive characteristics (no [Pullup] table).  This warning
         can be silenced by using an open drain Model_type or by
         adding a [Pullup] table.
W1705 - [Model] early has no description of the buffer's low state DC
         drive characteristics (no [Pulldown] table).  This warning
         can be silenced by using an open source Model_type or by
         adding a [Pulldown] table.
E3951 - Required keyword 'Component' not found.
W0219 - Model notype not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 17
Warnings: 14

File Failed

Checking mdl_subparams32.ibs for IBIS 3.2 Compatibility...

E0164 (line    6) -
    Sub Parameter Rref_diff is valid only for IBIS version >= 4.1
E0162 (line    7) -
    Sub Parameter Cref_diff is valid only for IBIS version >= 4.1
E0170 (line    8) -
    Sub Parameter C_comp_pullup is valid only for IBIS version >= 4.0
E0171 (line    9) -
    Sub Parameter C_comp_pulldown is valid only for IBIS version >= 4.0
E0172 (line   10) -
    Sub Parameter C_comp_power_clamp is valid only for IBIS version >= 4.0
E0173 (line   11) -
    Sub Parameter C_comp_gnd_clamp is valid only for IBIS version >= 4.0
W0159 (line   12) - Vinl should not be specified for model type Output
E0181 - Model old: One of C_comp, C_comp_pullup, C_comp_pulldown, C_comp_power_clamp, C_comp_gnd_clamp must be defined
W1704 - [Model] old has no description of the buffer's high state
         DC drive characteristics (no [Pullup] table).  This warning
         can be silenced by using an open drain Model_type or by
         adding a [Pullup] table.
W1705 - [Model] old has no description of the buffer's low state DC
         drive characteristics (no [Pulldown] table).  This warning
         can be silenced by using an open source Model_type or by
         adding a [Pulldown] table.
E3951 - Required keyword 'Component' not found.
W0219 - Model old not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 8
Warnings: 4

File Failed
)"},
    // Each end-of-model rule, cautions shown.
    {"EndOfModelRules", "mdl_end.ibs", 1,
     R"(
Checking mdl_end.ibs for IBIS 4.2 Compatibility...

E0187 - Model 'rac': Cac must be defined when Rac is
E0186 - Model 'cac': Rac must be defined when Cac is
E0185 - Model 'rgnd': Rgnd is set when Model_type is not Terminator
E0188 - Model 'refs': Pulldown Reference Required when No Voltage Range is Specified
E0188 - Model 'refs': POWER Clamp Reference Required when No Voltage Range is Specified
E0188 - Model 'refs': GND Clamp Reference Required when No Voltage Range is Specified
E0181 - Model noC: One of C_comp, C_comp_pullup, C_comp_pulldown, C_comp_power_clamp, C_comp_gnd_clamp must be defined
E0190 - Model 'outnoramp': Ramp Not Defined
E0191 - Model 'ser': Pullup is not allowed when Model_type is Series
W0191 - Model 'ser': Model Spec is not allowed when Model_type is Series
E0193 - Model sw is of type Series_switch. [On] keyword is required
E0194 - Model sw is of type Series_switch. [Off] keyword is required
E0197 - Model th: Receiver Thresholds use Pullup Reference which is not defined in this Model
W0200 - Model 'od': Vmeas, Vref and Rref timing test load parameters should be specified
W0202 - Model 'diff': Rref_diff or Cref_diff timing test load parameters should be specified
C0182 - Vmeas is <= Vinl for model cau
C0183 - Vmeas is >= Vinh for model cau
W1704 - [Model] cau has no description of the buffer's high state
         DC drive characteristics (no [Pullup] table).  This warning
         can be silenced by using an open drain Model_type or by
         adding a [Pullup] table.
W1705 - [Model] cau has no description of the buffer's low state DC
         drive characteristics (no [Pulldown] table).  This warning
         can be silenced by using an open source Model_type or by
         adding a [Pulldown] table.
W1706 - [Model] od has no description of the buffer's low state DC
         drive characteristics (no [Pulldown] table).  This warning
         can be silenced by changing the Model_type or by adding a
         [Pulldown] table.
W1704 - [Model] outnoramp has no description of the buffer's high state
         DC drive characteristics (no [Pullup] table).  This warning
         can be silenced by using an open drain Model_type or by
         adding a [Pullup] table.
W1705 - [Model] outnoramp has no description of the buffer's low state DC
         drive characteristics (no [Pulldown] table).  This warning
         can be silenced by using an open source Model_type or by
         adding a [Pulldown] table.
E3951 - Required keyword 'Component' not found.
W0219 - Model cau not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 13
Warnings: 9
Cautions: 2

File Failed
)"},
    // Orphans, keyword order, section ends, replaced records, [Add Submodel] lines, series keywords outside series models.
    {"SectionEnds", "mdl_sections.ibs", 1,
     R"(
Checking mdl_sections.ibs for IBIS 5.0 Compatibility...

E0102 (line    4) - Orphan Model keyword.
E0107 (line    5) - Orphan data line keyword.
E0121 (line   11) - Expecting Keyword.  Invalid Line
E0116 (line   12) - [Model Spec] should be specified immediately after all the subparameters of a model and before the other keywords of a model
E0120 (line   13) - [Receiver Thresholds] should be specified immediately after all the subparameters of a model and before the other keywords of a model except [Model Spec]
W0117 (line   13) -
    [Receiver Thresholds] should not be specified for model type Output
E0109 (line   14) - TTgnd Min value should be > 0
E0112 (line   15) - TTpower Typical value should be > 0
E0113 (line   15) - TTpower Min value should be > 0
E0114 (line   15) - TTpower Max value should be > 0
E0119 (line   16) - TTgnd Already Defined For Model 'a'
E0257 (line   20) - [Composite Current] should be preceded by a [Rising Waveform] or [Falling Waveform] section
E0257 (line   30) - [Composite Current] should be preceded by a [Rising Waveform] or [Falling Waveform] section
E0263 (line   30) -
    Composite Current is already associated with the last Waveform
E0205 (line   33) - Keyword is valid only for Series_switch models
E0206 (line   34) - Keyword is valid only for Series and Series_switch models
E0137 (line   35) -
    Incorrect Number of Line Items (2) For Add Submodel: Expecting 1
E0136 (line   37) -
    Invalid Add Submodel Mode ("non-driving") (try "Non-Driving")
E0215 (line   38) - Add Submodel Mode not found
E0210 (line   39) - Invalid Add Submodel Line. Expecting two items only
E0212 (line   40) - Add Submodel Name Over 20 Characters Long
E0213 (line   41) - Invalid Submodel Name ("NA"); Reserved Word.
E0158 (line   42) - Invalid Add Submodel Mode ("Sometimes")
E0208 (line   43) - Add sub model: Already Defined for this model
E0217 (line   44) - Non-Driving mode is not valid for output model types
E0259 (line   47) - Missing [End Algorithmic Model] keyword
E0116 (line   47) - [Model Spec] should be specified immediately after all the subparameters of a model and before the other keywords of a model
E3800 (line   47) - Model Specification: Already Defined for this model
E0261 (line   48) - Orphan [End Algorithmic Model] keyword found
E0174 (line   52) - Unknown Line Among Model Data
E0262 (line   53) - Orphan [End EMI Model] keyword found
E4800 (line   54) - EMI Model: Already Defined for this model
E0260 (line   55) - [End Emi Model] keyword expected
E0116 (line   55) - [Model Spec] should be specified immediately after all the subparameters of a model and before the other keywords of a model
E3800 (line   55) - Model Specification: Already Defined for this model
E0123 (line   58) - Expecting [End External Model]. Invalid Line, FATAL ERROR
E0207 (line   61) - No preceding [On] or [Off] keyword found. Assuming [On]
E0204 (line   63) - Model 'b' is of type Series_switch. Voltage Range should be defined before the [On] and [Off] sections
E0119 (line   70) - [External_Model] Already Defined For Model 'b'
E0209 (line   72) -
    Add Submodel is not allowed for Series or Series_switch models
W3219 - Model a Receiver Thresholds: Vth must be specified for single ended receivers
W3220 - Model a Receiver Thresholds: Vinh_ac must be specified for single ended receivers
W3221 - Model a Receiver Thresholds: Vinl_ac must be specified for single ended receivers
W3222 - Model a Receiver Thresholds: Vinh_dc must be specified for single ended receivers
W3223 - Model a Receiver Thresholds: Vinl_dc must be specified for single ended receivers
W3224 - Model a Receiver Thresholds: Tslew_ac must be specified for single ended receivers
E1503 - Model a: The [Rising Waveform] 
      with [R_fixture]=50 Ohms and [V_fixture]=0V
      has TYP column DC endpoints of  0.00V and  1.00v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 0.00V and  0.00V),
      a difference of 100.00% and 100.00%, respectively.
E1503 - Model a: The [Rising Waveform] 
      with [R_fixture]=50 Ohms and [V_fixture]=0V
      has MIN column DC endpoints of  0.00V and  1.00v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 0.00V and  0.00V),
      a difference of 100.00% and 100.00%, respectively.
E1503 - Model a: The [Rising Waveform] 
      with [R_fixture]=50 Ohms and [V_fixture]=0V
      has MAX column DC endpoints of  0.00V and  1.00v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 0.00V and  0.00V),
      a difference of 100.00% and 100.00%, respectively.
E4616 -
    Code file a.so not found. It was defined in [Algorithmic Model] for Model a
E4618 - AMI parameter file a.ami not found. It was defined in [Algorithmic Model] for Model a
E3951 - Required keyword 'Component' not found.
E0218 - Could not find definition for Submodel sub1 of Model a
E0218 - Could not find definition for Submodel sub2 of Model a
E0218 - Could not find definition for Submodel sub3 of Model a
E0218 - Could not find definition for Submodel sub4 of Model a
E0218 - Could not find definition for Submodel abcdefghijklmnopqrst of Model a
E0218 - Could not find definition for Submodel NA of Model a
E0218 - Could not find definition for Submodel sub5 of Model a
E0218 - Could not find definition for Submodel sub6 of Model a
W0219 - Model b not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 53
Warnings: 8

File Failed
)"},
    // Series and Series_switch records with MOSFETs.
    {"SeriesElements", "mdl_series.ibs", 1,
     R"(
Checking mdl_series.ibs for IBIS 4.2 Compatibility...

E2807 (line   12) - Unknown data line in Series_MOSFET
E2804 - Model s1: Vds not specified for [Series MOSFET] defined on line 11
E1108 -
    Require at least 2 Voltage Points for Series_MOSFET Beginning at Line 11
E2803 (line   14) -
    Incorrect Number of Line Items (2) For [Series_MOSFET]: Expecting 1
E1104 (line   14) -
    Incorrect Number of Line Items (2) For Series_MOSFET: Expecting 1
E2805 - Model s1: Vds should be >= 0 for [Series MOSFET] defined on line 14
E2810 (line   27) - Invalid Vds Line
E2804 - Model s1: Vds not specified for [Series MOSFET] defined on line 26
E2811 (line   31) - Invalid Vds Value ("abc")
E2804 - Model s1: Vds not specified for [Series MOSFET] defined on line 30
E2907 - Model s1 : Rl_series cannot be specified if L_series is not specified
E2908 - Model s1 : Rc_series cannot be specified if C_series is not specified
E2909 - Model s1 : Lc_series cannot be specified if C_series is not specified
E2806 -
    Model s1 : Found two Series_MOSFETs with identical Vds value 1.000000e+00
E2904 (line   38) - Incorrect Number of Line Items (2) For [On]: Expecting 1
E2900 (line   40) - [On] Series Info: Already Defined for this model
E2906 - Model s2: [Series_MOSFET] is not allowed in conjunction with the [Off] keyword
E2905 - Model s3 : No series data found
E3951 - Required keyword 'Component' not found.
W0219 - Model s3 not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 19
Warnings: 1

File Failed
)"},
    // The 101st [Series MOSFET] of one record.
    {"SeriesMosfetLimit", "mdl_smos101.ibs", 1,
     R"(
Checking mdl_smos101.ibs for IBIS 4.2 Compatibility...

E2800 (line  408) - More than 100 [Series_MOSFET]s are defined
E3951 - Required keyword 'Component' not found.
W0219 - Model many not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 2
Warnings: 1

File Failed
)"},
    // [Driver Schedule] lines, its end and the whole-file check.
    {"DriverSchedule", "mdl_drvsh.ibs", 1,
     R"(
Checking mdl_drvsh.ibs for IBIS 4.2 Compatibility...

E4204 (line   12) -
    Incorrect Number of Line Items (2) For Driver Schedule: Expecting 1
W4206 - Model 'drv': The [Driver_Schedule] has only one model defined
E4200 (line   14) - Driver Schedule: Already Defined for this model
E4505 (line   15) - Rise_on_dly and Fall_off_delay cannot be specified together
E4215 (line   16) -
    Model Name ("stage1") previously used in this Driver Schedule
E4504 (line   17) - At least two delays must be specified
E4215 (line   18) -
    Model Name ("stage2") previously used in this Driver Schedule
E4501 (line   18) - No Rise_off_dly Value Was Provided for stage2
E4504 (line   18) - At least two delays must be specified
E4213 (line   19) -
    Model Name in Driver Schedule is the same as enclosing Model ("drv")
E4214 (line   20) -
    Invalid Model Name in Driver Schedule ("GND"); Reserved Word.
E4212 (line   21) - Model Name Over 40 Characters Long
E4506 (line   22) - Rise_on_dly is less than zero
E4215 (line   23) -
    Model Name ("stage3") previously used in this Driver Schedule
E4502 (line   23) - Incorrect Number of Line Items (5) For stage3: Expecting 4
E1909 (line   26) - Invalid Rise_on_dly Value ("x")
W4206 - Model 'sched': The [Driver_Schedule] has only one model defined
E4205 - Model 'empty': The [Driver_Schedule] has no models defined
W1704 - [Model] empty has no description of the buffer's high state
         DC drive characteristics (no [Pullup] table).  This warning
         can be silenced by using an open drain Model_type or by
         adding a [Pullup] table.
W1705 - [Model] empty has no description of the buffer's low state DC
         drive characteristics (no [Pulldown] table).  This warning
         can be silenced by using an open source Model_type or by
         adding a [Pulldown] table.
W1704 - [Model] sched has no description of the buffer's high state
         DC drive characteristics (no [Pullup] table).  This warning
         can be silenced by using an open drain Model_type or by
         adding a [Pullup] table.
W1705 - [Model] sched has no description of the buffer's low state DC
         drive characteristics (no [Pulldown] table).  This warning
         can be silenced by using an open source Model_type or by
         adding a [Pulldown] table.
W1704 - [Model] stage3 has no description of the buffer's high state
         DC drive characteristics (no [Pullup] table).  This warning
         can be silenced by using an open drain Model_type or by
         adding a [Pullup] table.
W1705 - [Model] stage3 has no description of the buffer's low state DC
         drive characteristics (no [Pulldown] table).  This warning
         can be silenced by using an open source Model_type or by
         adding a [Pulldown] table.
W1704 - [Model] stage2 has no description of the buffer's high state
         DC drive characteristics (no [Pullup] table).  This warning
         can be silenced by using an open drain Model_type or by
         adding a [Pullup] table.
W1705 - [Model] stage2 has no description of the buffer's low state DC
         drive characteristics (no [Pulldown] table).  This warning
         can be silenced by using an open source Model_type or by
         adding a [Pulldown] table.
W1704 - [Model] stage1 has no description of the buffer's high state
         DC drive characteristics (no [Pullup] table).  This warning
         can be silenced by using an open drain Model_type or by
         adding a [Pullup] table.
W1705 - [Model] stage1 has no description of the buffer's low state DC
         drive characteristics (no [Pulldown] table).  This warning
         can be silenced by using an open source Model_type or by
         adding a [Pulldown] table.
W1704 - [Model] drv has no description of the buffer's high state
         DC drive characteristics (no [Pullup] table).  This warning
         can be silenced by using an open drain Model_type or by
         adding a [Pullup] table.
W1705 - [Model] drv has no description of the buffer's low state DC
         drive characteristics (no [Pulldown] table).  This warning
         can be silenced by using an open source Model_type or by
         adding a [Pulldown] table.
E4207 - Model stage4 used in the Driver Schedule of Model drv is not defined
E4208 - Model sched used in the Driver Schedule of Model drv cannot itself have a Driver Schedule
E4209 - Model in1 used in the Driver Schedule of Model drv should be an output model
E4207 - Model abcdefghijklmnopqrstuvwxyzabcdefghijklmn used in the Driver Schedule of Model drv is not defined
E4207 - Model GND used in the Driver Schedule of Model drv is not defined
E4208 - Model drv used in the Driver Schedule of Model drv cannot itself have a Driver Schedule
E3951 - Required keyword 'Component' not found.
W0219 - Model empty not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 23
Warnings: 15

File Failed
)"},
    // [Model Spec] reading and its end checks.
    {"ModelSpec", "mdl_mspec.ibs", 1,
     R"(
Checking mdl_mspec.ibs for IBIS 5.0 Compatibility...

E3804 (line    9) -
    Incorrect Number of Line Items (2) For Model Spec: Expecting 1
E3807 (line   12) - Vinh+ Already Defined For Model 'm1'
E3806 (line   13) - Unknown Line Among Model Spec Data
W3805 (line   14) - Vmeas should not be specified for model type Input
E3808 (line   18) - 'NA' not allowed for Typical value
W3805 (line   20) - Vref_rising should not be specified for model type Input
W3805 (line   21) - Vref should not be specified for model type Input
W3809 - All  Hystereis Thresholds should be specified for Model Spec defined on line 9
W3811 -
    S_overshoot_high (Typ) is less than zero for Model Spec defined on line 9
W3811 -
    S_overshoot_high (Max) is less than zero for Model Spec defined on line 9
W3811 -
    S_overshoot_high (Min) is less than zero for Model Spec defined on line 9
E3812 - D_overshoot_high requires D_overshoot_time to be specified for Model Spec defined on line 9
E3813 - D_overshoot_amp_h must be specified when D_overshoot_area_h is specified for [Model Spec] defined on line 9
E3812 - Pulse_high requires Pulse_time to be specified for Model Spec defined on line 9
W3818 - Pulse_high(Typ) is not greater than Vinl(Typ) for Model Spec defined on line 9
W3818 - Pulse_high(Min) is not greater than Vinl(Min) for Model Spec defined on line 9
W3818 - Pulse_high(Max) is not greater than Vinl(Max) for Model Spec defined on line 9
E3815 - Vref_falling must be specified when Vref_rising is specified
E3816 - Vref must not be specified when Vref_rising is specified
W3805 (line   38) - Rref_diff should not be specified for model type I/O
W3820 - Vinh+(Typ) is not greater than or equal to Vinh-(Typ) for Model Spec defined on line 30
W3820 - Vinh+(Min) is not greater than or equal to Vinh-(Min) for Model Spec defined on line 30
W3820 - Vinh+(Max) is not greater than or equal to Vinh-(Max) for Model Spec defined on line 30
W3814 - orphan D_overshoot_time found for Model Spec defined on line 30
E0180 - Model 'm3': Model_type Not Defined
W3805 (line   46) - Vinh should not be specified for model type No Type
E0190 - Model 'm3': Ramp Not Defined
W1704 - [Model] m2 has no description of the buffer's high state
         DC drive characteristics (no [Pullup] table).  This warning
         can be silenced by using an open drain Model_type or by
         adding a [Pullup] table.
W1705 - [Model] m2 has no description of the buffer's low state DC
         drive characteristics (no [Pulldown] table).  This warning
         can be silenced by using an open source Model_type or by
         adding a [Pulldown] table.
E3951 - Required keyword 'Component' not found.
W0219 - Model m3 not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 12
Warnings: 19

File Failed
)"},
    // [Begin EMI Model] sub-parameters.
    {"ModelEmi", "mdl_emi.ibs", 1,
     R"(
Checking mdl_emi.ibs for IBIS 5.0 Compatibility...

E4801 (line   10) -
    Incorrect Number of Line Items (2) For EMI Model: Expecting 1
E4807 (line   11) - Invalid Domain ("digital") (try "Digital")
E4805 (line   13) - Domain is already specified for the EMI Model
E4806 (line   14) - 'Model_emi_type' Subparameter Missing Setting
E4801 (line   15) -
    Incorrect Number of Line Items (3) For Model_emi_type: Expecting 2
E4808 (line   16) - Invalid Model_emi_type ("Magnetic")
E3951 - Required keyword 'Component' not found.
W0219 - Model e1 not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 7
Warnings: 1

File Failed
)"},
    // TTgnd signs, Vinh outside receivers, [Ramp] in a Series model, Series_switch
    // items, the other reference supplies, Driving in an Input model, [Model Spec]
    // signs and the pulse limit against its own Vinh.
    {"MoreModelRules", "mdl_more.ibs", 1,
     R"(
Checking mdl_more.ibs for IBIS 5.0 Compatibility...

W0161 (line    7) - Vinh should not be specified for model type Output
E0108 (line   10) - TTgnd Typical value should be > 0
E0110 (line   10) - TTgnd Max value should be > 0
E0189 - Model 'ser': Ramp Not Allowed for Series and Series_switch
E0192 - Model 'sw': TTpower is not allowed when Model_type is Series_switch
E0195 - Model Power_clamp_ref: Receiver Thresholds use POWER Clamp Reference which is not defined in this Model
E0196 - Model Gnd_clamp_ref: Receiver Thresholds use GND Clamp Reference which is not defined in this Model
E0198 - Model Pulldown_ref: Receiver Thresholds use Pulldown Reference which is not defined in this Model
E0216 (line   80) - Driving mode is not valid for input model types
E0199 - Model Ext_ref: Receiver Thresholds use External Reference which is not defined in this Model
W3903 (line   87) - Typ value is not in between Min and Max 
W3903 (line   89) - Typ value is not in between Min and Max 
W3810 - S_overshoot_low (Typ) is greater than zero for Model Spec defined on line 86
W3817 -
    Pulse_low(Typ) is not less than Vinh(Typ) for Model Spec defined on line 86
W1704 - [Model] out has no description of the buffer's high state
         DC drive characteristics (no [Pullup] table).  This warning
         can be silenced by using an open drain Model_type or by
         adding a [Pullup] table.
W1705 - [Model] out has no description of the buffer's low state DC
         drive characteristics (no [Pulldown] table).  This warning
         can be silenced by using an open source Model_type or by
         adding a [Pulldown] table.
E3951 - Required keyword 'Component' not found.
E0218 - Could not find definition for Submodel hold of Model Ext_ref
W0219 - Model sp not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 11
Warnings: 8

File Failed
)"},
    // [External Model] lines (languages, corners, ports, converters, a 600-character Corner line) and
    // its end checks.
    {"ExternalModel", "mdl_extmodel.ibs", 1,
     R"(
Checking mdl_extmodel.ibs for IBIS 4.2 Compatibility...

E0138 (line   10) - Missing Language sub-parameter. Language must be defined
E0135 (line   12) - Duplicate External Language Line
E0103 (line   13) -
    Illegal Digital Port <D_drive> (not allowed in SPICE Ports section)
E0137 (line   16) - Incorrect Number of Line Items (7) For D_to_A: Expecting 9
E0153 (line   17) - Illegal Analog Port nowhere, not in port list
E0150 (line   18) - trise < 0, [0]
E0152 (line   19) - Vlow >= Vhigh [1 >= 1]
E0239 (line   20) - Illegal Digital Port <D_receive> in D2A 
E0149 (line   21) - Invalid Corner Value ("Mid")
E0133 (line   23) -
    Digital Port <D_receive> already used in previous A2D for this corner
E0242 (line   24) - Vlow > Vhigh [2.0 >= 0.8]
E0133 (line   25) -
    Digital Port <D_receive> already used in previous A2D for this corner
E0240 (line   26) - Illegal Digital Port <D_drive> in A2D (must use D_receive)
E0143 (line   29) - Port_type not allowed without -etc flag
E0158 (line   30) - Invalid [External Model] subparameter ("Frob")
E0139 (line   31) - Duplicate Typ Corner
E0136 (line   32) - Invalid Corner ("Bogus") (try "Typ,Min,Max")
E0137 (line   33) - Incorrect Number of Line Items (1) For Corner: Expecting 3
E0226 - MODEL <e1> Corner <Min> line: 27 has A2D not matching TYP A2D: <D_receive> <A_pos> <A_gnd>
E0227 - MODEL <e1> Corner <Max> line: 20 has D2A not matching TYP D2A: <D_receive> <my_ref> <A_gnd>
E0255 - External Model D2A Line <18> Illegal connection, 2 analog reference/driver ports <A_signal> <A_gnd>
E0255 - External Model D2A Line <15> Illegal connection, 2 analog reference/driver ports <A_signal> <A_gnd>
E0223 - [External Model] <e1> corner <TYP> type <Input> contains reserved port <D_drive> ILLEGAL
E0223 - [External Model] <e1> corner <TYP> type <Input> contains reserved port <D_enable> ILLEGAL
E0223 - [External Model] <e1> corner <TYP> type <Input> contains reserved port <A_pos> ILLEGAL
E0137 (line   43) -
    Incorrect Number of Line Items (1) For Language: Expecting 2
E0104 (line   45) - D_switch not allowed with (D_drive, D_receive, or D_enable) in Ports/A2D/D2A Section
E0105 (line   46) - D_enable not allowed with D_switch in Ports/A2D/D2A Section
E0145 (line   47) - D2A only allowed for language = SPICE
E0256 (line   48) - A2D only allowed for language = SPICE
E0231 (line   49) - No Typ Corner Defined for [External Model](required)
E0222 - [External Model] <e2> corner <ALL> type <Output> does not contain reserved port <A_signal> REQUIRED
E0223 - [External Model] <e2> corner <ALL> type <Output> contains reserved port <D_enable> ILLEGAL
E0223 - [External Model] <e2> corner <ALL> type <Output> contains reserved port <D_switch> ILLEGAL
E0144 (line   56) - Language must be defined before D2A
E0154 (line   57) - Language must be defined before A2D
E0146 (line   59) - No Typ Corner Defined... required
E0155 (line   60) - NO Typ Corner defined for A2D
E0905 (line   62) - Exceeds 120 chararacters.
W0232 - External Model for <e3> has suspiciously few PORTS (1)
E0222 - [External Model] <e3> corner <TYP> type <Input> does not contain reserved port <D_receive> REQUIRED
E3951 - Required keyword 'Component' not found.
W0219 - Model e3 not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 41
Warnings: 2

File Failed
)"},
    // [External Circuit] names, converter port rules, end checks, orphans.
    {"ExternalCircuit", "mdl_extcircuit.ibs", 1,
     R"(
Checking mdl_extcircuit.ibs for IBIS 4.2 Compatibility...

E0128 (line    4) - Incorrect Number of Line Items (2) For Keyword External Circuit: Expecting 1
E0103 (line    7) -
    Illegal Digital Port <D_drive> (not allowed in SPICE Ports section)
E0239 (line    8) - Illegal Digital Port <D_receive> in D2A 
E0237 (line    9) - Reserved Analog Port <A_pos> used as digital port
E0106 (line    9) - Reserved Digital Port <D_drive> used as analog port
E0104 (line   10) - D_switch not allowed with (D_drive, D_receive, or D_enable) in Ports/A2D/D2A Section
E0241 (line   10) -
    Illegal Digital Port <D_switch> in A2D (use D_receive or a User Defined)
E0237 (line   12) - Reserved Analog Port <A_gnd> used as digital port
E0225 - [EXTERNAL CIRCUIT] <c1>: corner <Typ> Port <A_pos>: used as digital and analog 
E0225 - [EXTERNAL CIRCUIT] <c1>: corner <Typ> Port <A_gnd>: used as digital and analog 
E0253 (line   14) - Invalid External Circuit Name ("GND"); Reserved Word.
E0231 (line   17) - No Typ Corner Defined for [External Model](required)
W0245 - [External Circuit] <GND> has suspiciously few PORTS (1)
E0254 (line   18) - External Circuit Name Previously Defined ("c1")
E0231 (line   19) - No Typ Corner Defined for [External Model](required)
W0245 - [External Circuit] <c1> has suspiciously few PORTS (0)
E0107 (line   20) - Orphan data line keyword.
E0249 (line   21) - Orphan External Cucuit keyword.
E0251 (line   22) - 'External Circuit' Keyword Missing name
E0231 (line   23) - No Typ Corner Defined for [External Model](required)
W0245 - [External Circuit] <> has suspiciously few PORTS (0)
E0252 (line   24) - External Circuit Name Over 40 Characters Long
E0227 - MODEL <abcdefghijklmnopqrstuvwxyzabcdefghijklmn> Corner <Min> line: 29 has D2A not matching TYP D2A: <dd> <a> <b>
E3951 - Required keyword 'Component' not found.

Errors  : 21
Warnings: 3

File Failed
)"},
    // 70 ports over 36 D_to_A lines: every port name is counted.
    {"ExternalModelManyPorts", "mdl_ext70.ibs", 1,
     R"(
Checking mdl_ext70.ibs for IBIS 4.2 Compatibility...

E0255 - External Model D2A Line <55> Illegal connection, 2 analog reference/driver ports <p69> <p70>
E0255 - External Model D2A Line <54> Illegal connection, 2 analog reference/driver ports <p69> <p70>
E3951 - Required keyword 'Component' not found.
W0219 - Model wide not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 3
Warnings: 1

File Failed
)"},
    // The row fixtures read under their model: curve tables.
    {"RowCurves", "rows_curves.ibs", 1,
     R"(
Checking rows_curves.ibs for IBIS 5.0 Compatibility...

W1403 (line   29) - Value 0.000000e+00 repeated in the First Column
E1106 (line   30) - Voltage Value Cannot Be 'NA'
N1110 (line   31) - Pulldown Typical data is non-monotonic
E1104 (line   32) - Incorrect Number of Line Items (2) For Pullup: Expecting 1
E1108 - Require at least 2 Voltage Points for Pullup Beginning at Line 32
E1100 (line   34) - Pullup Already Defined
N1110 (line   37) - Pullup Typical data is non-monotonic
N1110 (line   37) - Pullup Minimum data is non-monotonic
N1110 (line   37) - Pullup Maximum data is non-monotonic
W1113 - Model io: GND Clamp : Typical value never becomes zero
W1114 - Model io: GND Clamp : Minimum value never becomes zero
W1115 - Model io: GND Clamp : Maximum value never becomes zero
E1107 (line  144) - More Than 100 Voltage Points Provided For POWER Clamp
E1109 - First Typical Value Cannot Be 'NA' for POWER Clamp Beginning at Line 43
W0184 - Model 'io': Model_type 'I/O' must have Vinl set
W0184 - Model 'io': Model_type 'I/O' must have Vinh set
W0201 - Model 'io': Vmeas timing test load parameter should be specified
E0608 - Component 'chip': Model 'in' for Pin '3' not defined.

Errors  : 7
Warnings: 7

File Failed
)"},
    // Waveforms and a composite current.
    {"RowWaveforms", "rows_waveforms.ibs", 1,
     R"(
Checking rows_waveforms.ibs for IBIS 5.0 Compatibility...

E2015 (line   35) - Invalid Rising Waveform line
W1403 (line   39) - Value 1.000000e-09 repeated in the First Column
E2020 (line   39) - Time value did not increase
E2013 (line   40) - V_fixture specified after beginning of timing data
E2006 -
    First Minimum Value Cannot Be 'NA' for Rising Waveform Beginning at Line 34
E2011 (line   48) - Unknown Line Among Falling Waveform Data
E2005 -
    Require at least 2 Data Points for Falling Waveform Beginning at Line 45
E2006 -
    Last Minimum Value Cannot Be 'NA' for Falling Waveform Beginning at Line 50
E2006 -
    Last Maximum Value Cannot Be 'NA' for Falling Waveform Beginning at Line 50
W0184 - Model 'io': Model_type 'I/O' must have Vinl set
W0184 - Model 'io': Model_type 'I/O' must have Vinh set
W0201 - Model 'io': Vmeas timing test load parameter should be specified
E1503 - Model io: The [Rising Waveform] 
      with [R_fixture]=0 Ohms and [V_fixture]=0V
      has TYP column DC endpoints of  0.00V and  3.30v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 0.00V and  0.00V),
      a difference of  0.00% and 659999999999999957162123423807176704.00%, respectively.
E1503 - Model io: The [Falling Waveform] 
      with [R_fixture]=50 Ohms and [V_fixture]=3.3V
      has TYP column DC endpoints of  3.30V and  3.30v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 1.88V and  3.30V),
      a difference of 100.00% and  0.00%, respectively.
E1503 - Model io: The [Falling Waveform] 
      with [R_fixture]=50 Ohms and [V_fixture]=0V
      has TYP column DC endpoints of  0.00V and  3.30v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 0.00V and  1.42V),
      a difference of  0.00% and 132.00%, respectively.
E1503 - Model io: The [Rising Waveform] 
      with [R_fixture]=0 Ohms and [V_fixture]=0V
      has MIN column DC endpoints of  0.90V and  3.00v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 0.00V and  0.00V),
      a difference of 247500000000000011605912394492018688.00% and 825000000000000112473350943144935424.00%, respectively.
E1503 - Model io: The [Falling Waveform] 
      with [R_fixture]=50 Ohms and [V_fixture]=3.3V
      has MIN column DC endpoints of  3.00V and  3.00v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 2.05V and  3.19V),
      a difference of 83.50% and 16.50%, respectively.
E1503 - Model io: The [Falling Waveform] 
      with [R_fixture]=50 Ohms and [V_fixture_min]=0V
      has MIN column DC endpoints of  3.00V and  3.00v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 0.00V and  1.13V),
      a difference of 265.00% and 165.00%, respectively.
E1503 - Model io: The [Rising Waveform] 
      with [R_fixture]=0 Ohms and [V_fixture]=0V
      has MAX column DC endpoints of  0.00V and  3.60v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages (-0.00V and  0.00V),
      a difference of  0.00% and 549999999999999927408281372420210688.00%, respectively.
E1503 - Model io: The [Falling Waveform] 
      with [R_fixture]=50 Ohms and [V_fixture]=3.3V
      has MAX column DC endpoints of  3.60V and  3.60v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages ( 1.73V and  3.44V),
      a difference of 109.17% and  9.17%, respectively.
E1503 - Model io: The [Falling Waveform] 
      with [R_fixture]=50 Ohms and [V_fixture_max]=0V
      has MAX column DC endpoints of  3.60V and  3.60v, but
      an equivalent load applied to the model's I-V tables yields
      different voltages (-0.00V and  1.71V),
      a difference of 210.00% and 110.00%, respectively.
E2021 - Model io: Rising Waveform [1] and its Composite Current don't have identical time points
E0608 - Component 'chip': Model 'in' for Pin '3' not defined.

Errors  : 19
Warnings: 4

File Failed
)"},
    // [Ramp] lines and ends.
    {"RowRamp", "rows_ramp.ibs", 1,
     R"(
Checking rows_ramp.ibs for IBIS 5.0 Compatibility...

E1304 (line   30) - Incorrect Number of Line Items (2) For Ramp: Expecting 1
E1309 (line   31) - 'NA' not allowed for dV/dt_r Typical value
E1307 (line   32) - dV/dt_r Already Defined For Model 'io'
E1308 (line   33) - No minimum Value Was Provided for dV/dt_f
E1308 (line   33) - No maximum Value Was Provided for dV/dt_f
E1310 (line   33) - dV must be greater than 0 in a Ramp specification
E1310 (line   33) - dT must be greater than 0 in a Ramp specification
E1310 (line   33) - dV must be greater than 0 in a Ramp specification
E1310 (line   33) - dT must be greater than 0 in a Ramp specification
E1313 (line   34) - Invalid Ramp R_load Line
W1311 (line   35) - Suspicious Ramp R_load Value ("1k5"); Numeric in Scale
E1305 (line   36) - Unknown Line Among Ramp Data
W0184 - Model 'io': Model_type 'I/O' must have Vinl set
W0184 - Model 'io': Model_type 'I/O' must have Vinh set
W0201 - Model 'io': Vmeas timing test load parameter should be specified
E1306 - dV/dt_r Not Defined For Ramp Beginning on Line 45
E1300 (line   47) - Ramp Already Defined
E1310 (line   48) - dV must be greater than 0 in a Ramp specification
E1310 (line   48) - dT must be greater than 0 in a Ramp specification
E1306 - dV/dt_f Not Defined For Ramp Beginning on Line 47
E0188 -
    Model 'in': Pullup Reference Required when No Voltage Range is Specified
E0188 -
    Model 'in': Pulldown Reference Required when No Voltage Range is Specified
E0188 - Model 'in': POWER Clamp Reference Required when No Voltage Range is Specified
E0188 -
    Model 'in': GND Clamp Reference Required when No Voltage Range is Specified

Errors  : 20
Warnings: 4

File Failed
)"},
    // [Receiver Thresholds] lines, ends and the single-ended check.
    {"RowThresholds", "rows_thresholds.ibs", 1,
     R"(
Checking rows_thresholds.ibs for IBIS 5.0 Compatibility...

E0120 (line   29) - [Receiver Thresholds] should be specified immediately after all the subparameters of a model and before the other keywords of a model except [Model Spec]
E3232 (line   30) - Invalid Vth Line
E3231 (line   31) - Vth Already Defined For Receiver Threshold
E3232 (line   32) - Invalid Reference_supply Line
E3234 (line   33) - Unknown Reference_supply Vcc_ref specified
E3230 (line   39) - Unknown Line Among Receiver Threshold Data
E3205 - Model in Receiver Thresholds: Reference Supply must be specified when Threshold Sensitivity is specified
E0188 -
    Model 'in': Pullup Reference Required when No Voltage Range is Specified
E0188 -
    Model 'in': Pulldown Reference Required when No Voltage Range is Specified
E0188 - Model 'in': POWER Clamp Reference Required when No Voltage Range is Specified
E0188 -
    Model 'in': GND Clamp Reference Required when No Voltage Range is Specified
E0120 (line   50) - [Receiver Thresholds] should be specified immediately after all the subparameters of a model and before the other keywords of a model except [Model Spec]
E0120 (line   52) - [Receiver Thresholds] should be specified immediately after all the subparameters of a model and before the other keywords of a model except [Model Spec]
E3200 (line   52) - Receiver Threshold: Already Defined for this model
E0190 - Model 'io': Ramp Not Defined
E0197 - Model io: Receiver Thresholds use Pullup Reference which is not defined in this Model
W0201 - Model 'io': Vmeas timing test load parameter should be specified
W3220 - Model in Receiver Thresholds: Vinh_ac must be specified for single ended receivers

Errors  : 16
Warnings: 2

File Failed
)"},
};

class ModelOutput : public ::testing::TestWithParam<CheckerCase> {};

TEST_P(ModelOutput, WholeOutputAndStatus) { CheckCase(IBIS_FIXTURES, GetParam(), "-n -c "); }

INSTANTIATE_TEST_SUITE_P(Fixtures, ModelOutput, ::testing::ValuesIn(kModelCases), CaseName);

// Text after [End External Model] or [End Algorithmic Model] is a line error
// (its text names the source position, which is not compared); a second
// [External Model] is refused, and left open at [End] it gets 123.
TEST(ModelOutputLines, DataAfterSectionEnds)
{
    CheckerRun r = RunChecker(IBIS_FIXTURES, "-n mdl_after_end.ibs");
    EXPECT_NE(r.out.find("\nE0122 (line   13) - Should Not Be Here: IbisParser/mdl, "), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\nE0122 (line   16) - Should Not Be Here: IbisParser/mdl, "), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\nE0119 (line   17) - [External_Model] Already Defined For Model 'x'\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\nE0123 (line   18) - Expecting [End External Model]. Invalid Line, FATAL ERROR\n"),
              std::string::npos)
        << r.out;
    // The empty section is also seen by the file checks after the read.
    EXPECT_NE(r.out.find("\nE4615 - Empty [Algorithmic Model] defined for Model x\n"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\nE3951 - Required keyword 'Component' not found.\n"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\nErrors  : 6\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.status, 1);
}

// The codes printed since the last call, in order.
std::vector<std::string> Codes(LogCapture& log)
{
    std::vector<std::string> codes;
    std::string text = log.Take();
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (line.size() >= 5 && isupper((unsigned char)line[0]) && isdigit((unsigned char)line[1]))
            codes.push_back(line.substr(0, 5));
        at = end + 1;
    }
    return codes;
}

TEST(ExternalPorts, ReservedNames)
{
    const struct {
        const char* name;
        int analog;
        int digital;
    } cases[] = {
        {"A_puref", 1, 0}, {"A_pcref", 1, 0}, {"A_pdref", 1, 0}, {"A_gcref", 1, 0},
        {"A_signal", 1, 0}, {"A_extref", 1, 0}, {"A_gnd", 1, 0}, {"A_pos", 1, 0},
        {"A_neg", 1, 0}, {"A_signal_pos", 1, 0}, {"A_signal_neg", 1, 0}, {"D_drive", 0, 1},
        {"D_enable", 0, 1}, {"D_receive", 0, 1}, {"D_switch", 0, 1}, {"a_gnd", 0, 0},
        {"D_Drive", 0, 0}, {"END", 0, 0}, {"", 0, 0}, {"my_port", 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MDL_isReservedAnalogPort(c.name), c.analog) << c.name;
        EXPECT_EQ(MDL_isReservedDigitalPort(c.name), c.digital) << c.name;
    }
}

TEST(ModelTypes, NamesOfEveryCode)
{
    const char* const words[] = {nullptr,        nullptr,         "Input",          "Output",
                                 "I/O",          "3-state",       "Open_drain",     "I/O_open_drain",
                                 "Open_sink",    "I/O_open_sink", "Open_source",    "I/O_open_source",
                                 "Input_ECL",    "Output_ECL",    "I/O_ECL",        "Terminator",
                                 "Series",       "Series_switch", "3-state_ECL",    "I/O_diff",
                                 "Output_diff",  "3-state_diff",  "Input_diff",     nullptr};
    for (int code = 0; code <= 23; code++) {
        const char* name = "unset";
        MDL_FindTypeName(code, &name);
        if (words[code] == nullptr)
            EXPECT_EQ(name, nullptr) << code;
        else
            EXPECT_STREQ(name, words[code]) << code;
    }
}

class ModelList : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(MDL_New(&older_));
        ASSERT_TRUE(MDL_New(&newer_));
        strcpy(older_->name, "drv");
        older_->Model_type = MDL_OUTPUT;
        strcpy(newer_->name, "rcv");
        newer_->Model_type = MDL_INPUT;
        MDL_AddLink(older_, nullptr);
        MDL_AddLink(newer_, older_);
    }
    void TearDown() override { MDL_FreeList(newer_); }
    ModelRecord* older_ = nullptr;
    ModelRecord* newer_ = nullptr;
};

TEST_F(ModelList, LookUpsByExactName)
{
    EXPECT_EQ(newer_->singleEnded, 2);
    EXPECT_EQ(MDL_FindModel("drv", newer_), older_);
    EXPECT_EQ(MDL_FindModel("DRV", newer_), nullptr);
    EXPECT_EQ(older_->referenced, 0) << "a plain find marks nothing";
    int type = -1;
    EXPECT_EQ(MDL_GetType(newer_, "rcv", &type), 1);
    EXPECT_EQ(type, MDL_INPUT);
    type = -1;
    EXPECT_EQ(MDL_GetType(newer_, "none", &type), 0);
    EXPECT_EQ(type, -1);
    EXPECT_EQ(MDL_NameExists("Rcv", newer_), 0);
    EXPECT_EQ(newer_->referenced, 0);
    EXPECT_EQ(MDL_NameExists("drv", newer_), 1);
    EXPECT_EQ(older_->referenced, 1);
    EXPECT_EQ(newer_->referenced, 0);
}

TEST_F(ModelList, NullListMeansNoModels)
{
    int type = -1;
    EXPECT_EQ(MDL_NameExists("drv", nullptr), 0);
    EXPECT_EQ(MDL_FindModel("drv", nullptr), nullptr);
    EXPECT_EQ(MDL_GetType(nullptr, "drv", &type), 0);
    EXPECT_EQ(type, -1);
}

TEST_F(ModelList, ReferenceWarningOnceForTheNewestUnreferenced)
{
    LogCapture log;
    MDL_TestMdlReference(newer_);
    std::string text = log.Take();
    EXPECT_EQ(text.rfind("W0219 - Model rcv not referenced", 0), 0u) << text;
    EXPECT_EQ(text.find("W0219", 1), std::string::npos) << text;
    newer_->referenced = 1;
    older_->referenced = 1;
    MDL_TestMdlReference(newer_);
    EXPECT_EQ(log.Take(), "");
}

TEST_F(ModelList, AddSubmodelNamesWithoutSubmodels)
{
    AddSubmodelEntry* a = nullptr;
    AddSubmodelEntry* b = nullptr;
    ASSERT_TRUE(CMN_malloc((void**)&a, sizeof *a));
    ASSERT_TRUE(CMN_malloc((void**)&b, sizeof *b));
    strcpy(a->name, "hold");
    strcpy(b->name, "clamp");
    a->next = b;
    older_->AddSubmodel = a;
    LogCapture log;
    MDL_TestSubMdls(newer_, nullptr);
    EXPECT_EQ(log.Take(), "E0218 - Could not find definition for Submodel hold of Model drv\n"
                          "E0218 - Could not find definition for Submodel clamp of Model drv\n");
    MDL_TestSubMdlReferences(newer_, nullptr);
    EXPECT_EQ(log.Take(), "");
}

struct DelayCase {
    const char* text;
    int result;
    unsigned states[4];
    std::vector<std::string> codes;
};

TEST(Delays, ParseDlyOverLines)
{
    const DelayCase cases[] = {
        {"1n NA 2n NA", 1, {1, 2, 1, 2}, {}},
        {"1n NA NA 2n", 0, {1, 2, 2, 1}, {"E4505"}},
        {"NA 1n 2n NA", 0, {2, 1, 1, 2}, {"E4505"}},
        {"1n 1n 1n 1n", 1, {1, 1, 1, 1}, {}},
        {"NA NA NA 1n", 0, {2, 2, 2, 1}, {"E4504"}},
        {"1n", 0, {1, 0, 0, 0}, {"E4501", "E4504"}},
        {"1n 2n 3n", 0, {1, 1, 1, 0}, {"E4501", "E4505"}},
        {"", 0, {0, 0, 0, 0}, {"E4502", "E4504"}},
        {"-1n NA 1n NA", 1, {1, 2, 1, 2}, {"E4506"}},
        {"-1n -1n -1n -1n", 1, {1, 1, 1, 1}, {"E4506", "E4506", "E4506", "E4506"}},
        {"1n 1n 1n 1n 1n", 1, {1, 1, 1, 1}, {"E4502"}},
        {"x NA 1n NA", 0, {0, 2, 1, 2}, {"E1909"}},
    };
    LogCapture log;
    for (const DelayCase& c : cases) {
        DelaySet* d = nullptr;
        EXPECT_EQ(DLY_ParseDly(c.text, "m", &d), c.result) << c.text;
        ASSERT_NE(d, nullptr) << c.text;
        const DelayValue* v[4] = {&d->Rise_on_dly, &d->Rise_off_dly, &d->Fall_on_dly, &d->Fall_off_dly};
        for (int i = 0; i < 4; i++) EXPECT_EQ(v[i]->state, c.states[i]) << c.text << " column " << i;
        EXPECT_EQ(Codes(log), c.codes) << c.text;
        DLY_Free(d);
    }
}

TEST(Delays, OnlyTheFirstMissingColumnIsNamed)
{
    LogCapture log;
    DelaySet* d = nullptr;
    DLY_ParseDly("1n 2n", "stage", &d);
    std::string text = log.Take();
    EXPECT_NE(text.find("No Fall_on_dly Value Was Provided for stage\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("Fall_off_dly"), std::string::npos) << text;
    EXPECT_EQ(d->Rise_on_dly.value, 1e-9);
    DLY_Free(d);
}

// No current-record pointer outlives a read: after a pass whose last model
// was left open, the model module holds nothing of the freed container.
TEST(ModelState, NothingCurrentAfterAPass)
{
    PARSE_SuppressBanners(1);
    LogCapture log;
    ASSERT_TRUE(INIT());
    EXPECT_EQ(PARSE(IBIS_FIXTURES "/mdl_after_end.ibs", FILE_IBS), 1);
    EXPECT_EQ(gCurrentModel, nullptr);
    EXPECT_EQ(gCurrentKeyword, KW_NOT_KEY);
    EXPECT_EQ(gCurrentSeries, nullptr);
    EXPECT_EQ(gLastRiseFallParsed, nullptr);
    ModelRecord* models = nullptr;
    ASSERT_EQ(IBIS_GetMdls(gpIbis, &models), 1);
    EXPECT_STREQ(models->name, "x");
    EXPECT_NE(models->ExternalModel, nullptr);
    FINI();
    PARSE_SuppressBanners(0);
}

// The embedding entry that closes the current model as its section's end
// would: the line on standard output, the end-of-model rules, no current
// model afterwards.
TEST(ModelState, ExternFiniClosesTheCurrentModel)
{
    ModelRecord* m = nullptr;
    ASSERT_TRUE(MDL_New(&m));
    strcpy(m->name, "open");
    m->Model_type = MDL_TERMINATOR;
    gCurrentModel = m;
    LogCapture log;
    testing::internal::CaptureStdout();
    EXTERN_Fini();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "IN EXTERN FINI\n");
    std::string text = log.Take();
    EXPECT_EQ(text.rfind("E0181 - Model open: One of C_comp", 0), 0u) << text;
    EXPECT_NE(text.find("E0188 - Model 'open': POWER Clamp Reference Required"), std::string::npos) << text;
    EXPECT_EQ(gCurrentModel, nullptr);
    testing::internal::CaptureStdout();
    EXTERN_Fini();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(log.Take(), "");
    MDL_Free(m);
}

}  // namespace
