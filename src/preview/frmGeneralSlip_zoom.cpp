#include "preview/frmGeneralSlip.h"

namespace lumaris {

void frmGeneralSlip::cmbZoom_Click() {}

} // namespace lumaris
