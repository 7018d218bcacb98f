// Runs ibislint -n over the fixtures of model selectors, submodels, test
// data and test loads and compares its whole standard output and exit status
// with the text that the message rules give for each file.
#include <gtest/gtest.h>

#include "checker_run.h"

namespace {

const CheckerCase kCases[] = {
    // Correct files: nothing to report.
    {"CorrectSelector", "-n msel_ok.ibs", 1,
     R"(
Checking msel_ok.ibs for IBIS 4.2 Compatibility...

E3951 - Required keyword 'Component' not found.

Errors  : 1

File Failed
)"},
    {"CorrectSubmodelOfEachType", "-n submdl_ok.ibs", 1,
     R"(
Checking submdl_ok.ibs for IBIS 4.2 Compatibility...

E3951 - Required keyword 'Component' not found.

Errors  : 1

File Failed
)"},
    {"CorrectTestLoads", "-n tload_ok.ibs", 1,
     R"(
Checking tload_ok.ibs for IBIS 4.2 Compatibility...

E3951 - Required keyword 'Component' not found.

Errors  : 1

File Failed
)"},
    {"CorrectTestDataIntoATestLoad", "-n tdata_ok.ibs", 1,
     R"(
Checking tdata_ok.ibs for IBIS 4.2 Compatibility...

W1704 - [Model] drv has no description of the buffer's high state
         DC drive characteristics (no [Pullup] table).  This warning
         can be silenced by using an open drain Model_type or by
         adding a [Pullup] table.
W1705 - [Model] drv has no description of the buffer's low state DC
         drive characteristics (no [Pulldown] table).  This warning
         can be silenced by using an open source Model_type or by
         adding a [Pulldown] table.
E3951 - Required keyword 'Component' not found.

Errors  : 1
Warnings: 2

File Failed
)"},
    // Each sub-parameter rule, the end checks, and 2232 for every load of a file without models.
    {"TestLoadReadingAndEndChecks", "-n tload.ibs", 1,
     R"(
Checking tload.ibs for IBIS 4.2 Compatibility...

E2218 (line   15) - Invalid Test_load_type Line
E2218 (line   16) - Invalid C1_near Line
E2237 (line   17) - C1_near Already Defined For Test Load
E2219 (line   18) - Incorrect Number of Line Items (4) For Rs_near: Expecting 3
E2218 (line   19) - Invalid Ls_near Line
E2238 (line   20) - Invalid Ls_far Value ("lots")
E2214 (line   22) - Unknown Line Among Test Load
E2239 (line   23) - 'NA' Not Allowed For Typical Value
E2216 (line   24) - V_term1 Already Defined For Test Load 'lines'
E3901 (line   25) - No minimum Value Was Provided for V_term2
E3901 (line   25) - No maximum Value Was Provided for V_term2
E2217 (line   26) - 'Receiver_model' Subparameter Missing Setting
E2219 (line   27) -
    Incorrect Number of Line Items (3) For Receiver_model: Expecting 2
E2223 (line   28) - Invalid Receiver_model ("NA"); Reserved Word.
E2216 (line   29) - Receiver_model Already Defined For Test Load 'lines'
E2222 (line   30) - Receiver_model_inv Name Over 40 Characters Long
E2238 (line   31) - Invalid Zo Value ("NA")
W2230 - Test Load 'lines' : Receiver_model_inv specified for Test_load_type which is not Differential
E2224 - Test Load 'ends': Test_load_type Not Defined
E2225 - Test Load 'ends': If Td is specified then Zo must be specified also
E2226 - Test Load 'ends': V_term1 must be specified when Rp1_near or Rp1_far is specified
E2227 - Test Load 'ends': V_term2 must be specified when Rp2_near or Rp2_far is specified
W2228 - Test Load 'ends' : R_diff_near specified for Test_load_type which is not Differential
W2229 - Test Load 'ends' : R_diff_far specified for Test_load_type which is not Differential
W2230 - Test Load 'ends' : Receiver_model_inv specified for Test_load_type which is not Differential
E2212 (line   39) - TestLoad Name Previously Defined ("lines")
E2220 (line   40) -
    Invalid Test_load_type ("single_ended") (try "Single_ended")
E2221 (line   42) - Invalid Test_load_type ("Single_Ended_Bogus")
E2216 (line   43) - Test_load_type Already Defined For Test Load 'typo'
E2208 (line   44) - 'Test Load' Keyword Missing name
E2224 - Test Load '': Test_load_type Not Defined
E2209 (line   45) -
    Incorrect Number of Line Items (2) For Keyword Test Load: Expecting 1
E2224 - Test Load 'two': Test_load_type Not Defined
E2211 (line   46) - Invalid Test Load Name ("NC"); Reserved Word.
E0905 (line   47) - Exceeds 120 chararacters.
E2224 - Test Load 'NC': Test_load_type Not Defined
E2210 (line   47) - Test Load Name Over 109 Characters Long
E3951 - Required keyword 'Component' not found.
E2232 - Test Load '1234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789' references undefined models
E2232 - Test Load 'NC' references undefined models
E2232 - Test Load 'two' references undefined models
E2232 - Test Load '' references undefined models
E2232 - Test Load 'typo' references undefined models
E2232 - Test Load 'lines' references undefined models
E2232 - Test Load 'ends' references undefined models
E2232 - Test Load 'lines' references undefined models
E2232 - Test Load 'ok_se' references undefined models

Errors  : 43
Warnings: 4

File Failed
)"},
    // Receiver and driver models: missing, of the wrong type, not on a differential pin.
    {"TestLoadsAndTestDataNamingModels", "-n tdmdl.ibs", 1,
     R"(
Checking tdmdl.ibs for IBIS 4.2 Compatibility...

W1704 - [Model] out2 has no description of the buffer's high state
         DC drive characteristics (no [Pullup] table).  This warning
         can be silenced by using an open drain Model_type or by
         adding a [Pullup] table.
W1705 - [Model] out2 has no description of the buffer's low state DC
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
E3951 - Required keyword 'Component' not found.
E2340 -
    Driver_model_inv 'gone' in Test Data 'td_diff2' is not defined in the file
E2338 - Driver_model 'nodrv' in Test Data 'td_diff' is not defined in the file
W2339 - Driver_model 'rcv' in Test Data 'td_diff' is not an output type.
W2341 - Driver_model_inv 'rcv' in Test Data 'td_diff' is not associated with a Differential Pin.
W2339 - Driver_model 'term' in Test Data 'td_se' is not an output type.
W2234 - Driver_model 'out2' in Test Load 'tl_diff2' is not an input type.
W2236 - Receiverr_model_inv 'out2' in Test Load 'tl_diff2' is not associated with a Differential Pin.
E2233 -
    Receiver_model 'nothere' in Test Load 'tl_diff' is not defined in the file
E2235 -
    Receiver_model_inv 'gone' in Test Load 'tl_diff' is not defined in the file
W2234 - Driver_model 'out2' in Test Load 'tl_se' is not an input type.
W0219 - Model term not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 5
Warnings: 11

File Failed
)"},
    // Sub-parameters, golden waveforms, group checks and the test loads named.
    {"TestDataReadingGroupChecksAndLoads", "-n tdata.ibs", 1,
     R"(
Checking tdata.ibs for IBIS 4.2 Compatibility...

E2302 (line    5) - Orphan Test Data keyword.
E2303 (line    6) - Orphan data line keyword.
E2333 - Test Data 'td_diff_wave': Driver_model_inv can only be specified with Differential Test_data_type
E2304 (line   32) - [Rising Waveform Near] Already Defined
E2010 (line   33) - SubParameters are not allowed in Golden Waveforms
E2335 - Test Data 'td_diff_wave': Differential Rising/Falling Waveform can be specified only with Differential Test_data_type
E2326 (line   37) - Invalid Test_data_type Line
E2324 (line   38) - Test_data_type Already Defined For Test Data 'td_lines'
E2325 (line   39) - 'Driver_model' Subparameter Missing Setting
E2327 (line   40) -
    Incorrect Number of Line Items (3) For Driver_model: Expecting 2
E2330 (line   41) - Driver_model Name Over 40 Characters Long
E2324 (line   42) - Driver_model Already Defined For Test Data 'td_lines'
E2331 (line   43) - Invalid Test_load ("NC"); Reserved Word.
E2322 (line   44) - Unknown Line Among Test Data
E2334 - Test Data 'td_lines': At least one Rising/Falling Waveform must be specified
E2332 - Test Data 'td_none': Test_data_type Not Defined
E2332 - Test Data 'td_none': Driver_model Not Defined
E2332 - Test Data 'td_none': Test_load Not Defined
E2334 -
    Test Data 'td_none': At least one Rising/Falling Waveform must be specified
E2328 (line   47) -
    Invalid Test_data_type ("single_ended") (try "Single_ended")
E2329 (line   54) - Invalid Test_data_type ("Bogus")
E2320 (line   60) - TestData Name Previously Defined ("td_ok")
E2316 (line   67) - 'Test Data' Keyword Missing name
E2332 - Test Data '': Test_data_type Not Defined
E2332 - Test Data '': Driver_model Not Defined
E2332 - Test Data '': Test_load Not Defined
E2334 - Test Data '': At least one Rising/Falling Waveform must be specified
E2317 (line   68) -
    Incorrect Number of Line Items (2) For Keyword Test Data: Expecting 1
E2332 - Test Data 'a': Test_data_type Not Defined
E2332 - Test Data 'a': Driver_model Not Defined
E2332 - Test Data 'a': Test_load Not Defined
E2334 - Test Data 'a': At least one Rising/Falling Waveform must be specified
E2319 (line   69) - Invalid Test Data Name ("NA"); Reserved Word.
E0905 (line   70) - Exceeds 120 chararacters.
E2332 - Test Data 'NA': Test_data_type Not Defined
E2332 - Test Data 'NA': Driver_model Not Defined
E2332 - Test Data 'NA': Test_load Not Defined
E2334 - Test Data 'NA': At least one Rising/Falling Waveform must be specified
E2318 (line   70) - Test Data Name Over 109 Characters Long
E2332 - Test Data '1234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789': Test_data_type Not Defined
E2332 - Test Data '1234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789': Driver_model Not Defined
E2332 - Test Data '1234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789': Test_load Not Defined
E2334 - Test Data '1234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789': At least one Rising/Falling Waveform must be specified
E3951 - Required keyword 'Component' not found.
E2337 - Test Data '1234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789' references undefined models
E2337 - Test Data 'NA' references undefined models
E2337 - Test Data 'a' references undefined models
E2337 - Test Data '' references undefined models
E2337 - Test Data 'td_ok' references undefined models
E2344 - Test_data_type in Test Data 'td_ok' is not the same as Test_load_type in referenced Test Load 'se_load'
E2337 - Test Data 'td_typ2' references undefined models
E2344 - Test_data_type in Test Data 'td_typ2' is not the same as Test_load_type in referenced Test Load 'se_load'
E2337 - Test Data 'td_types' references undefined models
E2343 - Test Load 'nowhere' referenced in Test Data 'td_types' is not defined in the file
E2337 - Test Data 'td_none' references undefined models
E2337 - Test Data 'td_lines' references undefined models
E2343 - Test Load 'NC' referenced in Test Data 'td_lines' is not defined in the file
E2337 - Test Data 'td_diff_wave' references undefined models
E2344 - Test_data_type in Test Data 'td_diff_wave' is not the same as Test_load_type in referenced Test Load 'diff_load'
E2337 - Test Data 'td_ok' references undefined models
E2232 - Test Load 'diff_load' references undefined models
E2232 - Test Load 'se_load' references undefined models

Errors  : 62

File Failed
)"},
    {"EverySecondGoldenWaveformReplacesTheFirst", "-n tdtwice.ibs", 1,
     R"(
Checking tdtwice.ibs for IBIS 4.2 Compatibility...

E2304 (line   15) - [Rising Waveform Near] Already Defined
E2306 (line   21) - [Rising Waveform Far] Already Defined
E2305 (line   27) - [Falling Waveform Near] Already Defined
E2307 (line   33) - [Falling Waveform Far] Already Defined
E2308 (line   39) - [Diff Rising Waveform Near] Already Defined
E2310 (line   45) - [Diff Rising Waveform Far] Already Defined
E2309 (line   51) - [Diff Falling Waveform Near] Already Defined
E2311 (line   57) - [Diff Falling Waveform Far] Already Defined
E3951 - Required keyword 'Component' not found.
E2337 - Test Data 'twice' references undefined models
E2232 - Test Load 'diff_load' references undefined models

Errors  : 11

File Failed
)"},
    // Entry and name rules; without [Model] every entry is undefined, and the check goes on.
    {"SelectorsWithoutModels", "-n msel.ibs", 1,
     R"(
Checking msel.ibs for IBIS 4.2 Compatibility...

E4011 (line    7) -
    Incorrect Number of Line Items (1) For Keyword Model Selector: Expecting 2
E4025 (line    8) - Model 'io_fast'. already used in this Model Selector
E4014 (line    9) - Model Selector Name Previously Defined ("sel_a")
E4018 (line   10) - Invalid Model Name ("NA")
E4019 (line   11) - Model Descriptor string '1234567890123456789012345678901234567890123456789012345678901234567890ABCDE' is too long, truncating to 70 characters.
E4010 (line   12) - 'Model Selector' Keyword Missing name
E4005 - Model Selector: '' has no models defined
E4011 (line   13) -
    Incorrect Number of Line Items (2) For Keyword Model Selector: Expecting 1
W4006 - Model Selector: 'one' has only one model defined
E4013 (line   15) - Invalid Model SelectorName ("GND"); Reserved Word.
E4005 - Model Selector: 'GND' has no models defined
E0905 (line   17) - Exceeds 120 chararacters.
E4017 (line   17) - Model Name Over 40 Characters Long
E4019 (line   17) - Model Descriptor string 'descriptor of forty-five characters, cut at 40' is too long, truncating to 40 characters.
E4011 (line   18) -
    Incorrect Number of Line Items (1) For Keyword Model Selector: Expecting 2
E4012 (line   19) - Model Selector Name Over 40 Characters Long
E4024 - Model 'm1' in Model Selector 'abcdefghijabcdefghijabcdefghijabcdefghij' is not defined in the file
E4024 - Model 'm2' in Model Selector 'abcdefghijabcdefghijabcdefghijabcdefghij' is not defined in the file
E4024 - Model 'abcdefghijabcdefghijabcdefghijabcdefghij' in Model Selector 'long' is not defined in the file
E4024 - Model 'io_fast' in Model Selector 'long' is not defined in the file
E4024 - Model 'only_model' in Model Selector 'one' is not defined in the file
E4024 - Model 'ten_chars_' in Model Selector 'sel_a' is not defined in the file
E4024 - Model 'io_fast' in Model Selector 'sel_a' is not defined in the file
E4024 - Model 'io_slow' in Model Selector 'sel_a' is not defined in the file
E4024 - Model 'io_fast' in Model Selector 'sel_a' is not defined in the file
E3951 - Required keyword 'Component' not found.

Errors  : 25
Warnings: 1

File Failed
)"},
    {"SelectorsNamingModels", "-n mselmdl.ibs", 1,
     R"(
Checking mselmdl.ibs for IBIS 4.2 Compatibility...

E4011 (line   12) -
    Incorrect Number of Line Items (1) For Keyword Model Selector: Expecting 2
E4021 - 'in_a' is the name of a Model and a Model Selector
E4024 - Model 'missing' in Model Selector 'io_sel' is not defined in the file
E3951 - Required keyword 'Component' not found.
W0219 - Model unused not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 4
Warnings: 1

File Failed
)"},
    {"SubmodelNamesTypesRulesAndTriggers", "-n submdl.ibs", 1,
     R"(
Checking submdl.ibs for IBIS 4.2 Compatibility...

E2402 (line    5) - Orphan Sub Model keyword.
E2403 (line    6) - Orphan data line keyword.
E2406 (line   52) -
    [Submodel Spec] should be specified before other keywords for a model
E2425 - Submodel hold_bad: [Submodel Spec] V_trigger_r is required when Submodel_type is Bus_hold
E2426 - Submodel hold_bad: [Submodel Spec] V_trigger_f is required when Submodel_type is Bus_hold
E2427 - SubModel hold_bad: Both Pullup and Pulldown cannot be specified when Off_delay is specified.
E2428 - Submodel hold_bad: [Ramp] is required when Submodel_type is Bus_hold
E2704 (line   59) -
    Incorrect Number of Line Items (2) For Submodel Spec: Expecting 1
E2706 (line   60) - Unknown Line Among Sub Model Spec Data
E2708 (line   61) - 'NA' not allowed for Typical value
E2707 (line   62) - V_trigger_r Already Defined For Submodel 'spec_bad'
E3901 (line   63) - No minimum Value Was Provided for Off_delay
E3901 (line   63) - No maximum Value Was Provided for Off_delay
E2700 (line   64) - Sub Model Specification: Already Defined for this sub model
E2705 - Submodel spec_bad: Empty Submodel Spec
E2405 (line   69) - [POWER Pulse Table] Already Defined
E2404 (line   77) - [GND Pulse Table] Already Defined
E2430 - Submodel spec_bad: [Submodel Spec] V_trigger_f is required when GND_Pulse is specified
E2431 - Submodel spec_bad: [Submodel Spec] V_trigger_r is required when POWER_Pulse is specified
E2432 - Submodel dyn_empty: GND Pulse Table or POWER Pulse Table or GND Clamp or POWER Clamp is required when Submodel_type is Dynamic_clamp
E2433 - Submodel dyn_empty: [Submodel Spec] Off_delay  cannot be specified with Dynamic_clamp submodels
E2434 - Submodel fb_none: [Submodel Spec] is required when Submodel_type is Fall_back
E2437 - Submodel fb_none: Either [Pullup] or [Pulldown] is required when Submodel_type is Fall_back
E2439 - Submodel fb_none: [Ramp] is required when Submodel_type is Fall_back
E2435 - Submodel fb_both: [Submodel Spec] V_trigger_r is required when Submodel_type is Fall_back
E2436 - Submodel fb_both: [Submodel Spec] V_trigger_f is required when Submodel_type is Fall_back
E2438 - Submodel fb_both: Pullup and Pulldown  cannot both be specified with Fall_back submodels
E2439 - Submodel fb_both: [Ramp] is required when Submodel_type is Fall_back
E2440 - Submodel fb_both: [Submodel Spec] Off_delay  cannot be specified with Fall_back submodels
W2441 -
    Submodel trig: V_trigger_r (Typ) is less than the start of Rising Waveform
W2441 -
    Submodel trig: V_trigger_r (Max) is less than the start of Rising Waveform
W2442 -
    Submodel trig: V_trigger_r (Typ) is greater than the end of Rising Waveform
W2442 -
    Submodel trig: V_trigger_r (Min) is greater than the end of Rising Waveform
W2442 -
    Submodel trig: V_trigger_r (Max) is greater than the end of Rising Waveform
W2443 - Submodel trig: V_trigger_f (Typ) is greater than the start of Falling Waveform
W2443 - Submodel trig: V_trigger_f (Min) is greater than the start of Falling Waveform
W2443 - Submodel trig: V_trigger_f (Max) is greater than the start of Falling Waveform
W2444 -
    Submodel trig: V_trigger_f (Typ) is less than the end of Falling Waveform
W2444 -
    Submodel trig: V_trigger_f (Max) is less than the end of Falling Waveform
E2412 (line  118) - Sub Model Name Over 20 Characters Long
E2421 (line  119) -
    Invalid Submodel_type ("dynamic_clamp") (try "Dynamic_clamp")
E2417 (line  120) -
    Submodel_type Already Defined For Submodel 'name_is_twenty_one_c'
E2416 (line  121) - Unknown Line Among Sub Model Data
E2414 (line  122) - SubModel Name Previously Defined ("dyn_ok")
E2419 (line  123) - Invalid Submodel_type Line
E2423 - Submodel 'no_type': Submodel_type Not Defined
E2413 (line  125) - Invalid Sub Model Name ("NA"); Reserved Word.
E2418 (line  126) - 'Submodel_type' Subparameter Missing Setting
E2411 (line  127) -
    Incorrect Number of Line Items (2) For Keyword Sub Model: Expecting 1
E2420 (line  128) -
    Incorrect Number of Line Items (3) For Submodel_type: Expecting 2
E2417 (line  129) - Submodel_type Already Defined For Submodel 'x'
E2410 (line  130) - 'Sub Model' Keyword Missing name
E2423 - Submodel '': Submodel_type Not Defined
E2424 - Submodel hold_none: [Submodel Spec] is required when Submodel_type is Bus_hold
E2428 - Submodel hold_none: [Ramp] is required when Submodel_type is Bus_hold
E2429 - Submodel hold_none: Either [Pullup] or [Pulldown] is required when Submodel_type is Bus_hold
E3951 - Required keyword 'Component' not found.
W0220 -
    Submodel hold_none is not referenced by any model [Add Submodel] keyword
W0220 - Submodel  is not referenced by any model [Add Submodel] keyword
W0220 - Submodel x is not referenced by any model [Add Submodel] keyword
W0220 - Submodel NA is not referenced by any model [Add Submodel] keyword
W0220 -
    Submodel no_type is not referenced by any model [Add Submodel] keyword
W0220 - Submodel dyn_ok is not referenced by any model [Add Submodel] keyword
W0220 - Submodel name_is_twenty_one_c is not referenced by any model [Add Submodel] keyword
W0220 - Submodel trig is not referenced by any model [Add Submodel] keyword
W0220 -
    Submodel fb_both is not referenced by any model [Add Submodel] keyword
W0220 -
    Submodel fb_none is not referenced by any model [Add Submodel] keyword
W0220 -
    Submodel dyn_empty is not referenced by any model [Add Submodel] keyword
W0220 -
    Submodel spec_bad is not referenced by any model [Add Submodel] keyword
W0220 -
    Submodel hold_bad is not referenced by any model [Add Submodel] keyword
W0220 -
    Submodel hold_ok is not referenced by any model [Add Submodel] keyword
W0220 - Submodel dyn_ok is not referenced by any model [Add Submodel] keyword

Errors  : 47
Warnings: 25

File Failed
)"},
    {"FallBackIsNoTypeBeforeVersion4", "-n submdl32.ibs", 1,
     R"(
Checking submdl32.ibs for IBIS 3.2 Compatibility...

E2422 (line    6) - Invalid Submodel_type ("Fall_back")
E3951 - Required keyword 'Component' not found.
W0220 - Submodel fb is not referenced by any model [Add Submodel] keyword

Errors  : 2
Warnings: 1

File Failed
)"},
    {"AddSubmodelAgainstSubmodels", "-n submdlref.ibs", 1,
     R"(
Checking submdlref.ibs for IBIS 4.2 Compatibility...

E3951 - Required keyword 'Component' not found.
W0220 - Submodel spare is not referenced by any model [Add Submodel] keyword
E0218 - Could not find definition for Submodel nosub of Model in_a

Errors  : 2
Warnings: 1

File Failed
)"},
};

class KeywordGroupOutput : public ::testing::TestWithParam<CheckerCase> {};

TEST_P(KeywordGroupOutput, WholeOutputAndStatus)
{
    const CheckerCase& c = GetParam();
    CheckerRun r = RunChecker(IBIS_FIXTURES, c.args);
    EXPECT_EQ(r.out, c.expected);
    EXPECT_EQ(r.status, c.status);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, KeywordGroupOutput, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<CheckerCase>& i) { return i.param.name; });

} // namespace
