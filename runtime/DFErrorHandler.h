// Static message sink of the blocks. Every post goes to standard error as the
// text and a newline, flushed at once; the host never sees these texts.
#pragma once

namespace Quenrix {

class DFModel;

class DFErrorHandler {
public:
    static void PostError(DFModel* pModel, const char* pText);
    static void PostWarning(DFModel* pModel, const char* pText);
    static void PostInfo(DFModel* pModel, const char* pText);
    static void PostLog(DFModel* pModel, const char* pText);
    static void PostProgress(DFModel* pModel, const char* pText);
    static void ClearProgress(DFModel* pModel);
    static bool StopRequested();

private:
    DFErrorHandler() = delete;
};

} // namespace Quenrix
