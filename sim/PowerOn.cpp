#include "sim/PowerOn.h"

#include "app/MainTask.h"
#include "comm/DIS.h"
#include "comm/DIS_Link.h"
#include "comm/UART.h"
#include "core/BKL.h"
#include "core/DTM.h"
#include "core/KEY.h"
#include "core/SM.h"
#include "data/DAT.h"
#include "data/FLS.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "hal/HAL.h"
#include "screens/base/BAP.h"
#include "screens/base/BEE.h"
#include "screens/base/BFA.h"
#include "screens/base/BFH.h"
#include "screens/base/BGA.h"
#include "screens/base/BGM.h"
#include "screens/base/BHA.h"
#include "screens/base/BLA.h"
#include "screens/base/BMA.h"
#include "screens/base/BMM.h"
#include "screens/base/BRA.h"
#include "screens/base/BSD.h"
#include "screens/base/BWD.h"
#include "screens/base/PLH.h"
#include "screens/common/ML.h"
#include "screens/common/VD.h"
#include "screens/service/BAT.h"
#include "screens/service/BBF.h"
#include "screens/service/BCP.h"
#include "screens/service/BCPM.h"
#include "screens/service/BDA1.h"
#include "screens/service/BDA2.h"
#include "screens/service/BDAA.h"
#include "screens/service/BDAK.h"
#include "screens/service/BDAS.h"
#include "screens/service/BDAW.h"
#include "screens/service/BDM.h"
#include "screens/service/BEG.h"
#include "screens/service/BGZ.h"
#include "screens/service/BHE.h"
#include "screens/service/BHQ.h"
#include "screens/service/BIA.h"
#include "screens/service/BIF.h"
#include "screens/service/BMG.h"
#include "screens/service/BMH.h"
#include "screens/service/BMNT.h"
#include "screens/service/BSPM.h"
#include "screens/service/BSVM.h"
#include "screens/service/BTC.h"
#include "screens/service/BTR.h"
#include "screens/service/BZA.h"
#include "screens/service/DL.h"
#include "screens/user/BBA.h"
#include "screens/user/BBHK.h"
#include "screens/user/BEH.h"
#include "screens/user/BEI1.h"
#include "screens/user/BEI2.h"
#include "screens/user/BEIA.h"
#include "screens/user/BEID.h"
#include "screens/user/BEIM.h"
#include "screens/user/BEIS.h"
#include "screens/user/BEIW.h"
#include "screens/user/BEK.h"
#include "screens/user/BEM.h"
#include "screens/user/BES.h"
#include "screens/user/BFP.h"
#include "screens/user/BHKG.h"
#include "screens/user/BHKH.h"
#include "screens/user/BHKM.h"
#include "screens/user/BHKW.h"
#include "screens/user/BHM.h"
#include "screens/user/BIM.h"
#include "screens/user/BPB.h"
#include "screens/user/BRT.h"
#include "screens/user/BSE.h"
#include "screens/user/BSP.h"
#include "screens/user/BTE.h"
#include "screens/user/BUD.h"
#include "screens/user/BWW.h"
#include "screens/user/BWWM.h"
#include "screens/user/HK.h"
#include "screens/user/TP.h"

// Every module that keeps static data has its PowerOn here; a new one joins
// the list (CTest poweron.every_module_listed checks it).
void SIM_PowerOn()
{
    HAL_PowerOn();
    MAIN_PowerOn();
    SM_PowerOn();
    BKL_PowerOn();
    KEY_PowerOn();
    DTM_PowerOn();
    UART_PowerOn();
    DIS_PowerOn();
    DIS_LinkPowerOn();
    FLS_PowerOn();
    DAT_PowerOn();
    TXT_PowerOn();
    GUI_PowerOn();
    LCD_PowerOn();
    BEE_PowerOn();
    BFA_PowerOn();
    BFH_PowerOn();
    BGA_PowerOn();
    BGM_PowerOn();
    BHA_PowerOn();
    BLA_PowerOn();
    BMA_PowerOn();
    BMM_PowerOn();
    BRA_PowerOn();
    BSD_PowerOn();
    BWD_PowerOn();
    PLH_PowerOn();
    ML_PowerOn();
    VD_PowerOn();
    BIA_PowerOn();
    BAT_PowerOn();
    BCP_PowerOn();
    BCPM_PowerOn();
    BIF_PowerOn();
    BAP_PowerOn();
    BBF_PowerOn();
    BEG_PowerOn();
    BMG_PowerOn();
    BMH_PowerOn();
    BSPM_PowerOn();
    BSVM_PowerOn();
    BTC_PowerOn();
    BGZ_PowerOn();
    BEID_PowerOn();
    BDA1_PowerOn();
    BDA2_PowerOn();
    BDAA_PowerOn();
    BDAK_PowerOn();
    BDAW_PowerOn();
    BTR_PowerOn();
    BDAS_PowerOn();
    BDM_PowerOn();
    DL_PowerOn();
    BEI1_PowerOn();
    BEI2_PowerOn();
    BEIA_PowerOn();
    BEIW_PowerOn();
    BEIS_PowerOn();
    BEIM_PowerOn();
    BHQ_PowerOn();
    BHE_PowerOn();
    BZA_PowerOn();
    BMNT_PowerOn();
    BEH_PowerOn();
    BEK_PowerOn();
    BEM_PowerOn();
    BES_PowerOn();
    BUD_PowerOn();
    BBA_PowerOn();
    BHKG_PowerOn();
    BHKH_PowerOn();
    BHKM_PowerOn();
    BBHK_PowerOn();
    BIM_PowerOn();
    BSE_PowerOn();
    BHKW_PowerOn();
    BHM_PowerOn();
    BPB_PowerOn();
    BRT_PowerOn();
    BSP_PowerOn();
    BTE_PowerOn();
    BWW_PowerOn();
    BWWM_PowerOn();
    HK_PowerOn();
    TP_PowerOn();
    BFP_PowerOn();
}
