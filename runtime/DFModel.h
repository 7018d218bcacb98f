// Base of every block and generated model: a fixed lifecycle of Setup,
// Initialize, Run (once per sample) and Finalize, each returning success.
#pragma once

namespace Quenrix {

class DFModel {
public:
    virtual bool Setup() { return true; }
    virtual bool Initialize() { return true; }
    virtual bool Run() { return true; }
    virtual bool Finalize() { return true; }
    virtual bool UpdateDynamicParameters() { return true; }
    virtual ~DFModel() {}
};

} // namespace Quenrix
