#include "app/long_work_gate.h"

void TLongWorkGate::Run(const std::string& what, const TLongWork& work) {
    if (!OnLongWork || FBusy) {
        work(nullptr);
        return;
    }
    struct TBusy {
        bool& Flag;
        ~TBusy() { Flag = false; }
    } busy{FBusy};
    FBusy = true;
    OnLongWork(what, work);
}
