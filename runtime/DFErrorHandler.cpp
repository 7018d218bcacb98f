#include "DFErrorHandler.h"

#include <iostream>

namespace Quenrix {

namespace {
// A null text prints an empty line rather than handing null to the stream.
void Emit(const char* pText)
{
    std::cerr << (pText ? pText : "") << std::endl;
}
} // namespace

void DFErrorHandler::PostError(DFModel*, const char* pText) { Emit(pText); }
void DFErrorHandler::PostWarning(DFModel*, const char* pText) { Emit(pText); }
void DFErrorHandler::PostInfo(DFModel*, const char* pText) { Emit(pText); }
void DFErrorHandler::PostLog(DFModel*, const char* pText) { Emit(pText); }
void DFErrorHandler::PostProgress(DFModel*, const char* pText) { Emit(pText); }
void DFErrorHandler::ClearProgress(DFModel*) {}
bool DFErrorHandler::StopRequested() { return false; }

} // namespace Quenrix
