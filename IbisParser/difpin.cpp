// [Diff Pin] rows: a pin, its inverting partner, vdiff and the typ/min/max
// delay between the two; the checks that both pins exist and that no pin
// serves two pairs.
#include "difpin.h"

#include <stdlib.h>
#include <string.h>

#include "cmn.h"
#include "errlog.h"
#include "rowlist.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#define CMN_MODULE_PATH "IbisParser/difpin"

static RowAppender<DiffPinRecord> s_appender(nullptr);

// "NA" is kept as state 2, so that a missing delay is never taken for 0.
static void s_Value(const char* token, const char* column, double* value, int* state)
{
    int isNA = 0;
    switch (CMN_Get_ValueOrNA(token, value, &isNA)) {
    case 0:
        ERRLOG_LineErrorNew(816, column);
        *value = 0;
        *state = 0;
        return;
    case 2:
        ERRLOG_LineWarnNew(817, column);
        *state = 1;
        return;
    default:
        *state = isNA ? 2 : 1;
        return;
    }
}

int DIFPIN_ParseLine(char* text, int headerColumns, DiffPinRecord** out)
{
    CMN_ASSERT(text != nullptr && out != nullptr);
    *out = nullptr;
    ARG_LIST args;
    DiffPinRecord* row = RowStart<DiffPinRecord>(text, 6, &args, {800});
    if (row == nullptr) return 0;
    char** tok = args.psArgs;
    int n = args.iCount;
    if (args.iTotal > 6) ERRLOG_LineErrorNew(801);
    if (n < 1) ERRLOG_LineErrorNew(802);
    else CMN_SetStr(row->pinName, tok[0], 5, "Diff_Pin column");
    if (n < 2) {
        ERRLOG_LineErrorNew(803);
    } else {
        CMN_SetStr(row->invPinName, tok[1], 5, "inv_pin column");
        if (strcmp(tok[0], tok[1]) == 0) ERRLOG_LineErrorNew(804);
    }
    if (n < 3) ERRLOG_LineErrorNew(805);
    if (n < 4) ERRLOG_LineErrorNew(806);
    static const char* const columns[4] = {"vdiff", "tdelay_typ", "tdelay_min", "tdelay_max"};
    double* values[4] = {&row->vdiff, &row->tdelay_typ, &row->tdelay_min, &row->tdelay_max};
    int* states[4] = {&row->vdiffState, &row->tdelay_typState, &row->tdelay_minState,
                      &row->tdelay_maxState};
    for (int i = 0; i < 4 && i + 2 < n; i++) s_Value(tok[i + 2], columns[i], values[i], states[i]);
    if (row->tdelay_typState == 1 && row->tdelay_minState == 1 && row->tdelay_maxState == 1) {
        double typ = row->tdelay_typ;
        if ((typ < row->tdelay_min && typ < row->tdelay_max) ||
            (typ > row->tdelay_min && typ > row->tdelay_max))
            ERRLOG_LineWarnNew(807);
    }
    row->columns = n;
    if (n != 4 && n != 6) ERRLOG_LineErrorNew(808);
    else if (n == 6 && headerColumns < 6) ERRLOG_LineErrorNew(809);
    CMN_ArgFree(&args);
    *out = row;
    return 1;
}

void DIFPIN_LinkDIFPIN(DiffPinRecord** head, DiffPinRecord* row)
{
    CMN_ASSERT(head != nullptr && row != nullptr);
    s_appender.Append(head, row);
}

// For pairs of rows, earlier a and later b, in that order: a's pin or
// inv_pin met again in b.  Only the first row that holds a name in a column
// is paired with the later ones, so that n rows sharing a name give n - 1
// messages rather than one per pair.  The rows that hold each name are
// indexed, so that only the pairs that share a name are visited.
static void s_TestPairs(DiffPinRecord* rows, const char* componentName)
{
    std::vector<DiffPinRecord*> all;
    std::unordered_map<std::string, std::vector<size_t>> asPin, asInv;
    for (DiffPinRecord* r = rows; r != nullptr; r = r->next) {
        asPin[r->pinName].push_back(all.size());
        asInv[r->invPinName].push_back(all.size());
        all.push_back(r);
    }
    for (size_t a = 0; a < all.size(); a++) {
        const DiffPinRecord* ra = all[a];
        // The checks in their order: a's pin against b's pin (812) and b's
        // inv_pin (813), a's inv_pin against b's pin (814) and b's inv_pin (815).
        const std::vector<size_t>* lists[4] = {&asPin[ra->pinName], &asInv[ra->pinName],
                                               &asPin[ra->invPinName], &asInv[ra->invPinName]};
        // a's own column for each check: its pin for 812 and 813, its
        // inv_pin for 814 and 815.
        const bool firstPin = asPin[ra->pinName].front() == a;
        const bool firstInv = asInv[ra->invPinName].front() == a;
        std::vector<std::pair<size_t, int>> hits;
        for (int k = 0; k < 4; k++) {
            if (!(k < 2 ? firstPin : firstInv)) continue;
            for (size_t b : *lists[k])
                if (b > a) hits.emplace_back(b, k);
        }
        std::sort(hits.begin(), hits.end());
        for (const auto& hit : hits) {
            switch (hit.second) {
            case 0: ERRLOG_WarnNew(812, componentName, ra->pinName); break;
            case 1: ERRLOG_ErrorNew(813, componentName, ra->pinName); break;
            case 2: ERRLOG_ErrorNew(814, componentName, ra->invPinName); break;
            default: ERRLOG_WarnNew(815, componentName, ra->invPinName); break;
            }
        }
    }
}

void DIFPIN_TestList(DiffPinRecord* rows, PinRecord* pins, const char* componentName)
{
    CMN_ASSERT(rows != nullptr && componentName != nullptr);
    if (pins != nullptr) {
        NameIndex<PinRecord> pinOf(pins, PIN_NameOf);
        for (DiffPinRecord* r = rows; r != nullptr; r = r->next) {
            if (pinOf.Find(r->pinName) == nullptr) ERRLOG_ErrorNew(810, componentName, r->pinName);
            if (pinOf.Find(r->invPinName) == nullptr)
                ERRLOG_ErrorNew(811, componentName, r->invPinName);
        }
    }
    s_TestPairs(rows, componentName);
}

void DIFPIN_FreeList(DiffPinRecord* rows) { s_appender.FreeList(rows); }
