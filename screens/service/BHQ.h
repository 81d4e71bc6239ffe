// Hardware quality check: the factory tester's protocol on the test serial
// port, entered by the byte 0x05 in the first 3 s of a start.
#pragma once

#include "core/SM.h"

SM_State BHQ_HardwareQualityCheck(SM_Hsm* me, const SM_Event* e);
SM_State BHQ_WaitingForCommand(SM_Hsm* me, const SM_Event* e);
SM_State BHQ_HWQCStop(SM_Hsm* me, const SM_Event* e);
SM_State BHQ_HWQCTestStart(SM_Hsm* me, const SM_Event* e);
SM_State BHQ_WriteLCDCache(SM_Hsm* me, const SM_Event* e);
SM_State BHQ_WriteLCDCacheAcknowledge(SM_Hsm* me, const SM_Event* e);
SM_State BHQ_ReadLCDCache(SM_Hsm* me, const SM_Event* e);
SM_State BHQ_InvokeReadLCDCache(SM_Hsm* me, const SM_Event* e);
SM_State BHQ_SpecialFunctions(SM_Hsm* me, const SM_Event* e);
SM_State BHQ_ServeSpecialFunctions(SM_Hsm* me, const SM_Event* e);
SM_State BHQ_WriteVirtual(SM_Hsm* me, const SM_Event* e);
SM_State BHQ_WriteVirtualAcknowledge(SM_Hsm* me, const SM_Event* e);
SM_State BHQ_ReadVirtual(SM_Hsm* me, const SM_Event* e);
SM_State BHQ_InvokeReadVirtual(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BHQ_PowerOn();
