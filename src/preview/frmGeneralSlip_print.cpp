#include "preview/frmGeneralSlip.h"

namespace lumaris {

void frmGeneralSlip::FillPrinters() {}
void frmGeneralSlip::PrintSlipPage() {}
void frmGeneralSlip::cmdPrint_Click() {}
void frmGeneralSlip::imgUP_Click() {}
void frmGeneralSlip::imgDN_Click() {}
void frmGeneralSlip::txtNum_Change() {}
void frmGeneralSlip::cmbPrinters_Change() {}

} // namespace lumaris
