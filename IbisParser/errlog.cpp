#include "errlog.h"

#include "parse.h"

#include <stdarg.h>
#include <string.h>

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
    /* pkgmdl */
    {3400, "%s:%d:PKGMDL_Init unable to get IBIS?"},
    {3401, "Orphan Package Model keyword."},
    {3402, "Orphan Data Line."},
    {3403, "%s:%d:Illegal keyword."},
    {3404, "Orphan Data line."},
    {3405, "%s:%d:Illegal line type received."},
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
    /* rng */
    {3900, "Unable to Parse %s: %s %d"},
    {3901, "No %s Value Was Provided for %s"},
    {3902, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {3903, "Typ value is not in between Min and Max "},
    {3904, "Unable to Allocate Memory: %s %d"},
    /* ibis (its two codes follow those of rng in the shared block) */
    {3950, "Unable to create IBIS."},
    {3951, "Required keyword 'Component' not found."},
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

/* Prints one formatted message; numbered adds the severity letter and code. */
void s_Print(int severity, int numbered, int code, const char* text)
{
    const SeverityForm& form = kForms[severity];
    if (!numbered && form.sWord == NULL)
        return;
    FILE* out = s_Stream();
    int len = (int)strlen(text);
    const char* sep = (len >= form.iWrapMin && len <= form.iWrapMax) ? " -\n    " : " - ";
    if (numbered)
        fprintf(out, "%c%04d", form.cLetter, code);
    else
        fputs(form.sWord, out);
    if (form.bLine)
        fprintf(out, " (line %*lu)", 4, PARSE_GetLineNum());
    fprintf(out, "%s%s\n", sep, text);
}

void s_Format(char* buffer, const char* format, va_list args)
{
    /* vsnprintf cuts a text longer than the buffer and always terminates. */
    if (vsnprintf(buffer, ERRLOG_MESSAGE_SIZE, format, args) < 0)
        buffer[0] = '\0';
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

void ERRLOG_Totals(void)
{
    FILE* out = s_Stream();
    if (gulBug_cnt || gulError_cnt || gulWarn_cnt) {
        fputs("\n", out);
        if (gulBug_cnt)
            fprintf(out, "Bugs    : %lu\n", gulBug_cnt);
        fprintf(out, "Errors  : %lu\n", gulError_cnt);
    } else {
        fprintf(out, "Errors  : %lu\n", 0ul);
    }
    if (gulWarn_cnt)
        fprintf(out, "Warnings: %lu\n", gulWarn_cnt);
    if (gulCaution_cnt)
        fprintf(out, "Cautions: %lu\n", gulCaution_cnt);
    fprintf(out, "\nFile %s\n", (gulBug_cnt || gulError_cnt) ? "Failed" : "Passed");
}

} /* extern "C" */
