// Container stack and the read-and-check pass.
#include "ibis.h"

#include <stdlib.h>

#include "acdc.h"
#include "algmod.h"
#include "chk.h"
#include "cmn.h"
#include "cmpnt.h"
#include "ebdmdl.h"
#include "errlog.h"
#include "hdr.h"
#include "mdl.h"
#include "msel.h"
#include "nameidx.h"
#include "submdl.h"
#include "testdata.h"
#include "testload.h"
#include "parse.h"
#include "pkgmdl.h"

#define CMN_MODULE_PATH "IbisParser/ibis"

// Codes of this module's messages.
enum { IBIS_MSG_CREATE = 3950, IBIS_MSG_NO_COMPONENT = 3951 };

IBIS* gpIbis;

static void s_CountsNow(IBIS_PASS_COUNTS* c)
{
    c->bugs = gulBug_cnt;
    c->errors = gulError_cnt;
    c->warns = gulWarn_cnt;
    c->cautions = gulCaution_cnt;
}

int IBIS_New(void)
{
    IBIS* ibis = nullptr;
    if (!CMN_malloc((void**)&ibis, sizeof(IBIS))) {
        ERRLOG_ErrorNew(IBIS_MSG_CREATE);
        return 0;
    }
    s_CountsNow(&ibis->passStart);
    ibis->next = gpIbis;
    gpIbis = ibis;
    return 1;
}

int INIT(void) { return IBIS_New() != 0; }

int IBIS_GetIBIS(IBIS** out)
{
    CMN_ASSERT(out != nullptr);
    if (gpIbis == nullptr) return 0;
    *out = gpIbis;
    return 1;
}

IBIS_Names* IBIS_NamesOf(IBIS* ibis)
{
    CMN_ASSERT(ibis != nullptr);
    if (ibis->names == nullptr) ibis->names = new IBIS_Names;
    return ibis->names;
}

void IBIS_Free(IBIS* ibis)
{
    CMN_ASSERT(ibis != nullptr);
    if (gpIbis == ibis) {
        gpIbis = ibis->next;
    } else {
        for (IBIS* p = gpIbis; p != nullptr; p = p->next) {
            if (p->next == ibis) {
                p->next = ibis->next;
                break;
            }
        }
    }
    if (ibis->headers != nullptr) HDR_FreeList(ibis->headers);
    CMPNT_FreeList(ibis->components);
    if (ibis->models != nullptr) MDL_FreeList(ibis->models);
    delete ibis->names;
    PKGMDL_FreeList(ibis->packageModels);
    MSEL_FreeList(ibis->modelSelectors);
    EBDMDL_FreeList(ibis->boardDescriptions);
    SUBMDL_FreeList(ibis->submodels);
    TESTDATA_FreeList(ibis->testData);
    TESTLOAD_FreeList(ibis->testLoads);
    if (ibis->externalCircuits != nullptr) EXT_FreeList(ibis->externalCircuits);
    free(ibis);
}

// Totals of the messages counted since the pass began, nested passes
// included.
static void s_PassTotals(const IBIS_PASS_COUNTS* start)
{
    IBIS_PASS_COUNTS now;
    s_CountsNow(&now);
    ERRLOG_TotalsOf(now.bugs - start->bugs, now.errors - start->errors, now.warns - start->warns,
                    now.cautions - start->cautions);
}

int FINI(void)
{
    IBIS_PASS_COUNTS start = {0, 0, 0, 0};
    if (gpIbis != nullptr) {
        start = gpIbis->passStart;
        IBIS_Free(gpIbis);
    }
    s_PassTotals(&start);
    return 1;
}

static void s_TestPkgMdls(void)
{
    IBIS* ibis = nullptr;
    PackageModelRecord* pkgs = nullptr;
    if (IBIS_GetIBIS(&ibis) && IBIS_GetPkgMdls(ibis, &pkgs)) PKGMDL_TestList(pkgs);
}

void(TEST)(int fileType, int flag)
{
    if (fileType == FILE_IBS) {
        IBIS_Test();
    } else if (fileType == FILE_AMI) {
        AMI_Test();
    } else {
        // A lone package file gets the duplicate-name check of its models.
        if (fileType == FILE_PKG) s_TestPkgMdls();
        EBD_Test(flag);
    }
}

void EBD_Test(int flag)
{
    IBIS* ibis = nullptr;
    if (!IBIS_GetIBIS(&ibis)) return;
    BoardDescriptionRecord* boards = nullptr;
    if (IBIS_GetEbdMdls(ibis, &boards)) EBDMDL_TestList(boards, flag);
}

void IBIS_Test(void)
{
    IBIS* ibis = nullptr;
    if (!IBIS_GetIBIS(&ibis)) return;
    // Checks are added here by their modules, in this order: the model
    // checks (receiver thresholds, DC/AC, ranges, driver schedules,
    // algorithmic models), model selectors, components, package models,
    // test data and loads, submodels and the model references.
    ModelRecord* models = nullptr;
    int haveModels = IBIS_GetMdls(ibis, &models);
    if (haveModels) {
        RCVTH_Check(models);
        acdc_CheckAllModels(models);
        chk_CheckAllModels(models);
        DRVSH_Test(models);
        ALGMOD_SetModelView(MDL_AlgmodView());
        ALGMOD_Test(models);
    }
    ModelSelectorRecord* selectors = nullptr;
    if (IBIS_GetMsels(ibis, &selectors)) MSEL_TestList(selectors);
    ComponentRecord* components = nullptr;
    if (IBIS_GetCmpnts(ibis, &components)) {
        chk_CheckAllComponents(components);
        CMPNT_TestList(components, ibis->externalCircuits, ibis->models);
    } else
        ERRLOG_ErrorNew(IBIS_MSG_NO_COMPONENT);
    s_TestPkgMdls();
    TestDataRecord* testData = nullptr;
    if (IBIS_GetTestData(ibis, &testData)) TESTDATA_TestList(testData);
    TestLoadRecord* testLoads = nullptr;
    if (IBIS_GetTestLoad(ibis, &testLoads)) TESTLOAD_TestList(testLoads);
    SubmodelRecord* submodels = nullptr;
    if (IBIS_GetSubMdls(ibis, &submodels)) {
        MDL_TestSubMdlReferences(models, submodels);
        chk_CheckAllSubModels(submodels);
        acdc_CheckAllSubModels(models, submodels);
    }
    MDL_TestSubMdls(models, submodels);
    if (haveModels) MDL_TestMdlReference(models);
}

#define IBIS_GETTER(fn, type, field)            \
    int fn(IBIS* ibis, type** out)              \
    {                                           \
        CMN_ASSERT(ibis != nullptr && out != nullptr); \
        if (ibis->field == nullptr) return 0;   \
        *out = ibis->field;                     \
        return 1;                               \
    }

IBIS_GETTER(IBIS_GetHdrs, HeaderRecord, headers)
IBIS_GETTER(IBIS_GetCmpnts, ComponentRecord, components)
IBIS_GETTER(IBIS_GetExts, ExternalCircuitRecord, externalCircuits)
IBIS_GETTER(IBIS_GetMdls, ModelRecord, models)
IBIS_GETTER(IBIS_GetPkgMdls, PackageModelRecord, packageModels)
IBIS_GETTER(IBIS_GetEbdMdls, BoardDescriptionRecord, boardDescriptions)
IBIS_GETTER(IBIS_GetMsels, ModelSelectorRecord, modelSelectors)
IBIS_GETTER(IBIS_GetSubMdls, SubmodelRecord, submodels)
IBIS_GETTER(IBIS_GetTestData, TestDataRecord, testData)
IBIS_GETTER(IBIS_GetTestLoad, TestLoadRecord, testLoads)

// Each record is linked in front of its list through its module's link
// operation.
#define IBIS_ADDER(fn, type, link, field)          \
    void fn(IBIS* ibis, type* rec)                 \
    {                                              \
        CMN_ASSERT(ibis != nullptr && rec != nullptr); \
        link(rec, ibis->field);                    \
        ibis->field = rec;                         \
    }

IBIS_ADDER(IBIS_AddHdr, HeaderRecord, HDR_AddLink, headers)
IBIS_ADDER(IBIS_AddCmpnt, ComponentRecord, CMPNT_AddLink, components)
IBIS_ADDER(IBIS_AddExt, ExternalCircuitRecord, EXT_AddLink, externalCircuits)
IBIS_ADDER(IBIS_AddMdl, ModelRecord, MDL_AddLink, models)
IBIS_ADDER(IBIS_AddPkgMdl, PackageModelRecord, PKGMDL_AddLink, packageModels)
IBIS_ADDER(IBIS_AddEbdMdl, BoardDescriptionRecord, EBDMDL_AddLink, boardDescriptions)
IBIS_ADDER(IBIS_AddMsel, ModelSelectorRecord, MSEL_AddLink, modelSelectors)
IBIS_ADDER(IBIS_AddSubMdl, SubmodelRecord, SUBMDL_AddLink, submodels)
IBIS_ADDER(IBIS_AddTestData, TestDataRecord, TESTDATA_AddLink, testData)
IBIS_ADDER(IBIS_AddTestLoad, TestLoadRecord, TESTLOAD_AddLink, testLoads)

